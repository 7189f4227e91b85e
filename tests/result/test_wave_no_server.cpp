// Playing when the sound server is broken: a server that takes the connection but never
// answers must not hang the program (the play gives up within the sound's length plus a
// few seconds), and with no server at all a play fails at once saying there is no audio
// device. Neither needs a working server: this test makes its own broken one.
#include "WaveSamples.h"
#include "result/WavePlayer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace wavesamples;

namespace {

// A Unix socket that lets clients connect (the kernel queues them) and never answers.
int listenSilently(const QByteArray& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (fd < 0 || path.size() >= static_cast<qsizetype>(sizeof address.sun_path)) {
        qFatal("no socket for the silent server");
    }
    std::copy(path.begin(), path.end(), address.sun_path);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, 16) != 0) {
        qFatal("the silent server cannot listen at %s", path.constData());
    }
    return fd;
}

} // namespace

class WaveNoServerTest : public QObject {
    Q_OBJECT

public:
    explicit WaveNoServerTest(int serverFd) : serverFd_(serverFd) {}

private slots:
    void brokenServer() {
        QTemporaryDir dir;
        const QString path = write(dir.filePath(u"tone.wav"_qs), toneWave(1, 16000, 16, 0.5));

        QElapsedTimer clock;
        clock.start();
        const SoundOutcome silent = playWaveToEnd(path);
        const qint64 took = clock.elapsed();
        qInfo("a 500 ms sound with a silent server gave up after %lld ms", took);
        QVERIFY(!silent.ok);
        QVERIFY2(silent.error.contains(u"音声装置が応答しません"_qs), qPrintable(silent.error));
        // It gave the server the caller's limit before giving up. How much later it
        // returned depends on the machine's load, so only the lower bound is a rule.
        QVERIFY2(took >= PlaybackLimits::callerLimitMs(500) - 100,
                 qPrintable(QString::number(took)));

        // The server goes away: the worker left waiting for it finishes, and the next play
        // learns that there is no device (not that the device stopped answering, which
        // is what a play that waited for the watchdog would say).
        ::close(serverFd_);
        clock.restart();
        const SoundOutcome none = playWaveToEnd(path);
        qInfo("with no server a play failed after %lld ms", clock.elapsed());
        QVERIFY(!none.ok);
        QVERIFY2(none.error.contains(u"音声装置がありません"_qs), qPrintable(none.error));
        // The abandoned worker deletes itself through the event loop.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

private:
    int serverFd_;
};

int main(int argc, char** argv) {
    // The server must be chosen before the audio library first looks for one.
    QTemporaryDir folder;
    const QByteArray socketPath = QFile::encodeName(folder.filePath(u"native"_qs));
    const int fd = listenSilently(socketPath);
    qputenv("PULSE_SERVER", "unix:" + socketPath);
    qputenv("PULSE_CLIENTCONFIG", QFile::encodeName(folder.filePath(u"none.conf"_qs)));
    QApplication app(argc, argv);
    WaveNoServerTest test(fd);
    return QTest::qExec(&test, argc, argv);
}

#include "test_wave_no_server.moc"
