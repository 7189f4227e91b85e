#pragma once

#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <functional>

class FakeEnvironment;
class ScreenHost;
struct AppState;

// Does, in the middle of a step that lets window events run, everything a pupil could do
// to the program's window: clicks every visible and enabled control (buttons, boxes, the
// lines of lists, double-clicks included), presses the keys the screens answer to and asks
// the window to close. All of it goes through real events, so whatever the window lets
// through acts. Returns whether the window was busy at the time (false: the caller was not
// inside a step marked as one, and everything it did may have acted at once).
bool probeEverything(ScreenHost& host, AppState& state);

// Probes once from inside every step that lets window events run (a wait for a file, a
// list build, a message box's loop...): when the window becomes busy, the probe is queued
// and runs from the step's own event loop. Steps that run no event loop (a fake sound or
// message) are probed from their hooks by calling probeEverything there.
class WaitProbe : public QObject {
    Q_OBJECT
public:
    WaitProbe(ScreenHost& host, AppState& state);
    ~WaitProbe() override;

    // Also probes while the fake environment plays a sound or shows a message (steps that
    // run no event loop of their own), before any hook the test had set there.
    void watchSoundsAndMessages(FakeEnvironment& env);

    // Runs after each probe, still inside the step: lets the wait end, say.
    std::function<void()> afterProbe;
    // No more probes after this many: keys held during a step reach the screen afterwards
    // and may start further steps, which would be probed again.
    int limit = 12;
    // Probes made, and those that found the window not busy (a fault).
    int probes = 0;
    int unguarded = 0;
    // The screens (object names) the probes acted on, in order.
    QStringList screens;

    // One probe now, counted like the queued ones.
    void probeNow();

private:
    void queue();

    ScreenHost& host_;
    AppState& state_;
    FakeEnvironment* env_ = nullptr;
    bool probing_ = false;
};

// Finishes held switches and deletions, then checks that the window shows exactly one
// screen, alive and visible, with no other screen anywhere (a hidden one left behind, a
// drill of its own) and no wait window on show. Empty when all is well; otherwise what
// is wrong.
QString screenTrouble(ScreenHost& host, AppState& state);

// Another copy of the program holding the results file's lock (a real second process),
// until release() or the end of the object.
class HeldResultsFile {
public:
    explicit HeldResultsFile(const QString& resultsPath);
    ~HeldResultsFile();
    HeldResultsFile(const HeldResultsFile&) = delete;
    HeldResultsFile& operator=(const HeldResultsFile&) = delete;

    bool holding() const { return holding_; }
    void release();

private:
    QProcess process_;
    bool holding_ = false;
};

// A plain screen standing in for one a route opens, named after it, so a test can see
// which screen a route brought up without building the real one.
void showStandIn(AppState& state, const QString& name);
