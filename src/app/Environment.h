#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>

class QWidget;
class PrintJob;
struct PrintRequest;

// A timer whose ticks come from the environment, so tests can advance time by hand.
class Timer {
public:
    virtual ~Timer() = default;
    // Starts (or restarts) the timer; with singleShot it fires once.
    virtual void start(int intervalMs) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    virtual int interval() const = 0;

    bool singleShot = false;
    std::function<void()> onTimeout;
};

// A step that changes a file on the disk or on the classroom's network share.
enum class FileStep { Write, Flush, Truncate };

// What the disk or the share makes of one such step. By default nothing: the system's own
// answer stands. A non-zero errorNumber fails the step without doing it; for a write,
// writtenBytes >= 0 lets only that many bytes through, as a write cut short does.
struct FileFault {
    int errorNumber = 0;
    std::int64_t writtenBytes = -1;
};

enum class MessageIcon { None, Information, Warning, Critical, Question };
enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct SoundOutcome {
    bool ok = true;
    QString error; // readable description when ok is false
};

// Everything the outside world decides: clock, randomness, sound, message boxes,
// other processes, the end of the program. The program uses SystemEnvironment;
// tests use a fake that records what happened.
class Environment {
public:
    virtual ~Environment() = default;

    // Local date and time of day.
    virtual QDateTime now() = 0;
    // Milliseconds on a monotonic clock (never jumps at midnight or with clock changes).
    virtual std::int64_t monotonicMs() = 0;
    virtual std::unique_ptr<Timer> createTimer() = 0;

    // One uniform generator over [0, 1).
    virtual double random() = 0;
    virtual void reseed(std::uint32_t seed) = 0;

    // Plays a wave file to its end before returning; nothing of ours runs meanwhile.
    virtual SoundOutcome playWave(const QString& path) = 0;

    virtual MessageAnswer message(QWidget* parent, const QString& title, const QString& text,
                                  MessageButtons buttons, MessageIcon icon) = 0;

    // Starts another program, detached; false with a description when it cannot start.
    virtual bool startProcess(const QString& program, const QStringList& arguments,
                              QString* error) = 0;

    // A print job on the system's default printer; null with the reason when no printer is
    // installed or it cannot start (app/PrintJob.h offers a PDF file then).
    // A world without printers by default (tools and benchmarks print nothing).
    virtual std::unique_ptr<PrintJob> openDefaultPrinter(const PrintRequest& request,
                                                         QString* reason);
    // Asks where to save a file; empty when the question is cancelled.
    virtual QString chooseSaveFile(QWidget* parent, const QString& caption,
                                   const QString& suggestedName, const QString& filter);

    // Asked before each step that changes a shared record file; the real disk needs no
    // help to fail, so the program's own environments answer "nothing".
    virtual FileFault fileFault(FileStep step);

    // True when this is the only running copy of the program on this PC.
    virtual bool claimSingleInstance() = 0;

    // Ends the program with the exit status. The fake only records it and returns,
    // so callers return straight after calling it.
    virtual void endProgram(int exitStatus) = 0;
};
