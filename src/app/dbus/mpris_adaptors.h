#pragma once
// The D-Bus faces of the running player on /org/mpris/MediaPlayer2: the two interfaces
// the desktop's media controls speak (org.mpris.MediaPlayer2 and its .Player) and vorn's
// own, which a second start of the program hands its paths to. Each is a thin adaptor
// over the MediaRemote; the conversions to D-Bus values live here, the decisions in the
// application object.
#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QList>
#include <QStringList>
#include <QVariantMap>

#include "playback/core/now_playing.h"

class MediaRemote;

// The object path of the song with this number, or the "no track" path for 0.
QDBusObjectPath trackIdOf(int songNumber);
// The Metadata map of what is playing: trackid, length, title, artist, url, and album,
// track number and cover (artUrl) where the song has them.
QVariantMap metadataOf(const NowPlaying& now);
// "Playing", "Paused" or "Stopped".
QString statusName(PlayState state);
// "None", "Track" or "Playlist", and back (false for any other name).
QString loopStatusName(LoopMode loop);
bool loopModeNamed(const QString& name, LoopMode& loop);

class MprisRootAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(bool CanQuit READ canQuit)
    Q_PROPERTY(bool CanRaise READ canRaise)
    Q_PROPERTY(bool HasTrackList READ hasTrackList)
    Q_PROPERTY(QStringList SupportedUriSchemes READ supportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ supportedMimeTypes)
  public:
    MprisRootAdaptor(QObject* parent, MediaRemote& remote);

    QString identity() const;
    QString desktopEntry() const;
    bool canQuit() const { return true; }
    bool canRaise() const { return true; }
    bool hasTrackList() const { return false; }
    QStringList supportedUriSchemes() const;
    QStringList supportedMimeTypes() const;

  public Q_SLOTS:
    void Raise();
    void Quit();

  private:
    MediaRemote& remote_;
};

class MprisPlayerAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(double Rate READ rate)
    Q_PROPERTY(double MinimumRate READ rate)
    Q_PROPERTY(double MaximumRate READ rate)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(QString LoopStatus READ loopStatus WRITE setLoopStatus)
    Q_PROPERTY(bool Shuffle READ shuffle WRITE setShuffle)
    Q_PROPERTY(bool CanGoNext READ canGoNext)
    Q_PROPERTY(bool CanGoPrevious READ canGoPrevious)
    Q_PROPERTY(bool CanPlay READ canPlay)
    Q_PROPERTY(bool CanPause READ canPause)
    Q_PROPERTY(bool CanSeek READ canSeek)
    Q_PROPERTY(bool CanControl READ canControl)
  public:
    MprisPlayerAdaptor(QObject* parent, MediaRemote& remote);

    QString playbackStatus() const;
    QVariantMap metadata() const;
    qlonglong position() const;
    double rate() const { return 1.0; }
    double volume() const;
    void setVolume(double volume);
    QString loopStatus() const;
    void setLoopStatus(const QString& status);
    bool shuffle() const;
    void setShuffle(bool shuffle);
    bool canGoNext() const;
    bool canGoPrevious() const;
    bool canPlay() const;
    bool canPause() const;
    bool canSeek() const;
    bool canControl() const { return true; }

  public Q_SLOTS:
    void Play();
    void Pause();
    void PlayPause();
    void Stop();
    void Next();
    void Previous();
    void Seek(qlonglong offset);
    void SetPosition(const QDBusObjectPath& trackId, qlonglong position);
    void OpenUri(const QString& uri);

  Q_SIGNALS:
    void Seeked(qlonglong position);

  private:
    MediaRemote& remote_;
};

class VornAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "io.github.vorn.Vorn")
  public:
    VornAdaptor(QObject* parent, MediaRemote& remote);

  public Q_SLOTS:
    // Plays the absolute paths (bytes) as a new Play and raises the window; with none it
    // only raises it.
    void Open(const QList<QByteArray>& paths);

  private:
    MediaRemote& remote_;
};
