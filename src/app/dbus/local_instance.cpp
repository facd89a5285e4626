#include "app/dbus/local_instance.h"

#include <QDataStream>
#include <QDir>
#include <QList>
#include <QLocalServer>
#include <QLocalSocket>

#include <cstdlib>

#include "playback/core/media_remote.h"
#include "vorn_version.h"

namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr int kAnswerTimeoutMs = 10000;
constexpr char kTaken = '1';

// Empty when the session has no runtime folder.
QString socketPath() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || *runtime == '\0' || !QDir(QString::fromLocal8Bit(runtime)).exists())
        return {};
    return QString::fromLocal8Bit(runtime) + QStringLiteral("/" VORN_APP_ID);
}

}  // namespace

LocalInstance::LocalInstance(MediaRemote& remote) : remote_(remote) {}

LocalInstance::~LocalInstance() = default;

bool LocalInstance::listen() {
    const QString path = socketPath();
    if (path.isEmpty())
        return false;
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket left by a player that ended without closing it: nobody answered on it.
    QLocalServer::removeServer(path);
    if (!server_->listen(path))
        return false;
    connect(server_, &QLocalServer::newConnection, this, &LocalInstance::serve);
    return true;
}

void LocalInstance::serve() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            QDataStream in(socket);
            in.startTransaction();
            QList<QByteArray> paths;
            in >> paths;
            if (!in.commitTransaction())
                return;  // the rest is still on its way
            std::vector<std::string> list;
            for (const QByteArray& path : paths)
                list.emplace_back(path.constData(), static_cast<std::size_t>(path.size()));
            socket->write(&kTaken, 1);
            socket->flush();
            if (!list.empty())
                remote_.openPaths(list);
            remote_.raise();
        });
    }
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
