#include "app/SystemBaseEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLockFile>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace {

class QtTimer : public Timer {
public:
    QtTimer() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (singleShot) {
                timer_.stop();
            }
            if (onTimeout) {
                onTimeout();
            }
        });
    }
    void start(int intervalMs) override { timer_.start(intervalMs); }
    void stop() override { timer_.stop(); }
    bool isActive() const override { return timer_.isActive(); }
    int interval() const override { return timer_.interval(); }

private:
    QTimer timer_;
};

} // namespace

SystemBaseEnvironment::SystemBaseEnvironment() : generator_(std::random_device{}()) {}

SystemBaseEnvironment::~SystemBaseEnvironment() = default;

QDateTime SystemBaseEnvironment::now() {
    return QDateTime::currentDateTime();
}

std::int64_t SystemBaseEnvironment::monotonicMs() {
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return clock.elapsed();
}

std::unique_ptr<Timer> SystemBaseEnvironment::createTimer() {
    return std::make_unique<QtTimer>();
}

double SystemBaseEnvironment::random() {
    // Every draw of the program is floor(u * n + 1) and needs u below 1; the distribution
    // may round up to 1 itself.
    const double u = std::uniform_real_distribution<double>(0.0, 1.0)(generator_);
    return std::min(u, std::nextafter(1.0, 0.0));
}

void SystemBaseEnvironment::reseed(std::uint32_t seed) {
    generator_.seed(seed);
}

bool SystemBaseEnvironment::claimSingleInstance() {
    // A lock file names its holder's process; a copy that crashed leaves a lock whose
    // process is gone, and QLockFile treats that as stale and takes it over.
    if (!instanceLock_) {
        instanceLock_ = std::make_unique<QLockFile>(QDir::temp().filePath("mirunea.lock"));
        instanceLock_->setStaleLockTime(0);
    }
    return instanceLock_->isLocked() || instanceLock_->tryLock(0);
}
