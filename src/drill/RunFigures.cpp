#include "drill/RunFigures.h"

#include "app/AppState.h"
#include "app/Environment.h"
#include "drill/Problem.h"
#include "records/CriteriaFile.h"

#include <cmath>

double secondsSinceMidnight(Environment& env) {
    return env.now().time().msecsSinceStartOfDay() / 1000.0;
}

int minutesSinceLogin(AppState& state) {
    const double since = std::floor(secondsSinceMidnight(*state.env) - state.pupil.loginTime);
    return static_cast<int>(since) / 60; // truncates toward zero, as the count always has
}

double todayRuns(const AppState& state, int level) {
    const int pupil = state.pupil.pupilIndex;
    if (!Statistics::validCell(level, pupil)) {
        return 0;
    }
    const auto cell = static_cast<std::size_t>(Statistics::cell(level, pupil));
    return cell < state.stats.statRuns.size() ? state.stats.statRuns[cell] : 0;
}

int totalRunsToday(const AppState& state) {
    double sum = 0;
    for (int level = 1; level <= 15; ++level) {
        sum += todayRuns(state, level);
    }
    return static_cast<int>(std::lround(sum));
}

bool isPracticeLevel(const AppState& state, int level) {
    if (level < 0 || level >= ProgramProfile::levelSlots) {
        return false;
    }
    return state.profile.levelNames[level].contains(QStringLiteral("練"));
}

QString levelRefusal(const AppState& state, int level) {
    if (!levelHasProblemForm(level)) {
        return QStringLiteral("このレベルには問題がありません。先生を呼びなさい。");
    }
    if (state.profile.levelTimed[level] == 0) {
        return {};
    }
    return levelTimesRefusal(state, level);
}

QString levelTimesRefusal(const AppState& state, int level) {
    const QString fault = levelCriteriaFault(state.criteria[level]);
    if (fault.isEmpty()) {
        return {};
    }
    return QStringLiteral("「%1」の%2が正しくないので、このレベルは始められません。"
                          "先生を呼びなさい。")
        .arg(state.profile.levelNames[level].trimmed(), fault);
}
