// The real audio backend: wave files made here are played to their end through the sound
// server (the null sink of scripts/null-sink), one after another; nothing of the program
// runs meanwhile and keys sent meanwhile arrive afterwards, in order; a stalled device
// gives up within the sound's length plus a few seconds; a missing file and a file that
// is not a wave file fail at once with readable descriptions.
#include "WaveSamples.h"
#include "result/WavePlayer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>

using namespace wavesamples;

namespace {

// Why there is no sound server to play to, or an empty text when there is one.
QString noServerReason() {
    if (qEnvironmentVariableIsSet("MIRUNEA_NO_SOUND_SERVER")) {
        return qEnvironmentVariable("MIRUNEA_NO_SOUND_SERVER");
    }
    if (!qEnvironmentVariableIsSet("PULSE_SERVER")) {
        return u"PULSE_SERVER is not set: run the tests through scripts/test or "
               u"scripts/null-sink <command>"_qs;
    }
    return QString();
}

#define SKIP_WITHOUT_SOUND_SERVER()                                                                \
    do {                                                                                           \
        const QString reason = noServerReason();                                                   \
        if (!reason.isEmpty()) {                                                                   \
            QSKIP(qPrintable(u"no sound server for the real-sound test: "_qs + reason));           \
        }                                                                                          \
    } while (false)

// Records the keys it receives.
class KeyRecorder : public QWidget {
public:
    QList<int> keys;

protected:
    void keyPressEvent(QKeyEvent* event) override { keys << event->key(); }
};

bool pactl(const QStringList& arguments) {
    const QString program = QStandardPaths::findExecutable(u"pactl"_qs);
    if (program.isEmpty()) {
        return false;
    }
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

} // namespace

class WavePlayerTest : public QObject {
    Q_OBJECT

private slots:
    void failuresAreReadable() {
        QTemporaryDir dir;
        const QString missing = dir.filePath(u"正解.wav"_qs);
        const QString text = write(dir.filePath(u"間違い.wav"_qs), "正解音2\r\n*\r\n");
        for (const auto& [path, saying] : {std::pair{missing, u"が見つかりません"_qs},
                                           std::pair{text, u"WAVE 形式ではありません"_qs}}) {
            const SoundOutcome outcome = playWaveToEnd(path);
            QVERIFY(!outcome.ok);
            QVERIFY2(outcome.error.contains(QDir::toNativeSeparators(path)) &&
                         outcome.error.contains(saying),
                     qPrintable(outcome.error));
        }
    }

    void playsToTheEnd() {
        SKIP_WITHOUT_SOUND_SERVER();
        QTemporaryDir dir;
        const QString mono = write(dir.filePath(u"正解音.wav"_qs), toneWave(1, 22050, 16, 0.4));
        const QString stereo = write(dir.filePath(u"stereo.wav"_qs), toneWave(2, 11025, 8, 0.3));
        // One after another, as a run plays them: each stream opens after the last closed.
        for (const auto& [path, ms] : {std::pair{mono, 400}, std::pair{stereo, 300},
                                       std::pair{mono, 400}, std::pair{stereo, 300}}) {
            QElapsedTimer clock;
            clock.start();
            const SoundOutcome outcome = playWaveToEnd(path);
            const qint64 took = clock.elapsed();
            qInfo("played %s (%d ms) in %lld ms", qPrintable(QFileInfo(path).fileName()), ms, took);
            QVERIFY2(outcome.ok, qPrintable(outcome.error));
            QVERIFY2(outcome.error.isEmpty(), qPrintable(outcome.error));
            // Not before the sound could have been heard. That the watchdog did not cut it
            // short is what outcome.ok says.
            QVERIFY2(took >= ms - 20, qPrintable(u"%1 ms for %2 ms"_qs.arg(took).arg(ms)));
        }
    }

    void nothingOfOursRunsWhilePlaying() {
        SKIP_WITHOUT_SOUND_SERVER();
        QTemporaryDir dir;
        const QString path = write(dir.filePath(u"tone.wav"_qs), toneWave(1, 16000, 16, 0.3));
        KeyRecorder window;
        window.show();
        int ticks = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        timer.start(0);
        // Keys typed while the sound plays wait in the queue.
        for (int key : {Qt::Key_1, Qt::Key_2, Qt::Key_Space}) {
            QCoreApplication::postEvent(&window,
                                        new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
        }

        const SoundOutcome outcome = playWaveToEnd(path);
        QVERIFY2(outcome.ok, qPrintable(outcome.error));
        QCOMPARE(ticks, 0);
        QVERIFY(window.keys.isEmpty());

        QCoreApplication::processEvents();
        QVERIFY(ticks > 0);
        QCOMPARE(window.keys, (QList<int>{Qt::Key_1, Qt::Key_2, Qt::Key_Space}));
    }

    void undecodableWaveFails() {
        SKIP_WITHOUT_SOUND_SERVER();
        // A wave file in a compressed encoding no installed decoder reads.
        QTemporaryDir dir;
        const QByteArray format = chunk("fmt ", le16(0x0002) + le16(1) + le32(8000) + le32(4096) +
                                                    le16(256) + le16(4) + le16(0));
        const QString path = write(dir.filePath(u"adpcm.wav"_qs),
                                   riff(format + chunk("data", QByteArray(10240, 'x'))));
        const SoundOutcome outcome = playWaveToEnd(path);
        QVERIFY(!outcome.ok);
        QVERIFY2(outcome.error.contains(QDir::toNativeSeparators(path)) &&
                     outcome.error.contains(u"形式番号 2"_qs),
                 qPrintable(outcome.error));
    }

    void stalledDeviceGivesUp() {
        SKIP_WITHOUT_SOUND_SERVER();
        // A suspended sink takes a stream but never plays it.
        if (!pactl({u"suspend-sink"_qs, u"@DEFAULT_SINK@"_qs, u"1"_qs})) {
            QSKIP("pactl cannot suspend the null sink");
        }
        QTemporaryDir dir;
        const QString path = write(dir.filePath(u"tone.wav"_qs), toneWave(1, 16000, 16, 0.3));
        QElapsedTimer clock;
        clock.start();
        const SoundOutcome outcome = playWaveToEnd(path);
        const qint64 took = clock.elapsed();
        qInfo("a 300 ms sound on a suspended sink gave up after %lld ms", took);
        QVERIFY(pactl({u"suspend-sink"_qs, u"@DEFAULT_SINK@"_qs, u"0"_qs}));
        QVERIFY(!outcome.ok);
        QVERIFY2(outcome.error.contains(u"応答しません"_qs), qPrintable(outcome.error));
        // It waited at least the sound's length (the watchdog is a coarse timer and may
        // fire a little early); how much later it returned depends on the machine's load.
        QVERIFY2(took >= 300, qPrintable(QString::number(took)));

        // The device works again afterwards.
        const SoundOutcome again = playWaveToEnd(path);
        QVERIFY2(again.ok, qPrintable(again.error));
    }
};

QTEST_MAIN(WavePlayerTest)
#include "test_wave_player.moc"
