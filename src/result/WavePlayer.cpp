#include "result/WavePlayer.h"

#include "result/WaveFile.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QMutex>
#include <QMutexLocker>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <atomic>
#include <memory>

// Why a worker thread and a media player: the thread that asks for a sound must not run
// an event loop while it waits (a nested loop would run the program's timers and key
// handlers), but the media player needs one to learn that the sound has ended. So the
// player lives on a worker with its own loop, and the caller blocks on the worker's end.
// The audio output of this Qt version deadlocks when a second stream is opened in the
// same process, so the player (through GStreamer) is used rather than a raw audio sink.

namespace {

// What the caller and the worker share. The caller may stop waiting for a worker that is
// stuck inside the audio library; the worker then finishes on its own later, finds the
// play cancelled, and must not start the sound any more.
struct PlaybackShared {
    QMutex mutex;
    SoundOutcome outcome{false, QString()};
    std::atomic<bool> cancelled{false};

    void set(const SoundOutcome& value) {
        QMutexLocker lock(&mutex);
        outcome = value;
    }
    SoundOutcome get() {
        QMutexLocker lock(&mutex);
        return outcome;
    }
};

// PCM, floating point, or the extensible header that carries either.
bool plainSamples(int formatTag) {
    return formatTag == 1 || formatTag == 3 || formatTag == 0xFFFE;
}

QString noDeviceText() {
    return QStringLiteral("音声装置がありません（サウンドサーバーにつながりません）。");
}

QString notRespondingText(const QString& path, int limitMs) {
    return QStringLiteral("音声装置が応答しません（「%1」の再生が %2 秒たっても終わりません）。")
        .arg(QDir::toNativeSeparators(path))
        .arg(limitMs / 1000.0, 0, 'f', 1);
}

class PlaybackThread : public QThread {
public:
    PlaybackThread(QString path, QDeadlineTimer deadline, int limitMs,
                   std::shared_ptr<PlaybackShared> shared)
        : path_(std::move(path)), deadline_(deadline), limitMs_(limitMs),
          shared_(std::move(shared)) {}

protected:
    void run() override { shared_->set(play()); }

private:
    SoundOutcome play() {
        // Asking for the devices connects to the sound server; a server that does not
        // answer keeps this call waiting, which is why it happens here and not in the
        // caller.
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (shared_->cancelled) {
            return {false, notRespondingText(path_, limitMs_)};
        }
        if (device.isNull()) {
            return {false, noDeviceText()};
        }

        QMediaPlayer player;
        QAudioOutput output(device);
        player.setAudioOutput(&output);

        QEventLoop loop;
        bool done = false;
        SoundOutcome result{false, notRespondingText(path_, limitMs_)};
        const auto finish = [&](const SoundOutcome& outcome) {
            if (!done) {
                done = true;
                result = outcome;
                loop.quit();
            }
        };
        QObject::connect(
            &player, &QMediaPlayer::mediaStatusChanged, &loop,
            [&](QMediaPlayer::MediaStatus status) {
                if (status == QMediaPlayer::EndOfMedia) {
                    finish({true, QString()});
                } else if (status == QMediaPlayer::InvalidMedia) {
                    finish({false, QStringLiteral("音声ファイル「%1」は再生できない形式です。")
                                       .arg(QDir::toNativeSeparators(path_))});
                }
            });
        QObject::connect(
            &player, &QMediaPlayer::errorOccurred, &loop,
            [&](QMediaPlayer::Error, const QString& text) {
                finish({false, QStringLiteral("音声ファイル「%1」を再生できません（%2）。")
                                   .arg(QDir::toNativeSeparators(path_), text)});
            });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, &loop, [&] {
            finish({false, notRespondingText(path_, limitMs_)});
        });
        watchdog.start(static_cast<int>(std::max<qint64>(deadline_.remainingTime(), 0)));

        player.setSource(QUrl::fromLocalFile(path_));
        if (!done && !shared_->cancelled) {
            player.play();
        }
        if (!done) {
            loop.exec();
        }
        player.stop();
        return result;
    }

    QString path_;
    QDeadlineTimer deadline_;
    int limitMs_;
    std::shared_ptr<PlaybackShared> shared_;
};

} // namespace

int PlaybackLimits::workerLimitMs(qint64 durationMs) {
    return static_cast<int>(std::min<qint64>(durationMs, 600000)) + startGraceMs;
}

int PlaybackLimits::callerLimitMs(qint64 durationMs) {
    return workerLimitMs(durationMs) + abandonGraceMs;
}

SoundOutcome playWaveToEnd(const QString& path) {
    const WaveCheck wave = inspectWaveFile(path);
    if (!wave.ok) {
        return {false, wave.error};
    }
    const int workerLimit = PlaybackLimits::workerLimitMs(wave.durationMs);
    const int callerLimit = PlaybackLimits::callerLimitMs(wave.durationMs);
    auto shared = std::make_shared<PlaybackShared>();
    auto* worker = new PlaybackThread(path, QDeadlineTimer(workerLimit), callerLimit, shared);
    worker->start();
    if (worker->wait(QDeadlineTimer(callerLimit))) {
        delete worker;
        SoundOutcome outcome = shared->get();
        if (!outcome.ok && !plainSamples(wave.formatTag)) {
            // Most often the reason: a compressed wave file the decoders installed cannot read.
            outcome.error +=
                QStringLiteral(
                    "この WAVE ファイルは PCM ではなく、形式番号 %1 で圧縮されています。")
                    .arg(wave.formatTag);
        }
        return outcome;
    }
    // The worker is stuck inside the audio library. It is left to finish on its own and
    // then deletes itself; the shared part outlives whichever side ends last.
    shared->cancelled = true;
    QObject::connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    if (worker->isFinished()) {
        worker->wait(); // it may still be on its way out of the thread
        delete worker;
    }
    return {false, notRespondingText(path, callerLimit)};
}
