#pragma once

#include "app/Environment.h"

#include <QDateTime>
#include <QMarginsF>
#include <QString>
#include <QStringList>
#include <array>
#include <deque>
#include <functional>
#include <vector>

// The outside world for tests: a hand-driven clock with timers, a scripted random
// source, and records of what was played, shown and started.
class FakeEnvironment : public Environment {
public:
    struct Message {
        QString title;
        QString text;
        MessageButtons buttons;
        MessageIcon icon;
    };
    struct Process {
        QString program;
        QStringList arguments;
    };

    FakeEnvironment();
    ~FakeEnvironment() override;

    // --- the clock -----------------------------------------------------------------
    void setNow(const QDateTime& dateTime) { now_ = dateTime; }
    // Moves the wall clock and the monotonic clock forward, firing due timers in order.
    void advance(std::int64_t ms);
    int activeTimers() const;

    // --- randomness: scripted values first, then a fixed sequence -------------------
    std::deque<double> randomValues;
    std::vector<std::uint32_t> seeds;

    // --- sound -----------------------------------------------------------------------
    std::vector<QString> played;
    // Decides the outcome of each play; by default every play succeeds.
    std::function<SoundOutcome(const QString&)> soundOutcome;
    // Runs during a play, to check that nothing else happens while a sound plays.
    std::function<void(const QString&)> duringPlay;

    // --- messages --------------------------------------------------------------------
    std::vector<Message> messages;
    std::deque<MessageAnswer> answers; // next answers; Ok (or Yes) when empty
    // Runs while a message is on show, before it is answered (as a pupil would, meanwhile).
    std::function<void(const Message&)> duringMessage;

    // --- printing: each job on the "default printer" is a PDF file in printFolder --------
    bool printerInstalled = true;
    // The default printer's page: its margins in millimetres (none, as a PDF file's, unless
    // a test sets them) and whether the device's origin is the paper's corner.
    QMarginsF printerMargins;
    bool printerFullPage = true;
    QString printFolder;                 // the artefact folder unless a test sets one
    std::vector<QString> printed;        // the PDF file of every job opened, in order
    std::deque<QString> saveFileAnswers; // answers to chooseSaveFile; empty: cancelled
    std::vector<QString> saveFileQuestions;

    // --- the disk: each step that changes a record file asks fileFaults, with how many
    // steps of its kind (counting from 1) this one is; no function: every step goes.
    std::function<FileFault(FileStep step, int nth)> fileFaults;
    std::array<int, 3> fileStepsAsked{}; // by FileStep: writes, flushes, truncations

    // --- processes and the end of the program -----------------------------------------
    std::vector<Process> processes;
    bool processStarts = true;
    bool otherCopyRunning = false;
    int endedWith = -1; // exit status, -1 while the program has not ended

    QDateTime now() override { return now_; }
    std::int64_t monotonicMs() override { return monotonic_; }
    std::unique_ptr<Timer> createTimer() override;
    double random() override;
    void reseed(std::uint32_t seed) override { seeds.push_back(seed); }
    SoundOutcome playWave(const QString& path) override;
    MessageAnswer message(QWidget* parent, const QString& title, const QString& text,
                          MessageButtons buttons, MessageIcon icon) override;
    bool startProcess(const QString& program, const QStringList& arguments,
                      QString* error) override;
    std::unique_ptr<PrintJob> openDefaultPrinter(const PrintRequest& request,
                                                 QString* reason) override;
    QString chooseSaveFile(QWidget* parent, const QString& caption, const QString& suggestedName,
                           const QString& filter) override;
    FileFault fileFault(FileStep step) override;
    bool claimSingleInstance() override { return !otherCopyRunning; }
    void endProgram(int exitStatus) override { endedWith = exitStatus; }

private:
    class FakeTimer;
    friend class FakeTimer;

    QDateTime now_;
    std::int64_t monotonic_ = 1000000;
    std::uint64_t sequence_ = 1;
    std::vector<FakeTimer*> timers_;
};
