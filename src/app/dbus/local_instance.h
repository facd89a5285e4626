#pragma once
// Without a session bus one running player is found through a local socket in the user's
// runtime folder ($XDG_RUNTIME_DIR/io.github.vorn.Vorn) instead of the bus name. A second
// start sends its paths (handToLocalInstance); the listening player plays them and comes
// to the front, as over the bus. Without a runtime folder of the user's own every start
// runs on its own.
//
// The listener is ours rather than QLocalServer's, which closes for good (and removes the
// socket) when accept() fails for lack of descriptors. One client costs little: a few
// connections at a time, each closed when idle or when its message grows too large.
#include <QObject>

#include <string>
#include <vector>

class MediaRemote;
class QLocalSocket;
class QSocketNotifier;

class LocalInstance : public QObject {
    Q_OBJECT
  public:
    static constexpr int kMaxConnections = 8;
    static constexpr int kIdleTimeoutMs = 5000;

    explicit LocalInstance(MediaRemote& remote);
    ~LocalInstance() override;

    // Listens on the socket, replacing one no player answers on; false when there is no
    // runtime folder of the user's own or the socket can't be made.
    bool listen();

  private:
    void acceptPending();
    // Out of descriptors: the spare one makes room to take one waiting connection and
    // close it, so the listener neither spins nor closes.
    bool dropOneConnection();
    void serve(QLocalSocket* socket);

    MediaRemote& remote_;
    QString path_;
    int listenFd_ = -1;
    int spareFd_ = -1;
    QSocketNotifier* notifier_ = nullptr;  // child of this object
};

// Hands `paths` (absolute, as bytes; none: only raise) to the player listening on the
// socket. True when it took them.
bool handToLocalInstance(const std::vector<std::string>& paths);
