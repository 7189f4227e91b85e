#pragma once

#include "drill/DrillDisplay.h"
#include "drill/Problem.h"

#include <QString>
#include <functional>
#include <memory>

struct AppState;
class Timer;

// The drill of one run over AppState, without widgets: problem making, key entry,
// judging, the clock, the time limit and the end of the run. The drill screen forwards
// its events here and shows display() whenever onChanged is called.
class DrillEngine {
public:
    enum class Arrow { Left, Up, Right, Down };

    explicit DrillEngine(AppState& state);
    ~DrillEngine();
    DrillEngine(const DrillEngine&) = delete;
    DrillEngine& operator=(const DrillEngine&) = delete;

    // Set by the screen: show display() now; and paint, then let pending window events run.
    std::function<void()> onChanged;
    std::function<void()> letEventsRun;

    const DrillDisplay& display() const { return display_; }
    const Problem& problem() const { return problem_; }
    const QString& typedAnswer() const { return typedAnswer_; }
    bool isSetUp() const { return setUp_; }

    // The screen has loaded: reseeds the random source and starts the minutes clock.
    void load();
    // The screen has become active. The first time sets up and starts the run; later
    // activations leave the run alone, so that switching windows cannot reset the clock.
    void activate();

    void 初期設定();
    void レベル別設定();
    void スタート();
    void 問題作成表示();

    // A character key (its character code: 8 backspace, 32 space, 43 "+").
    void keyPress(int code);
    // An arrow key, handled at any time.
    void keyDown(Arrow arrow);

    void 判定();
    void 判定後処理();
    void Commandkakunin_Click();
    void endRun();

    // The pupil asks to close the window. During a run, after a confirmation, the run is
    // abandoned without a record and the level menu comes back. Returns true only when the
    // window itself may close (no run to protect and nowhere to go back to).
    bool closeRequested();

private:
    void showHint();
    void clockTick();
    void minutesTick();
    void leaveForResult();
    void stopTimers();
    void showTypedAnswer();
    void showRemaining();
    void changed();
    void eventsRun();
    bool isPracticeLevel() const;
    bool isTimedLevel() const;
    double barWidth(double seconds) const;

    AppState& state_;
    Problem problem_;
    QString typedAnswer_;
    DrillDisplay display_;
    std::unique_ptr<Timer> sTimer1_; // the run clock, every second
    std::unique_ptr<Timer> sTimer2_; // minutes since the name was chosen, every 10 s
    std::unique_ptr<Timer> Timer1_;  // the delayed hint of each problem
    std::unique_ptr<Timer> endWait_; // the second between recording and the result screen
    bool setUp_ = false;
};
