#pragma once

#include <QMediaPlayer>
#include <QObject>
#include <QString>
#include <QUrl>
#include <memory>

class QVideoWidget;

// What the video window asks of a player. The window plays through the system's media
// player (systemVideoPlayback); a test hands it a player of its own, such as one that
// never delivers a frame, to see what a pupil would see then.
class VideoPlayback : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual void setSource(const QUrl& source) = 0;
    virtual void setVideoOutput(QVideoWidget* output) = 0;
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    virtual void setPosition(qint64 ms) = 0;

    virtual qint64 position() const = 0;
    virtual qint64 duration() const = 0;
    virtual QMediaPlayer::PlaybackState playbackState() const = 0;
    virtual QMediaPlayer::MediaStatus mediaStatus() const = 0;
    virtual QMediaPlayer::Error error() const = 0;
    virtual QString errorString() const = 0;

signals:
    void positionChanged(qint64 ms);
    void durationChanged(qint64 ms);
    void playbackStateChanged(QMediaPlayer::PlaybackState state);
    void mediaStatusChanged(QMediaPlayer::MediaStatus status);
    void errorOccurred(QMediaPlayer::Error error, const QString& text);
};

// The system's media player with a sound output; its QMediaPlayer is the child "player".
std::unique_ptr<VideoPlayback> systemVideoPlayback();
