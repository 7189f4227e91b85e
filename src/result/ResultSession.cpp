#include "result/ResultSession.h"

#include "app/AppState.h"
#include "app/Environment.h"
#include "app/WaitWindow.h"
#include "records/ResultsFile.h"
#include "result/ResultRules.h"
#include "result/SoundCues.h"

ResultSession::ResultSession(AppState& state) : state_(state), timer1_(state.env->createTimer()) {
    timer1_->singleShot = true;
    timer1_->onTimeout = [this] { offerButtons(); };
}

ResultSession::~ResultSession() = default;

bool ResultSession::timerActive() const {
    return timer1_->isActive();
}

void ResultSession::refresh() {
    if (letEventsRun) {
        letEventsRun();
    }
}

bool ResultSession::playing(const std::function<bool()>& play) {
    soundPlaying_ = true;
    const bool goingOn = play();
    soundPlaying_ = false;
    if (goingOn && tickWaiting_) {
        tickWaiting_ = false;
        offerButtons();
    }
    return goingOn;
}

void ResultSession::showRecordMessage(const QString& text) {
    display_.recordText = text;
    display_.recordShown = true;
    refresh();
}

bool ResultSession::evaluate() {
    AppState& s = state_;
    const int level = s.run.levelNo;
    const int pupil = s.pupil.pupilIndex;
    const LevelCriteria& criteria = s.criteria.at(static_cast<std::size_t>(level));

    // 1. The run just recorded is counted with the others.
    if (!countResults(s)) {
        return false;
    }

    // 2. The clear state.
    const bool cleared = levelCleared(s, level, pupil);
    const bool finalLevel = level == s.profile.finalLevel;
    if (cleared) {
        display_.clearShown = true;
        if (finalLevel && !someLevelNeverClears(s)) {
            display_.coursePanelShown = true;
        }
    }

    // 3.
    refresh();
    if (leaving_) {
        return finishEvaluation();
    }
    timer1_->start(timerIntervalMs);

    // 4.-7. Time, points and names.
    const int points = resultPoints(s.run.resultTime, criteria.targetSeconds);
    const int earned = earnedPoints(points, criteria.pointFactor);
    display_.pointsText = pointsText(points, criteria.pointFactor, earned);
    display_.timeText = timeText(s.run.resultTime);
    display_.pupilName = trimmedName(s.pupil.pupilName);
    display_.title = s.profile.programTitle;
    display_.levelName = s.profile.levelNames.at(static_cast<std::size_t>(level));
    display_.levelRuns = levelRunsText(s.stats.statRuns[Statistics::cell(level, pupil)]);
    s.run.totalRuns = runsToday(s, pupil);
    display_.dayRuns = dayRunsText(s.run.totalRuns);

    // 8.
    refresh();
    if (leaving_) {
        return finishEvaluation();
    }

    // 9. The record message and its sound.
    bool goingOn = true;
    switch (recordOutcome(s)) {
    case RecordOutcome::TimedOut:
        showRecordMessage(QStringLiteral("時間切れ"));
        break;
    case RecordOutcome::PersonalBest:
        showRecordMessage(QStringLiteral("新記録おめでとう"));
        goingOn = playing([&] { return playCue(s, 自己最高音2); });
        refresh();
        break;
    case RecordOutcome::SchoolBest:
        showRecordMessage(QStringLiteral("！！！最高新記録！！！"));
        goingOn = playing([&] {
            playFixed(s, QStringLiteral("最高1.wav"));
            return true;
        });
        refresh();
        break;
    case RecordOutcome::PassingTime:
        goingOn = playing([&] { return playCue(s, 不合格音1); });
        break;
    case RecordOutcome::Slower:
        break;
    }
    if (!goingOn) {
        return false;
    }
    if (leaving_) {
        return finishEvaluation();
    }

    // 10. The whole course cleared.
    if (cleared && finalLevel) {
        if (s.run.alreadyCleared != 1) {
            playing([&] {
                playFixed(s, QStringLiteral("合格.wav"));
                return true;
            });
        }
    } else {
        display_.coursePanelShown = false;
    }

    return finishEvaluation();
}

bool ResultSession::finishEvaluation() {
    // 11. Also when the pupil has already chosen a button (a click waiting while a sound
    // played is handled as soon as the buttons appear): the run's new-best flags are spent,
    // or the next run would announce a record it did not make, and the wait window must
    // not stay over the level menu.
    state_.run.newBestFlags = {0, 0};
    if (!leaving_) {
        refresh();
    }
    closeWaitWindow(state_);
    return true;
}

void ResultSession::offerButtons() {
    if (soundPlaying_) {
        tickWaiting_ = true;
        return;
    }
    if (leaving_) {
        return;
    }
    // 1.
    display_.coursePanelShown = false;
    display_.menuShown = true;
    refresh();
    if (leaving_) {
        return;
    }
    display_.menuFocused = true;
    timer1_->stop();

    // 2.-7.
    switch (retryOffer(state_)) {
    case RetryOffer::Offer:
        display_.retryShown = true;
        break;
    case RetryOffer::OfferAndHideClear:
        display_.clearText.clear();
        display_.clearShown = false;
        display_.retryShown = true;
        break;
    case RetryOffer::NextLevelOnly:
        display_.clearText = QStringLiteral("次のレベルへ進みましょう");
        display_.retryShown = false;
        break;
    }
    refresh();
}
