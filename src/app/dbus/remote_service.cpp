#include "app/dbus/remote_service.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QTimer>

#include "app/dbus/bus_receive_limit.h"
#include "app/dbus/mpris_adaptors.h"

namespace {

constexpr const char* kPlayerInterface = "org.mpris.MediaPlayer2.Player";
constexpr const char* kVornInterface = "io.github.vorn.Vorn";
// How long a second start waits for the running player to take its paths.
constexpr int kHandOverTimeoutMs = 10000;

void registerTypes() {
    qDBusRegisterMetaType<QList<QByteArray>>();
}

}  // namespace

RemoteService::RemoteService(MediaRemote& remote)
    : remote_(remote), bus_(QDBusConnection::sessionBus()) {
    registerTypes();
    // Before the name is ours, so no call can come before it.
    if (bus_.isConnected())
        liftReceiveLimits(bus_);
}

RemoteService::~RemoteService() {
    if (registered_) {
        bus_.unregisterObject(QString::fromLatin1(kObjectPath));
    }
}

RemoteService::Claim RemoteService::claim(bool shared) {
    if (!bus_.isConnected())
        return Claim::NoBus;
    QDBusConnectionInterface* names = bus_.interface();
    const QString name = shared ? QString::fromLatin1(kServiceName)
                                : QStringLiteral("%1.instance%2")
                                      .arg(QString::fromLatin1(kServiceName))
                                      .arg(QCoreApplication::applicationPid());
    // Asked for without queueing: of two players starting at once exactly one gets it.
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        names->registerService(name, QDBusConnectionInterface::DontQueueService,
                               QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid())
        return Claim::NoBus;
    if (reply.value() != QDBusConnectionInterface::ServiceRegistered)
        return Claim::Taken;
    new MprisRootAdaptor(this, remote_);
    player_ = new MprisPlayerAdaptor(this, remote_);
    new VornAdaptor(this, remote_);
    registered_ = bus_.registerObject(QString::fromLatin1(kObjectPath), this,
                                      QDBusConnection::ExportAdaptors);
    published_ = remote_.nowPlaying();
    return Claim::Owned;
}

void RemoteService::nowPlayingChanged() {
    if (!registered_ || changePending_)
        return;
    changePending_ = true;
    QTimer::singleShot(0, this, [this] {
        changePending_ = false;
        publishChanges();
    });
}

void RemoteService::publishChanges() {
    const NowPlaying now = remote_.nowPlaying();
    if (now == published_)
        return;
    QVariantMap changed;
    if (now.state != published_.state)
        changed.insert(QStringLiteral("PlaybackStatus"), statusName(now.state));
    if (now.songNumber != published_.songNumber || now.path != published_.path ||
        now.author != published_.author || now.title != published_.title ||
        now.album != published_.album || now.trackNumber != published_.trackNumber ||
        now.coverPath != published_.coverPath || now.lengthSeconds != published_.lengthSeconds)
        changed.insert(QStringLiteral("Metadata"), metadataOf(now));
    if (now.loop != published_.loop)
        changed.insert(QStringLiteral("LoopStatus"), loopStatusName(now.loop));
    if (now.volumePercent != published_.volumePercent)
        changed.insert(QStringLiteral("Volume"), now.volumePercent / 100.0);
    const auto flag = [&](const char* property, bool value, bool before) {
        if (value != before)
            changed.insert(QString::fromLatin1(property), value);
    };
    flag("CanPlay", now.canPlay, published_.canPlay);
    flag("CanPause", now.canPause, published_.canPause);
    flag("CanSeek", now.canSeek, published_.canSeek);
    flag("CanGoNext", now.canGoNext, published_.canGoNext);
    flag("CanGoPrevious", now.canGoPrevious, published_.canGoPrevious);
    flag("Shuffle", now.shuffle, published_.shuffle);
    published_ = now;
    QDBusMessage signal = QDBusMessage::createSignal(
        QString::fromLatin1(kObjectPath), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"));
    signal << QString::fromLatin1(kPlayerInterface) << changed << QStringList();
    bus_.send(signal);
}

void RemoteService::seeked(double seconds) {
    if (player_)
        emit player_->Seeked(static_cast<qlonglong>(seconds * 1e6));
}

bool handToRunningPlayer(const std::vector<std::string>& paths) {
    registerTypes();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QList<QByteArray> list;
    for (const std::string& path : paths)
        list.append(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
    QDBusMessage call =
        QDBusMessage::createMethodCall(QString::fromLatin1(RemoteService::kServiceName),
                                       QString::fromLatin1(RemoteService::kObjectPath),
                                       QString::fromLatin1(kVornInterface), QStringLiteral("Open"));
    call << QVariant::fromValue(list);
    const QDBusMessage reply = bus.call(call, QDBus::Block, kHandOverTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}
