#pragma once

#include "app/Environment.h"

#include <QDateTime>

// A quiet outside world whose clock stands still at `now`: nothing is shown, played,
// printed or started. A message or an end of the program means the benchmark went wrong,
// so the first is printed and the second stops the run.
class QuietEnvironment : public Environment {
public:
    explicit QuietEnvironment(QDateTime now) : now_(std::move(now)) {}

    QDateTime now() override { return now_; }
    std::int64_t monotonicMs() override { return 0; }
    std::unique_ptr<Timer> createTimer() override { return nullptr; }
    double random() override { return 0.5; }
    void reseed(std::uint32_t) override {}
    SoundOutcome playWave(const QString&) override { return {}; }
    MessageAnswer message(QWidget*, const QString& title, const QString& text, MessageButtons,
                          MessageIcon) override;
    bool startProcess(const QString&, const QStringList&, QString*) override { return false; }
    std::unique_ptr<PrintJob> openDefaultPrinter(const PrintRequest&, QString*) override;
    QString chooseSaveFile(QWidget*, const QString&, const QString&, const QString&) override {
        return QString();
    }
    bool claimSingleInstance() override { return true; }
    void endProgram(int status) override;

private:
    QDateTime now_;
};
