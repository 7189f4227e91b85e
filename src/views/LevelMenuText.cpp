#include "views/LevelMenuText.h"

#include "app/AppState.h"
#include "app/Environment.h"

#include <QDateTime>
#include <cmath>

namespace {

constexpr int noClearRequirement = 9999;

int cellOf(const AppState& state, int level) {
    return Statistics::cell(level, state.pupil.pupilIndex);
}

} // namespace

QString shortNumber(double value) {
    // Seven significant digits read a 32-bit float back as it was typed (1.3, not
    // 1.29999995); integers come out without a decimal point.
    return QString::number(value, 'g', 7);
}

QString startCaption(int level) {
    return QStringLiteral("ｽﾀｰﾄ(&%1)").arg(level);
}

QString criteriaLine(const AppState& state, int level) {
    const LevelCriteria& c = state.criteria[level];
    const QString target = QString::number(c.targetSeconds);
    if (state.profile.levelTimed[level] != 1) {
        return QStringLiteral("◎=") + target + QStringLiteral("点以上");
    }
    if (c.clearPoints == noClearRequirement) {
        return QStringLiteral("目標=") + target + QStringLiteral("秒 --------");
    }
    return QStringLiteral("目標=%1秒 %2回/%3点(×%4)")
        .arg(target)
        .arg(c.clearCount)
        .arg(c.clearPoints)
        .arg(shortNumber(c.pointFactor));
}

QString recentLine(const AppState& state, int level) {
    const int cell = cellOf(state, level);
    return QStringLiteral("最近%1日=%2回 / %3点")
        .arg(shortNumber(state.criteria[level].judgeDays))
        .arg(state.stats.statJudgeRuns[cell])
        .arg(state.stats.statJudgePoints[cell]);
}

QString todayFigures(const AppState& state, int level) {
    const int cell = cellOf(state, level);
    const auto runs = state.stats.statRuns[cell];
    if (runs == 0) {
        return QStringLiteral("-----");
    }
    return QStringLiteral("%1回/%2点")
        .arg(shortNumber(runs))
        .arg(state.stats.statTodayPoints[cell]);
}

QString totalFigures(const AppState& state, int level) {
    const int cell = cellOf(state, level);
    const auto runs = state.stats.statTotalRuns[cell];
    if (runs == 0) {
        return QStringLiteral("------");
    }
    return QStringLiteral("%1回/%2点").arg(runs).arg(state.stats.statTotalPoints[cell]);
}

QString minutesSinceLoginText(const AppState& state) {
    const int now = state.env->now().time().msecsSinceStartOfDay() / 1000;
    // Integer division truncates toward zero, so just after midnight the label shows a
    // negative number of minutes, as the drill screen does.
    const int minutes = (now - state.pupil.loginTime) / 60;
    return QStringLiteral("起動後%1分").arg(minutes);
}

int todaysTotalRuns(const AppState& state) {
    double sum = 0;
    for (int level = 1; level < Statistics::levels; ++level) {
        sum += state.stats.statRuns[cellOf(state, level)];
    }
    return static_cast<int>(std::lround(sum));
}

QString totalRunsLine(int totalRuns) {
    return QStringLiteral("本日総回数＝%1回").arg(totalRuns);
}

QString pupilLine(const AppState& state) {
    return state.pupil.pupilGroup + QLatin1Char(' ') + state.pupil.pupilName.trimmed();
}

QString schoolLine(const AppState& state) {
    return state.config.schoolName + QLatin1Char(':') + QString::number(state.pupil.pupilIndex);
}

double titlePoints(const QString& title) {
    return title.size() > 9 ? 20 : 24;
}
