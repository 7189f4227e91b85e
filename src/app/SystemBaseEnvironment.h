#pragma once

#include "app/Environment.h"

#include <memory>
#include <random>

class QLockFile;

// The real world both the windowed program and the technician's tools live in: Qt's
// clocks and timers, the random generator and the one-copy lock. What reaches the person
// at the PC (sound, messages, other programs, printers, the end of the program) each of
// them decides for itself.
class SystemBaseEnvironment : public Environment {
public:
    SystemBaseEnvironment();
    ~SystemBaseEnvironment() override;

    QDateTime now() override;
    std::int64_t monotonicMs() override;
    std::unique_ptr<Timer> createTimer() override;
    double random() override;
    void reseed(std::uint32_t seed) override;
    bool claimSingleInstance() override;

private:
    std::mt19937 generator_;
    std::unique_ptr<QLockFile> instanceLock_;
};
