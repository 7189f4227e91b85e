#pragma once

#include "media/viewers/VideoPlayback.h"

#include <QMediaPlayer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>

class Environment;
class Timer;
class QLabel;
class QPushButton;
class QSlider;
class QStackedWidget;
class QVideoWidget;

// The video window: plays one explanation file beside the level menu with the usual
// controls (play and pause, a position slider, the time). A file that cannot be played
// leaves the window open with a notice naming the file and the reason; so does a player
// that stays still while it should be playing (no sound server, a stalled decoder), which
// would otherwise leave a black picture. "戻る" closes the window, which ends playback.
//
// Controls:
//   name              caption       what it does
//   ScreenBasePic     -             the coloured panel behind everything
//   lblTitle          file name     names the file being played
//   Command1          "戻る"        closes the window, which ends playback
//   VideoBaseLabel    -             the frame around the picture
//   VideoMediaPlayer  -             the picture
//   lblNotice         notice        in the picture's place when the file cannot be played
//   cmdPlay           "一時停止"/"再生"  pauses or goes on playing
//   sldPosition       -             the position; dragging it moves playback
//   lblTime           "0:00 / 0:06" the position and the length
class FrmVideo : public QWidget {
    Q_OBJECT
public:
    // Seconds the position may stand still while playing before the window says so.
    static constexpr int stallSeconds = 6;

    // Playback starts when the window is first shown: a player started on a window that
    // is not yet on screen may never deliver a picture. The watch over playback runs on
    // env's timers; player replaces the system's media player (tests).
    FrmVideo(const QString& file, Environment& env, QWidget* parent = nullptr,
             std::unique_ptr<VideoPlayback> player = nullptr);
    ~FrmVideo() override;

    QString file() const { return file_; }
    // The notice shown in place of the picture; empty while the file plays.
    QString notice() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void play();
    void showNotice(const QString& reason);
    void onStatus(QMediaPlayer::MediaStatus status);
    void onError(QMediaPlayer::Error error, const QString& text);
    void showPosition(qint64 ms);
    void showPlaying();
    void watchPlayback();

    QString file_;
    Environment& env_;
    VideoPlayback* player_ = nullptr;
    std::unique_ptr<Timer> watch_;
    bool started_ = false;
    qint64 watchedPosition_ = -1;
    std::int64_t stillSinceMs_ = 0;

    QWidget* ScreenBasePic = nullptr;
    QPushButton* Command1 = nullptr; // 戻る
    QWidget* VideoBaseLabel = nullptr;
    QStackedWidget* picture_ = nullptr;
    QVideoWidget* VideoMediaPlayer = nullptr;
    QLabel* lblNotice = nullptr;
    QPushButton* cmdPlay = nullptr;
    QSlider* sldPosition = nullptr;
    QLabel* lblTime = nullptr;
    bool failed_ = false;
};
