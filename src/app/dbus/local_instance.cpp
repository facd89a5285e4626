#include "app/dbus/local_instance.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <QDataStream>
#include <QFile>
#include <QList>
#include <QLocalSocket>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "app/core/handover_reader.h"

#include "playback/core/media_remote.h"
#include "vorn_version.h"

namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr int kAnswerTimeoutMs = 10000;
constexpr char kTaken = '1';

// Only a folder of the user's own that nobody else may write to (what QStandardPaths
// asks of a runtime folder): in a shared one another user could take the socket's name
// first and receive the paths. Said once per run; no runtime folder at all is no news.
bool privateFolder(const char* folder) {
    struct stat info {};
    if (::stat(folder, &info) != 0 || !S_ISDIR(info.st_mode))
        return false;
    if (info.st_uid == ::geteuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0)
        return true;
    static bool said = false;
    if (!said)
        std::fprintf(stderr,
                     "vorn: %s is not a private folder of this user; running without the "
                     "hand-over socket\n",
                     folder);
    said = true;
    return false;
}

// Empty when the session has no runtime folder of the user's own.
QString socketPath() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || *runtime == '\0' || !privateFolder(runtime))
        return {};
    return QString::fromLocal8Bit(runtime) + QStringLiteral("/" VORN_APP_ID);
}

int openSpare() {
    return ::open("/dev/null", O_RDONLY | O_CLOEXEC);
}

}  // namespace

LocalInstance::LocalInstance(MediaRemote& remote) : remote_(remote) {}

LocalInstance::~LocalInstance() {
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        ::unlink(QFile::encodeName(path_).constData());
    }
    if (spareFd_ >= 0)
        ::close(spareFd_);
}

bool LocalInstance::listen() {
    const QString path = socketPath();
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    if (path.isEmpty() || static_cast<std::size_t>(name.size()) >= sizeof address.sun_path)
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, name.constData(), static_cast<std::size_t>(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    // A socket left by a player that ended without closing it: nobody answered on it.
    ::unlink(name.constData());
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::chmod(name.constData(), S_IRUSR | S_IWUSR) != 0 || ::listen(fd, SOMAXCONN) != 0) {
        ::close(fd);
        return false;
    }
    path_ = path;
    listenFd_ = fd;
    spareFd_ = openSpare();
    notifier_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &LocalInstance::acceptPending);
    return true;
}

void LocalInstance::acceptPending() {
    for (;;) {
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            if (errno == EINTR || ((errno == EMFILE || errno == ENFILE) && dropOneConnection()))
                continue;
            if (errno == EMFILE || errno == ENFILE) {
                // Not even room for that: look again in a moment instead of spinning.
                notifier_->setEnabled(false);
                QTimer::singleShot(1000, this, [this] { notifier_->setEnabled(true); });
            }
            return;
        }
        auto* socket = new QLocalSocket(this);
        if (findChildren<QLocalSocket*>().size() > kMaxConnections ||
            !socket->setSocketDescriptor(fd)) {
            ::close(fd);
            delete socket;
            continue;
        }
        serve(socket);
    }
}

bool LocalInstance::dropOneConnection() {
    if (spareFd_ < 0)
        return false;
    ::close(spareFd_);
    const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd >= 0)
        ::close(fd);
    spareFd_ = openSpare();
    return fd >= 0;
}

void LocalInstance::serve(QLocalSocket* socket) {
    auto* idle = new QTimer(socket);
    idle->setSingleShot(true);
    connect(idle, &QTimer::timeout, socket, [socket] {
        socket->abort();
        socket->deleteLater();
    });
    idle->start(kIdleTimeoutMs);
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    auto reader = std::make_shared<HandoverReader>();
    connect(socket, &QLocalSocket::readyRead, this, [this, socket, idle, reader] {
        const QByteArray chunk = socket->readAll();
        const HandoverReader::State state =
            reader->feed(chunk.constData(), static_cast<std::size_t>(chunk.size()));
        if (state == HandoverReader::State::Reading) {
            idle->start(kIdleTimeoutMs);
            return;
        }
        // The client closes once it has the answer; one that stays is dropped when idle.
        idle->start(kIdleTimeoutMs);
        disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
        if (state == HandoverReader::State::Refused) {
            std::fputs("vorn: a hand-over message too large was refused\n", stderr);
            socket->abort();
            socket->deleteLater();
            return;
        }
        socket->write(&kTaken, 1);
        socket->flush();
        const std::vector<std::string> list = reader->takePaths();
        if (!list.empty())
            remote_.openPaths(list);
        remote_.raise();
    });
}

bool handToLocalInstance(const std::vector<std::string>& paths) {
    const QString path = socketPath();
    if (path.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    QList<QByteArray> list;
    for (const std::string& item : paths)
        list.append(QByteArray(item.data(), static_cast<qsizetype>(item.size())));
    QDataStream out(&socket);
    out << list;
    if (!socket.waitForBytesWritten(kAnswerTimeoutMs))
        return false;
    if (!socket.waitForReadyRead(kAnswerTimeoutMs))
        return false;
    char answer = 0;
    return socket.read(&answer, 1) == 1 && answer == kTaken;
}
