#include "media/viewers/FrmVideo.h"

#include "app/Environment.h"
#include "media/viewers/VideoNotice.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSlider>
#include <QStackedWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <QVideoWidget>

namespace {

const QColor panelColor(28, 52, 84);
const QColor frameColor(236, 240, 246);
constexpr int watchIntervalMs = 1000;

QString clockText(qint64 ms) {
    const qint64 seconds = qMax<qint64>(0, ms) / 1000;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

void colour(QWidget* w, const QColor& background, const QColor& text = Qt::white) {
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::WindowText, text);
    w->setPalette(p);
}

} // namespace

FrmVideo::FrmVideo(const QString& file, Environment& env, QWidget* parent,
                   std::unique_ptr<VideoPlayback> player)
    : QWidget(parent, Qt::Window), file_(file), env_(env) {
    setObjectName(QStringLiteral("FrmVideo"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("解説 - %1").arg(QFileInfo(file).fileName()));
    resize(800, 640);
    player_ = player ? player.release() : systemVideoPlayback().release();
    player_->setParent(this);
    buildControls();
    watch_ = env_.createTimer();
    watch_->onTimeout = [this] { watchPlayback(); };
}

FrmVideo::~FrmVideo() {
    watch_->stop();
    // Stop before the output widgets go, so no frame arrives at a half-destroyed window.
    player_->stop();
}

void FrmVideo::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!started_) {
        started_ = true;
        play();
    }
}

void FrmVideo::buildControls() {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    ScreenBasePic = new QWidget(this);
    ScreenBasePic->setObjectName(QStringLiteral("ScreenBasePic"));
    colour(ScreenBasePic, panelColor);
    outer->addWidget(ScreenBasePic);

    auto* column = new QVBoxLayout(ScreenBasePic);
    column->setContentsMargins(16, 10, 16, 16);
    auto* top = new QHBoxLayout;
    auto* title = new QLabel(QFileInfo(file_).fileName(), ScreenBasePic);
    title->setObjectName(QStringLiteral("lblTitle"));
    top->addWidget(title, 1);
    Command1 = new QPushButton(QStringLiteral("戻る"), ScreenBasePic);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setMinimumSize(96, 36);
    connect(Command1, &QPushButton::clicked, this, &QWidget::close);
    top->addWidget(Command1);
    column->addLayout(top);

    // The frame around the player; the notice takes the picture's place.
    VideoBaseLabel = new QWidget(ScreenBasePic);
    VideoBaseLabel->setObjectName(QStringLiteral("VideoBaseLabel"));
    colour(VideoBaseLabel, frameColor, Qt::black);
    auto* frame = new QVBoxLayout(VideoBaseLabel);
    frame->setContentsMargins(6, 6, 6, 6);
    picture_ = new QStackedWidget(VideoBaseLabel);
    VideoMediaPlayer = new QVideoWidget(picture_);
    VideoMediaPlayer->setObjectName(QStringLiteral("VideoMediaPlayer"));
    lblNotice = new QLabel(picture_);
    lblNotice->setObjectName(QStringLiteral("lblNotice"));
    lblNotice->setAlignment(Qt::AlignCenter);
    lblNotice->setWordWrap(true);
    lblNotice->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont noticeFont = lblNotice->font();
    noticeFont.setPointSize(14);
    lblNotice->setFont(noticeFont);
    colour(lblNotice, Qt::white, QColor(160, 0, 0));
    picture_->addWidget(VideoMediaPlayer);
    picture_->addWidget(lblNotice);
    frame->addWidget(picture_);
    column->addWidget(VideoBaseLabel, 1);

    auto* controls = new QHBoxLayout;
    cmdPlay = new QPushButton(QStringLiteral("一時停止"), ScreenBasePic);
    cmdPlay->setObjectName(QStringLiteral("cmdPlay"));
    cmdPlay->setMinimumWidth(96);
    sldPosition = new QSlider(Qt::Horizontal, ScreenBasePic);
    sldPosition->setObjectName(QStringLiteral("sldPosition"));
    lblTime = new QLabel(clockText(0) + QStringLiteral(" / ") + clockText(0), ScreenBasePic);
    lblTime->setObjectName(QStringLiteral("lblTime"));
    controls->addWidget(cmdPlay);
    controls->addWidget(sldPosition, 1);
    controls->addWidget(lblTime);
    column->addLayout(controls);

    player_->setVideoOutput(VideoMediaPlayer);

    connect(cmdPlay, &QPushButton::clicked, this, [this] {
        if (player_->playbackState() == QMediaPlayer::PlayingState) {
            player_->pause();
        } else {
            player_->play();
        }
    });
    connect(sldPosition, &QSlider::sliderMoved, player_, &VideoPlayback::setPosition);
    connect(player_, &VideoPlayback::durationChanged, this, [this](qint64 ms) {
        sldPosition->setRange(0, static_cast<int>(ms));
        showPosition(player_->position());
    });
    connect(player_, &VideoPlayback::positionChanged, this, &FrmVideo::showPosition);
    connect(player_, &VideoPlayback::playbackStateChanged, this, &FrmVideo::showPlaying);
    connect(player_, &VideoPlayback::mediaStatusChanged, this, &FrmVideo::onStatus);
    connect(player_, &VideoPlayback::errorOccurred, this, &FrmVideo::onError);
}

void FrmVideo::play() {
    const QString reason = unplayableFileReason(file_);
    if (!reason.isEmpty()) {
        showNotice(reason);
        return;
    }
    player_->setSource(QUrl::fromLocalFile(QFileInfo(file_).absoluteFilePath()));
    player_->play();
    watchedPosition_ = player_->position();
    stillSinceMs_ = env_.monotonicMs();
    watch_->start(watchIntervalMs);
}

void FrmVideo::watchPlayback() {
    if (failed_) {
        watch_->stop();
        return;
    }
    const std::int64_t now = env_.monotonicMs();
    const qint64 position = player_->position();
    const bool playing = player_->playbackState() == QMediaPlayer::PlayingState &&
                         player_->mediaStatus() != QMediaPlayer::EndOfMedia;
    if (!playing || position != watchedPosition_) {
        // Paused, at the end, or moving: the wait for a standstill starts afresh.
        watchedPosition_ = position;
        stillSinceMs_ = now;
        return;
    }
    if (now - stillSinceMs_ >= stallSeconds * 1000) {
        player_->stop();
        showNotice(stalledPlaybackReason(stallSeconds));
    }
}

QString FrmVideo::notice() const {
    return failed_ ? lblNotice->text() : QString();
}

void FrmVideo::showNotice(const QString& reason) {
    if (failed_) {
        return; // the first reason is the one that matters
    }
    failed_ = true;
    watch_->stop();
    lblNotice->setText(videoNotice(file_, reason));
    picture_->setCurrentWidget(lblNotice);
    for (QWidget* control : {static_cast<QWidget*>(cmdPlay), static_cast<QWidget*>(sldPosition)}) {
        control->setEnabled(false);
    }
}

void FrmVideo::onStatus(QMediaPlayer::MediaStatus status) {
    if (status == QMediaPlayer::InvalidMedia) {
        showNotice(playerErrorReason(player_->error() == QMediaPlayer::NoError
                                         ? QMediaPlayer::FormatError
                                         : player_->error(),
                                     player_->errorString()));
    } else if (status == QMediaPlayer::EndOfMedia) {
        showPlaying();
    }
}

void FrmVideo::onError(QMediaPlayer::Error error, const QString& text) {
    if (error != QMediaPlayer::NoError) {
        player_->stop();
        showNotice(playerErrorReason(error, text));
    }
}

void FrmVideo::showPosition(qint64 ms) {
    if (!sldPosition->isSliderDown()) {
        sldPosition->setValue(static_cast<int>(ms));
    }
    lblTime->setText(clockText(ms) + QStringLiteral(" / ") + clockText(player_->duration()));
}

void FrmVideo::showPlaying() {
    const bool playing = player_->playbackState() == QMediaPlayer::PlayingState &&
                         player_->mediaStatus() != QMediaPlayer::EndOfMedia;
    cmdPlay->setText(playing ? QStringLiteral("一時停止") : QStringLiteral("再生"));
}
