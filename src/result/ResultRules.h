#pragma once

#include <QString>

struct AppState;

// The judging of a recorded run on the result screen, as plain functions of the state.

// The points of a run of the given seconds against the level's target time: the whole
// part of ((h - f) / h)^3 x 50 + 5 for a time f at or below the target h (5 at the
// target, up to 55 for 0 s), 4 below twice the target, 1 below ten times, else 0; a
// timed-out run (99998 s and more) gets 0. The screen uses the time itself where the
// results counter uses its first three digits. A level without a target earns 0.
int resultPoints(int seconds, int targetSeconds);

// The points earned: the whole part of factor x points, the factor taken at its
// single-precision value and the product in double precision (1.3 x 10 earns 12).
int earnedPoints(int points, float pointFactor);

// The shortest decimal text of a value: 3 for 3.0, 1.3 for the single-precision 1.3.
QString shortestNumber(float value);

// The pupil's figures at the level meet its clear points and clear count.
bool levelCleared(const AppState& state, int level, int pupil);
// Some level 1..35 has the clear count 9999, which keeps the course-complete panel away.
bool someLevelNeverClears(const AppState& state);
// The pupil reached the level's over-practice runs or points (a limit of 0 is none).
bool overPractised(const AppState& state, int level, int pupil);
// Sum of today's runs of the pupil over levels 1..35.
int runsToday(const AppState& state, int pupil);

// What the record message and its sound are for the run just recorded.
enum class RecordOutcome {
    TimedOut,     // "時間切れ", no sound
    PersonalBest, // "新記録おめでとう" and the cue "自己最高音2"
    SchoolBest,   // "！！！最高新記録！！！" and the fixed sound "最高1.wav"
    PassingTime,  // no message; the cue "不合格音1" (at or below the lowest passing time)
    Slower,       // no message, no sound
};
RecordOutcome recordOutcome(const AppState& state);

// What the retry rules make of the lower part once the buttons are offered.
enum class RetryOffer {
    Offer,             // "もう一度" shown
    OfferAndHideClear, // "もう一度" shown, the clear label emptied and hidden
    NextLevelOnly,     // "次のレベルへ進みましょう", no retry
};
RetryOffer retryOffer(const AppState& state);

// The texts of the screen.
QString timeText(int resultTime); // "今の成績：57秒", or "記録なし"
QString pointsText(int points, float factor, int earned); // "獲得ポイント：11点×1.5→16点"
QString dayRunsText(int totalRuns);                       // "（3回目)"
QString levelRunsText(float levelRuns);                   // " (このレベル　2回目)"
QString trimmedName(const QString& name); // without half- or full-width blanks around
