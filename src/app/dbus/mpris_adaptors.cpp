#include "app/dbus/mpris_adaptors.h"

#include <QUrl>

#include <string>
#include <vector>

#include "playback/core/media_remote.h"
#include "vorn_version.h"

namespace {

constexpr double kMicroseconds = 1e6;

QString fromBytes(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A file address of the path's own bytes, so a name that is not valid UTF-8 survives.
QString fileUrlOf(const std::string& path) {
    const QByteArray bytes(path.data(), static_cast<qsizetype>(path.size()));
    return QStringLiteral("file://") + QString::fromLatin1(QUrl::toPercentEncoding(bytes, "/"));
}

qlonglong microseconds(double seconds) {
    return static_cast<qlonglong>(seconds * kMicroseconds);
}

}  // namespace

QDBusObjectPath trackIdOf(int songNumber) {
    if (songNumber <= 0)
        return QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"));
    return QDBusObjectPath(QStringLiteral("/io/github/vorn/Vorn/track/%1").arg(songNumber));
}

QVariantMap metadataOf(const NowPlaying& now) {
    QVariantMap map;
    map.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(trackIdOf(now.songNumber)));
    if (now.songNumber <= 0)
        return map;
    if (now.lengthSeconds > 0)
        map.insert(QStringLiteral("mpris:length"), microseconds(now.lengthSeconds));
    map.insert(QStringLiteral("xesam:url"), fileUrlOf(now.path));
    // Without a title tag the file's name stands for it, as the window shows the path.
    const std::string title =
        now.title.empty() ? now.path.substr(now.path.rfind('/') + 1) : now.title;
    map.insert(QStringLiteral("xesam:title"), fromBytes(title));
    if (!now.author.empty())
        map.insert(QStringLiteral("xesam:artist"), QStringList{fromBytes(now.author)});
    if (!now.album.empty())
        map.insert(QStringLiteral("xesam:album"), fromBytes(now.album));
    if (now.trackNumber > 0)
        map.insert(QStringLiteral("xesam:trackNumber"), now.trackNumber);
    if (!now.coverPath.empty())
        map.insert(QStringLiteral("mpris:artUrl"), fileUrlOf(now.coverPath));
    return map;
}

QString statusName(PlayState state) {
    switch (state) {
        case PlayState::Playing:
            return QStringLiteral("Playing");
        case PlayState::Paused:
            return QStringLiteral("Paused");
        case PlayState::Stopped:
            break;
    }
    return QStringLiteral("Stopped");
}

QString loopStatusName(LoopMode loop) {
    switch (loop) {
        case LoopMode::Track:
            return QStringLiteral("Track");
        case LoopMode::Playlist:
            return QStringLiteral("Playlist");
        case LoopMode::None:
            break;
    }
    return QStringLiteral("None");
}

bool loopModeNamed(const QString& name, LoopMode& loop) {
    for (LoopMode mode : {LoopMode::None, LoopMode::Track, LoopMode::Playlist}) {
        if (name == loopStatusName(mode)) {
            loop = mode;
            return true;
        }
    }
    return false;
}

MprisRootAdaptor::MprisRootAdaptor(QObject* parent, MediaRemote& remote)
    : QDBusAbstractAdaptor(parent), remote_(remote) {}

QString MprisRootAdaptor::identity() const {
    return QStringLiteral("vorn");
}

QString MprisRootAdaptor::desktopEntry() const {
    return QStringLiteral(VORN_APP_ID);
}

QStringList MprisRootAdaptor::supportedUriSchemes() const {
    return {QStringLiteral("file")};
}

QStringList MprisRootAdaptor::supportedMimeTypes() const {
    return QString::fromLatin1(VORN_MIME_TYPES).split(u' ', Qt::SkipEmptyParts);
}

void MprisRootAdaptor::Raise() {
    remote_.raise();
}

void MprisRootAdaptor::Quit() {
    remote_.quit();
}

MprisPlayerAdaptor::MprisPlayerAdaptor(QObject* parent, MediaRemote& remote)
    : QDBusAbstractAdaptor(parent), remote_(remote) {}

QString MprisPlayerAdaptor::playbackStatus() const {
    return statusName(remote_.nowPlaying().state);
}

QVariantMap MprisPlayerAdaptor::metadata() const {
    return metadataOf(remote_.nowPlaying());
}

qlonglong MprisPlayerAdaptor::position() const {
    return microseconds(remote_.positionSeconds());
}

// The percent the player keeps, as a share of 1 on the same (cubic) scale.
double MprisPlayerAdaptor::volume() const {
    return remote_.nowPlaying().volumePercent / 100.0;
}

void MprisPlayerAdaptor::setVolume(double volume) {
    remote_.setVolume(volume);
}

QString MprisPlayerAdaptor::loopStatus() const {
    return loopStatusName(remote_.nowPlaying().loop);
}

void MprisPlayerAdaptor::setLoopStatus(const QString& status) {
    LoopMode loop = LoopMode::None;
    if (loopModeNamed(status, loop))
        remote_.setLoop(loop);
}

bool MprisPlayerAdaptor::shuffle() const {
    return remote_.nowPlaying().shuffle;
}

void MprisPlayerAdaptor::setShuffle(bool shuffle) {
    remote_.setShuffle(shuffle);
}

bool MprisPlayerAdaptor::canGoNext() const {
    return remote_.nowPlaying().canGoNext;
}

bool MprisPlayerAdaptor::canGoPrevious() const {
    return remote_.nowPlaying().canGoPrevious;
}

bool MprisPlayerAdaptor::canPlay() const {
    return remote_.nowPlaying().canPlay;
}

bool MprisPlayerAdaptor::canPause() const {
    return remote_.nowPlaying().canPause;
}

bool MprisPlayerAdaptor::canSeek() const {
    return remote_.nowPlaying().canSeek;
}

void MprisPlayerAdaptor::Play() {
    remote_.play();
}

void MprisPlayerAdaptor::Pause() {
    remote_.pause();
}

void MprisPlayerAdaptor::PlayPause() {
    remote_.playPause();
}

void MprisPlayerAdaptor::Stop() {
    remote_.stop();
}

void MprisPlayerAdaptor::Next() {
    remote_.next();
}

void MprisPlayerAdaptor::Previous() {
    remote_.previous();
}

void MprisPlayerAdaptor::Seek(qlonglong offset) {
    const NowPlaying now = remote_.nowPlaying();
    if (!now.canSeek)
        return;
    const double target = remote_.positionSeconds() + static_cast<double>(offset) / kMicroseconds;
    // Past the end is the next song; before the start is the start.
    if (target >= now.lengthSeconds)
        remote_.next();
    else
        remote_.seekTo(target);
}

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& trackId, qlonglong position) {
    const NowPlaying now = remote_.nowPlaying();
    // A request for a song that is no longer the current one, or outside it, is ignored.
    if (!now.canSeek || trackId.path() != trackIdOf(now.songNumber).path() || position < 0 ||
        static_cast<double>(position) / kMicroseconds > now.lengthSeconds)
        return;
    remote_.seekTo(static_cast<double>(position) / kMicroseconds);
}

void MprisPlayerAdaptor::OpenUri(const QString& uri) {
    // The address's own bytes; the command line's rules decode and check it.
    const QByteArray bytes = uri.toUtf8();
    remote_.openPaths({std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()))});
}

VornAdaptor::VornAdaptor(QObject* parent, MediaRemote& remote)
    : QDBusAbstractAdaptor(parent), remote_(remote) {}

void VornAdaptor::Open(const QList<QByteArray>& paths) {
    std::vector<std::string> list;
    for (const QByteArray& path : paths)
        list.emplace_back(path.constData(), static_cast<std::size_t>(path.size()));
    if (!list.empty())
        remote_.openPaths(list);
    remote_.raise();
}
