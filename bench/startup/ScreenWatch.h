#pragma once

#include <QString>
#include <QStringList>
#include <sys/types.h>

// A virtual X server of the benchmark's own, started with -displayfd so no display number
// is guessed, and ended with the watch.
class VirtualScreen {
public:
    VirtualScreen(int width, int height);
    ~VirtualScreen();
    bool started() const { return display_ >= 0; }
    QString display() const { return QStringLiteral(":%1").arg(display_); }

private:
    pid_t server_ = -1;
    int display_ = -1;
};

// One start of a program, timed from just before it is spawned to the last change of the
// screen after which the screen stays still for settleMs (the X server's damage reports,
// so nothing is polled). Resident memory is read from /proc/PID/status while the screen
// is still; the program is ended afterwards.
struct StartMeasure {
    bool ok = false;
    QString failure;
    double stillSeconds = 0;     // start to the last change of the screen
    double firstSeconds = 0;     // start to the first change of the screen
    long residentKb = 0;         // VmRSS
    double cpuSeconds = 0;       // processor time (user and system) spent up to the still screen
    int largestWindowWidth = 0;  // the largest mapped top-level window, as a check that
    int largestWindowHeight = 0; // a full window, not the splash, is what stays
};

StartMeasure measureStart(const QString& display, const QString& program,
                          const QString& workingFolder, const QString& tempFolder, int settleMs,
                          int timeoutMs);
