#include "drill/DrillEngine.h"

#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Messages.h"
#include "app/WaitWindow.h"
#include "drill/RunFigures.h"
#include "records/ResultsFile.h"
#include "records/TimedOut.h"
#include "result/SoundCues.h"
#include "text/LenientNumber.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int clockIntervalMs = 1000;
constexpr int minutesIntervalMs = 10000;
constexpr int waitBeforeResultMs = 1000;
constexpr int codeBackspace = 8;
constexpr int codeSpace = 32;
constexpr int codePlus = 43;
constexpr int maxAnswerLength = 3;
} // namespace

DrillEngine::DrillEngine(AppState& state)
    : state_(state), sTimer1_(state.env->createTimer()), sTimer2_(state.env->createTimer()),
      Timer1_(state.env->createTimer()), endWait_(state.env->createTimer()) {
    sTimer1_->onTimeout = [this] { clockTick(); };
    sTimer2_->onTimeout = [this] { minutesTick(); };
    Timer1_->singleShot = true;
    Timer1_->onTimeout = [this] { showHint(); };
    endWait_->singleShot = true;
    endWait_->onTimeout = [this] { leaveForResult(); };
}

DrillEngine::~DrillEngine() = default;

void DrillEngine::changed() {
    if (onChanged) {
        onChanged();
    }
}

void DrillEngine::eventsRun() {
    if (letEventsRun) {
        letEventsRun();
    } else {
        changed();
    }
}

bool DrillEngine::isPracticeLevel() const {
    return ::isPracticeLevel(state_, state_.run.levelNo);
}

bool DrillEngine::isTimedLevel() const {
    const int level = state_.run.levelNo;
    return level >= 0 && level < ProgramProfile::levelSlots &&
           state_.profile.levelTimed[level] != 0;
}

double DrillEngine::barWidth(double seconds) const {
    return std::clamp(seconds * state_.run.barScale, 0.0, double(DrillDisplay::trackWidth));
}

void DrillEngine::stopTimers() {
    sTimer1_->stop();
    sTimer2_->stop();
    Timer1_->stop();
    endWait_->stop();
}

// --- the screen's life ------------------------------------------------------------------

void DrillEngine::load() {
    state_.env->reseed(static_cast<std::uint32_t>(secondsSinceMidnight(*state_.env)));
    sTimer2_->start(minutesIntervalMs);
}

void DrillEngine::activate() {
    if (setUp_) {
        return;
    }
    setUp_ = true;
    display_.endPanelVisible = false;
    初期設定();
    レベル別設定();
    スタート();
    問題作成表示();
    changed();
}

void DrillEngine::初期設定() {
    RunState& run = state_.run;
    const int level = run.levelNo;
    closeWaitWindow(state_);
    run.runFinished = 0;
    run.endHandled = 0;
    run.judgement = 0;
    typedAnswer_.clear();

    if (isTimedLevel()) {
        const LevelCriteria& c = state_.criteria[level];
        run.timeLimit = 5 * c.minimumSeconds;
        display_.elapsed = QStringLiteral("0");
        run.barScale = run.timeLimit > 0 ? double(DrillDisplay::trackWidth) / run.timeLimit : 0;
        display_.progressWidth = 0;
        display_.targetWidth = barWidth(c.targetSeconds);
        display_.minimumWidth = barWidth(c.minimumSeconds);
    }

    const ProgramProfile& profile = state_.profile;
    display_.title = profile.programTitle;
    display_.titlePoints = profile.programTitle.size() > 9 ? 14 : 16.8;
    display_.pupilName = state_.pupil.pupilName.trimmed();
    display_.levelName = profile.levelNames[level];
    display_.schoolName = state_.config.schoolName;

    run.totalRuns = totalRunsToday(state_);
    display_.minutes = QString::number(minutesSinceLogin(state_));
    if (isPracticeLevel()) {
        display_.todayRun = QStringLiteral("－");
        display_.levelRun = QStringLiteral("－");
    } else {
        display_.todayRun = QString::number(run.totalRuns + 1);
        display_.levelRun = QString::number(std::lround(todayRuns(state_, level) + 1));
    }
    run.problemsPerRun = 10;
}

void DrillEngine::showRemaining() {
    display_.remaining = QString::number(state_.run.problemsPerRun - state_.run.correctCount);
}

void DrillEngine::レベル別設定() {
    showRemaining();
    changed();
}

void DrillEngine::スタート() {
    state_.run.runStartTimer = static_cast<float>(secondsSinceMidnight(*state_.env));
    // The run is timed on the monotonic clock: the wall clock jumps back at midnight.
    state_.run.runStartMonotonicMs = state_.env->monotonicMs();
    sTimer1_->start(clockIntervalMs);
}

// --- problems and the hint ------------------------------------------------------------------

void DrillEngine::問題作成表示() {
    const RunState& run = state_.run;
    if (run.timedOut == 1 || run.runFinished == 1 || run.judging == 1) {
        return;
    }
    Timer1_->stop();
    const UniformSource uniform = [this] { return state_.env->random(); };
    const int mode = problemModeFor(run.levelNo, uniform);

    display_.hintVisible = {};
    display_.upperArrowVisible = {};
    display_.lowerArrowVisible = {};
    display_.termOpaque = {};

    problem_ = drawProblem(mode, uniform);
    const std::array<int, 5> terms = termValues(problem_);
    for (int box = 1; box <= 4; ++box) {
        display_.boxCaption[box] =
            box == problem_.blankIndex ? QString() : QString::number(terms[box]);
        display_.boxCaption[box + 4] = QString::number(terms[box]);
    }
    const QString hint = hintText(problem_);
    display_.hintCaption = {hint, hint};
    display_.termOpaque[problem_.blankIndex] = true;

    Timer1_->start(hintDelayMs(run.correctCount, run.problemsPerRun));
    changed();
}

void DrillEngine::showHint() {
    Timer1_->stop();
    display_.hintVisible = {true, true};
    const int arrow = hintPointsRight(problem_) ? 0 : 1;
    display_.upperArrowVisible[arrow] = true;
    display_.lowerArrowVisible[arrow] = true;
    changed();
}

// --- keys -------------------------------------------------------------------------------------

void DrillEngine::showTypedAnswer() {
    if (problem_.blankIndex >= 1 && problem_.blankIndex <= 4) {
        display_.boxCaption[problem_.blankIndex] = typedAnswer_;
    }
    changed();
}

void DrillEngine::keyPress(int code) {
    RunState& run = state_.run;
    if (run.timedOut == 1 || run.runFinished == 1) {
        return; // files are closed after every operation, so there is none to close here
    }
    if (run.judging == 1) {
        return;
    }
    if (run.confirmState == 0) {
        if (code == codeSpace) {
            run.judging = 1;
            判定();
            判定後処理();
            run.judging = 0;
        } else if (code == codeBackspace) {
            if (!typedAnswer_.isEmpty()) {
                typedAnswer_.chop(1);
                showTypedAnswer();
            }
        } else if (typedAnswer_.size() >= maxAnswerLength) {
            playFixed(state_, QStringLiteral("警告1.wav"));
        } else if (code >= 42 && code <= 57 && code != codePlus) {
            typedAnswer_.append(QChar(code));
            showTypedAnswer();
        }
        return;
    }
    if (code == codePlus && run.confirmState == 1) {
        run.confirmState = 2;
    } else if (code == codePlus && run.confirmState == 2) {
        Commandkakunin_Click();
    } else {
        run.confirmState = 1;
    }
}

void DrillEngine::keyDown(Arrow arrow) {
    switch (arrow) {
    case Arrow::Left:
        if (!typedAnswer_.isEmpty()) {
            typedAnswer_.chop(1);
            showTypedAnswer();
        }
        break;
    case Arrow::Up:
    case Arrow::Right:
        typedAnswer_.clear();
        showTypedAnswer();
        break;
    case Arrow::Down:
        break;
    }
}

// --- judging ------------------------------------------------------------------------------------

void DrillEngine::判定() {
    RunState& run = state_.run;
    if (run.timedOut == 1 || run.runFinished == 1) {
        run.judging = 0;
        return;
    }
    // Judged on the ratios as displayed, by cross-multiplication: whatever the pupil
    // typed stands in the blank box.
    const auto value = [this](int box) { return lenientNumber(display_.boxCaption[box]); };
    run.judgement = value(1) * value(4) == value(3) * value(2) ? 1 : 2;
}

void DrillEngine::判定後処理() {
    RunState& run = state_.run;
    if (run.timedOut == 1 || run.runFinished == 1) {
        return;
    }
    if (run.judgement == 1) {
        run.judgement = 0;
        if (!playCue(state_, 正解音2)) {
            return; // the program is ending
        }
        run.correctCount += 1;
        showRemaining();
        if (run.correctCount < run.problemsPerRun) {
            run.judging = 0;
            typedAnswer_.clear();
            問題作成表示();
        } else {
            sTimer1_->stop();
            run.runFinished = 1;
            changed();
            endRun();
        }
        return;
    }
    run.confirmState = 1;
    display_.hintVisible = {true, true};
    display_.upperArrowVisible = {true, true};
    display_.lowerArrowVisible = {true, true};
    if (problem_.blankIndex >= 1 && problem_.blankIndex <= 4) {
        display_.answerVisible[4 + problem_.blankIndex] = true;
    }
    if (run.levelNo == 2) {
        Timer1_->stop();
    }
    eventsRun();
    if (!playCue(state_, 間違い音2)) {
        return;
    }
    run.correctCount = std::max(run.correctCount - 1, 0);
    showRemaining();
    run.judging = 0;
    display_.confirmPromptVisible = true;
    changed();
}

void DrillEngine::Commandkakunin_Click() {
    display_.confirmPromptVisible = false;
    state_.run.confirmState = 0;
    display_.answerVisible = {};
    typedAnswer_.clear();
    問題作成表示();
    changed();
}

// --- the clock and the end of the run ---------------------------------------------------------

void DrillEngine::clockTick() {
    RunState& run = state_.run;
    const double since = (state_.env->monotonicMs() - run.runStartMonotonicMs) / 1000.0;
    run.elapsedSeconds = static_cast<int>(roundHalfEven(since));
    const bool timed = isTimedLevel();
    if (timed) {
        display_.elapsed = QString::number(run.elapsedSeconds);
        if (run.elapsedSeconds < run.timeLimit) {
            display_.progressWidth = barWidth(run.elapsedSeconds);
        }
    }
    eventsRun();
    // A level without the time bar has no limit either.
    if (!timed || run.elapsedSeconds < run.timeLimit) {
        if (timed) {
            display_.progressWidth = barWidth(run.elapsedSeconds);
        }
        changed();
        return;
    }
    display_.progressWidth = DrillDisplay::trackWidth;
    changed();
    if (run.endHandled == 0 && run.runFinished == 0 && run.judging == 0) {
        run.timedOut = 1;
        sTimer1_->stop();
        endRun();
    }
}

void DrillEngine::minutesTick() {
    // Files are closed after every operation, so the ten-minute file check has nothing to do.
    display_.minutes = QString::number(minutesSinceLogin(state_));
    changed();
}

void DrillEngine::endRun() {
    RunState& run = state_.run;
    eventsRun();
    if (run.endHandled == 1) {
        return;
    }
    run.endHandled = 1;
    display_.endPanelVisible = true;
    display_.timeUpShown = run.timedOut == 1;
    display_.recordingShown = run.timedOut != 1;
    changed();
    eventsRun();

    if (isPracticeLevel() || !isTimedLevel()) {
        // Nothing is recorded; the wait window stays up until the next run's set-up.
        stopTimers();
        showWaitWindow(state_);
        if (state_.routes.openLevelMenu) {
            state_.routes.openLevelMenu();
        }
        return;
    }
    sTimer1_->stop();
    run.resultTime = run.timedOut != 0 ? timedOutSeconds : run.elapsedSeconds;
    if (!recordRun(state_, run.levelNo)) {
        stopTimers();
        return; // the program is ending
    }
    showWaitWindow(state_);
    eventsRun();
    // The second's pause runs on a timer, so window events keep flowing meanwhile.
    endWait_->start(waitBeforeResultMs);
}

void DrillEngine::leaveForResult() {
    stopTimers();
    if (state_.routes.openResultScreen) {
        state_.routes.openResultScreen();
    }
}

bool DrillEngine::closeRequested() {
    RunState& run = state_.run;
    if (!setUp_) {
        return true;
    }
    if (run.endHandled == 1 || run.judging == 1) {
        // The result follows within a second, or an answer is being judged right now.
        return false;
    }
    const MessageAnswer answer =
        showMessage(state_, nullptr, QStringLiteral("注意"),
                    QStringLiteral("途中でやめると、この回の成績は記録されません。\n"
                                   "やめてメニューにもどりますか？"),
                    MessageButtons::YesNo, MessageIcon::Question);
    if (answer != MessageAnswer::Yes || run.endHandled == 1) {
        return false; // carry on, or the run ended while the question was open
    }
    run.endHandled = 1;
    stopTimers();
    if (!state_.routes.openLevelMenu) {
        return true;
    }
    state_.routes.openLevelMenu();
    return false;
}
