#include "result/ResultRules.h"

#include "app/AppState.h"

#include <charconv>
#include <cmath>

namespace {

constexpr int firstTimedOutSeconds = 99998;
constexpr int noRecordAbove = 99997;
constexpr int neverClears = 9999;

const LevelCriteria& criteriaOf(const AppState& state, int level) {
    return state.criteria.at(static_cast<std::size_t>(level));
}

bool inTables(int level, int pupil) {
    return level >= 1 && level < Statistics::levels && pupil >= 0 && pupil < Statistics::pupils;
}

} // namespace

int resultPoints(int seconds, int targetSeconds) {
    if (seconds >= firstTimedOutSeconds || targetSeconds <= 0) {
        return 0;
    }
    const double h = targetSeconds;
    if (seconds <= targetSeconds) {
        const double share = (h - seconds) / h;
        return static_cast<int>(std::floor(share * share * share * 50 + 5));
    }
    if (seconds < 2.0 * h) {
        return 4;
    }
    if (seconds < 10.0 * h) {
        return 1;
    }
    return 0;
}

int earnedPoints(int points, float pointFactor) {
    return static_cast<int>(std::floor(static_cast<double>(pointFactor) * points));
}

QString shortestNumber(float value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

bool levelCleared(const AppState& state, int level, int pupil) {
    if (!inTables(level, pupil)) {
        return false;
    }
    const int cell = Statistics::cell(level, pupil);
    const LevelCriteria& criteria = criteriaOf(state, level);
    return state.stats.statJudgePoints[cell] >= criteria.clearPoints &&
           state.stats.statJudgeRuns[cell] >= criteria.clearCount;
}

bool someLevelNeverClears(const AppState& state) {
    for (int level = 1; level < Statistics::levels; ++level) {
        if (criteriaOf(state, level).clearCount == neverClears) {
            return true;
        }
    }
    return false;
}

bool overPractised(const AppState& state, int level, int pupil) {
    if (!inTables(level, pupil)) {
        return false;
    }
    const int cell = Statistics::cell(level, pupil);
    const LevelCriteria& criteria = criteriaOf(state, level);
    return (criteria.overuseRuns != 0 &&
            state.stats.statOveruseRuns[cell] >= criteria.overuseRuns) ||
           (criteria.overusePoints != 0 &&
            state.stats.statOverusePoints[cell] >= criteria.overusePoints);
}

int runsToday(const AppState& state, int pupil) {
    double sum = 0;
    for (int level = 1; level < Statistics::levels; ++level) {
        if (inTables(level, pupil)) {
            sum += state.stats.statRuns[Statistics::cell(level, pupil)];
        }
    }
    return static_cast<int>(std::lround(sum));
}

RecordOutcome recordOutcome(const AppState& state) {
    const RunState& run = state.run;
    if (run.timedOut == 1) {
        return RecordOutcome::TimedOut;
    }
    if (run.newBestFlags[0] == 1 && run.newBestFlags[1] != 1) {
        return RecordOutcome::PersonalBest;
    }
    if (run.newBestFlags[1] == 1) {
        return RecordOutcome::SchoolBest;
    }
    if (run.resultTime <= criteriaOf(state, run.levelNo).minimumSeconds) {
        return RecordOutcome::PassingTime;
    }
    return RecordOutcome::Slower;
}

RetryOffer retryOffer(const AppState& state) {
    const int level = state.run.levelNo;
    const int pupil = state.pupil.pupilIndex;
    if (!overPractised(state, level, pupil) || !levelCleared(state, level, pupil)) {
        return RetryOffer::Offer;
    }
    if (level == state.profile.finalLevel) {
        return RetryOffer::OfferAndHideClear;
    }
    return state.views.clearedAtMenu == 0 ? RetryOffer::NextLevelOnly : RetryOffer::Offer;
}

QString timeText(int resultTime) {
    if (resultTime > noRecordAbove) {
        return QStringLiteral("記録なし");
    }
    return QStringLiteral("今の成績：%1秒").arg(resultTime);
}

QString pointsText(int points, float factor, int earned) {
    return QStringLiteral("獲得ポイント：%1点×%2→%3点")
        .arg(points)
        .arg(shortestNumber(factor))
        .arg(earned);
}

QString dayRunsText(int totalRuns) {
    return QStringLiteral("（%1回目)").arg(totalRuns);
}

QString levelRunsText(float levelRuns) {
    return QStringLiteral(" (このレベル　%1回目)").arg(shortestNumber(levelRuns));
}

QString trimmedName(const QString& name) {
    const auto blank = [](QChar c) { return c == u' ' || c == u'\t' || c == u'　'; };
    qsizetype first = 0;
    qsizetype last = name.size();
    while (first < last && blank(name[first])) {
        ++first;
    }
    while (last > first && blank(name[last - 1])) {
        --last;
    }
    return name.mid(first, last - first);
}
