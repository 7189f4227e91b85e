#include "views/ResultViewChoice.h"

ResultBuild runsChoice(int displayKind, int index) {
    const bool points = displayKind == 2;
    switch (index) {
    case 1:
        return points ? ResultBuild::PointsAllTime : ResultBuild::BestTimes;
    case 2:
        return points ? ResultBuild::PointsToday : ResultBuild::TodayRuns;
    default:
        return ResultBuild::PeriodRuns;
    }
}

namespace {

// The selected Option1, tested in the order given (1-based); 0 when none is.
int firstChecked(const std::array<bool, 3>& checked, const std::array<int, 3>& order) {
    for (int index : order) {
        if (checked[static_cast<std::size_t>(index - 1)]) {
            return index;
        }
    }
    return 0;
}

} // namespace

DisplayChoice displayChoice(int index, int displayKind, const std::array<bool, 3>& option1Checked) {
    DisplayChoice choice;
    choice.displayKind = displayKind;
    switch (index) {
    case 0:
        choice.displayKind = 1;
        choice.option1Captions = {QStringLiteral("BEST表示"), QStringLiteral("本日のみ"),
                                  QString()};
        choice.enablesOption1 = {false, false, true};
        choice.option1Clicked = firstChecked(option1Checked, {1, 2, 3});
        break;
    case 1:
        choice.displayKind = 2;
        choice.option1Captions = {QStringLiteral("合計累計"), QStringLiteral("合計本日"),
                                  QStringLiteral("すべて")};
        choice.enablesOption1 = {true, true, true};
        choice.hidesPeriodBox = true;
        // The all-time ranking first, then every run, then today's.
        choice.option1Clicked = firstChecked(option1Checked, {1, 3, 2});
        break;
    case 2:
        choice.hidesPeriodBox = true;
        choice.showsGraphButton = true;
        choice.build = ResultBuild::PersonalTimes;
        return choice;
    default:
        return choice;
    }
    if (choice.option1Clicked != 0) {
        choice.build = runsChoice(choice.displayKind, choice.option1Clicked);
    }
    return choice;
}
