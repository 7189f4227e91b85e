#pragma once

#include <QMediaPlayer>
#include <QString>
#include <QWidget>

class QAudioOutput;
class QLabel;
class QPushButton;
class QSlider;
class QStackedWidget;
class QVideoWidget;

// The video window: plays one explanation file beside the level menu with the usual
// controls (play and pause, a position slider, the time). A file that cannot be played
// leaves the window open with a notice naming the file and the reason. "戻る" closes
// the window, which ends playback.
class FrmVideo : public QWidget {
    Q_OBJECT
public:
    // Plays file from the moment the window is created.
    FrmVideo(const QString& file, QWidget* parent = nullptr);
    ~FrmVideo() override;

    QString file() const { return file_; }
    // The notice shown in place of the picture; empty while the file plays.
    QString notice() const;

private:
    void buildControls();
    void play();
    void showNotice(const QString& reason);
    void onStatus(QMediaPlayer::MediaStatus status);
    void onError(QMediaPlayer::Error error, const QString& text);
    void showPosition(qint64 ms);
    void showPlaying();

    QString file_;
    QMediaPlayer* player_ = nullptr;
    QAudioOutput* audio_ = nullptr;

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
