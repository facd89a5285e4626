#pragma once
// Without a session bus one running player is found through a local socket in the user's
// runtime folder ($XDG_RUNTIME_DIR/io.github.vorn.Vorn) instead of the bus name. A second
// start sends its paths (handToLocalInstance); the listening player plays them and comes
// to the front, as over the bus. Without a runtime folder every start runs on its own.
#include <QObject>

#include <string>
#include <vector>

class MediaRemote;
class QLocalServer;

class LocalInstance : public QObject {
    Q_OBJECT
  public:
    explicit LocalInstance(MediaRemote& remote);
    ~LocalInstance() override;

    // Listens on the socket, replacing one no player answers on; false when there is no
    // runtime folder or the socket can't be made.
    bool listen();

  private:
    void serve();

    MediaRemote& remote_;
    QLocalServer* server_ = nullptr;  // child of this object
};

// Hands `paths` (absolute, as bytes; none: only raise) to the player listening on the
// socket. True when it took them.
bool handToLocalInstance(const std::vector<std::string>& paths);
