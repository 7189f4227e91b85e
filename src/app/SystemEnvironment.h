#pragma once

#include "app/Environment.h"

#include <memory>
#include <random>

class QLockFile;

// The real world: Qt's clocks and timers, message boxes and processes.
class SystemEnvironment : public Environment {
public:
    SystemEnvironment();
    ~SystemEnvironment() override;

    QDateTime now() override;
    std::int64_t monotonicMs() override;
    std::unique_ptr<Timer> createTimer() override;
    double random() override;
    void reseed(std::uint32_t seed) override;
    SoundOutcome playWave(const QString& path) override;
    MessageAnswer message(QWidget* parent, const QString& title, const QString& text,
                          MessageButtons buttons, MessageIcon icon) override;
    bool startProcess(const QString& program, const QStringList& arguments,
                      QString* error) override;
    std::unique_ptr<PrintJob> openDefaultPrinter(const PrintRequest& request,
                                                 QString* reason) override;
    QString chooseSaveFile(QWidget* parent, const QString& caption, const QString& suggestedName,
                           const QString& filter) override;
    bool claimSingleInstance() override;
    void endProgram(int exitStatus) override;

private:
    std::mt19937 generator_;
    std::unique_ptr<QLockFile> instanceLock_;
};
