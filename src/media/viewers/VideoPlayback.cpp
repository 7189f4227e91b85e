#include "media/viewers/VideoPlayback.h"

#include <QAudioOutput>
#include <QVideoWidget>

namespace {

class SystemVideoPlayback : public VideoPlayback {
public:
    SystemVideoPlayback() : player_(new QMediaPlayer(this)), audio_(new QAudioOutput(this)) {
        player_->setObjectName(QStringLiteral("player"));
        player_->setAudioOutput(audio_);
        connect(player_, &QMediaPlayer::positionChanged, this, &VideoPlayback::positionChanged);
        connect(player_, &QMediaPlayer::durationChanged, this, &VideoPlayback::durationChanged);
        connect(player_, &QMediaPlayer::playbackStateChanged, this,
                &VideoPlayback::playbackStateChanged);
        connect(player_, &QMediaPlayer::mediaStatusChanged, this,
                &VideoPlayback::mediaStatusChanged);
        connect(player_, &QMediaPlayer::errorOccurred, this, &VideoPlayback::errorOccurred);
    }

    void setSource(const QUrl& source) override { player_->setSource(source); }
    void setVideoOutput(QVideoWidget* output) override { player_->setVideoOutput(output); }
    void play() override { player_->play(); }
    void pause() override { player_->pause(); }
    void stop() override { player_->stop(); }
    void setPosition(qint64 ms) override { player_->setPosition(ms); }

    qint64 position() const override { return player_->position(); }
    qint64 duration() const override { return player_->duration(); }
    QMediaPlayer::PlaybackState playbackState() const override { return player_->playbackState(); }
    QMediaPlayer::MediaStatus mediaStatus() const override { return player_->mediaStatus(); }
    QMediaPlayer::Error error() const override { return player_->error(); }
    QString errorString() const override { return player_->errorString(); }

private:
    QMediaPlayer* player_;
    QAudioOutput* audio_;
};

} // namespace

std::unique_ptr<VideoPlayback> systemVideoPlayback() {
    return std::make_unique<SystemVideoPlayback>();
}
