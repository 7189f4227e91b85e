// Appends runs to a results file through the program's own recording code, for the
// tests that run several copies at once or kill one in the middle.
//
//   records_appender <drill data folder> <pupil> <first seconds> <count> [options]
//     count 0 appends until killed
//     --fast-waits    the one-second waits for a busy file take a millisecond
//     --file-limit N  the process may not make any file longer than N bytes
//
// Each run is recorded at level 1 with seconds = first seconds, first seconds + 1, ...
// and "appended <seconds>" is printed once its append has returned. A failure prints
// the message the program would show and ends with status 3.

#include "app/AppState.h"
#include "app/Environment.h"
#include "records/ResultsFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <csignal>
#include <cstdio>
#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace {

class AppenderTimer : public Timer {
public:
    explicit AppenderTimer(int divisor) : divisor_(divisor) {
        timer_.setSingleShot(false);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (singleShot) {
                timer_.stop();
            }
            if (onTimeout) {
                onTimeout();
            }
        });
    }
    void start(int intervalMs) override {
        interval_ = intervalMs;
        timer_.start(std::max(1, intervalMs / divisor_));
    }
    void stop() override { timer_.stop(); }
    bool isActive() const override { return timer_.isActive(); }
    int interval() const override { return interval_; }

private:
    int divisor_;
    int interval_ = 0;
    QTimer timer_;
};

class AppenderEnvironment : public Environment {
public:
    explicit AppenderEnvironment(int waitDivisor) : waitDivisor_(waitDivisor) { clock_.start(); }
    QDateTime now() override { return QDateTime::currentDateTime(); }
    std::int64_t monotonicMs() override { return clock_.elapsed(); }
    std::unique_ptr<Timer> createTimer() override {
        return std::make_unique<AppenderTimer>(waitDivisor_);
    }
    double random() override { return 0.5; }
    void reseed(std::uint32_t) override {}
    SoundOutcome playWave(const QString&) override { return {}; }
    MessageAnswer message(QWidget*, const QString& title, const QString& text, MessageButtons,
                          MessageIcon) override {
        std::fprintf(stdout, "message [%s] %s\n", title.toUtf8().constData(),
                     text.toUtf8().constData());
        std::fflush(stdout);
        return MessageAnswer::Ok;
    }
    bool startProcess(const QString&, const QStringList&, QString*) override { return false; }
    bool claimSingleInstance() override { return true; }
    void endProgram(int exitStatus) override { ended = exitStatus; }

    int ended = -1;

private:
    int waitDivisor_;
    QElapsedTimer clock_;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    int waitDivisor = 1;
    long long fileLimit = -1;
    for (int i = 0; i < args.size();) {
        if (args[i] == QLatin1String("--fast-waits")) {
            waitDivisor = 1000;
            args.removeAt(i);
        } else if (args[i] == QLatin1String("--file-limit") && i + 1 < args.size()) {
            fileLimit = args[i + 1].toLongLong();
            args.remove(i, 2);
        } else {
            ++i;
        }
    }
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: records_appender <folder> <pupil> <first> <count> "
                             "[--fast-waits] [--file-limit N]\n");
        return 2;
    }
#ifdef Q_OS_UNIX
    if (fileLimit >= 0) {
        // Beyond the limit a write is cut short (or refused) instead of raising a signal.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{static_cast<rlim_t>(fileLimit), static_cast<rlim_t>(fileLimit)};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
#endif

    AppenderEnvironment env(waitDivisor);
    AppState state;
    state.env = &env;
    state.layout.drillDataFolder = args[0];
    state.config.schoolCode = QStringLiteral("12345");
    state.pupil.pupilIndex = args[1].toInt();
    const int first = args[2].toInt();
    const int count = args[3].toInt();
    for (int i = 0; count == 0 || i < count; ++i) {
        state.run.resultTime = first + i;
        if (!recordRun(state, 1)) {
            return 3;
        }
        std::fprintf(stdout, "appended %d\n", first + i);
        std::fflush(stdout);
    }
    return 0;
}
