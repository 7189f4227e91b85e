#include "roster/RosterList.h"

#include "app/AppState.h"
#include "records/ResultsFile.h"
#include "records/Statistics.h"
#include "roster/ColumnText.h"
#include "roster/GradeRules.h"
#include "text/Cp932.h"
#include "text/FixedWidth.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int gradeColumns = 4; // the short label (three columns) and a blank

struct SortItem {
    QString line;
    QByteArray key; // the line in the school's code page, which orders kanji by reading
    int yearChars = 4;
    int birthYear = 0;
    QString choice;
};

QString yearText(int birthYear) {
    return QStringLiteral("%1").arg(birthYear, 4, 10, QLatin1Char('0'));
}

QString sortLineFrom(const QString& year, const QString& column, const PupilFigures& figures,
                     int mode, int pupilNo) {
    return year + column + figuresText(figures, mode) + QLatin1Char('*') + QString::number(pupilNo);
}

template <typename Table> long long cellValue(const Table& table, int level, int pupil) {
    return std::llround(
        static_cast<double>(table[static_cast<std::size_t>(Statistics::cell(level, pupil))]));
}

} // namespace

std::vector<PupilFigures> sumPupilFigures(const Statistics& stats) {
    std::vector<PupilFigures> sums(Statistics::pupils);
    for (int level = 1; level < Statistics::levels; ++level) {
        for (int pupil = 0; pupil < Statistics::pupils; ++pupil) {
            PupilFigures& f = sums[static_cast<std::size_t>(pupil)];
            f.todayRuns += cellValue(stats.statRuns, level, pupil);
            f.todayPoints += cellValue(stats.statTodayPoints, level, pupil);
            f.totalRuns += cellValue(stats.statTotalRuns, level, pupil);
            f.totalPoints += cellValue(stats.statTotalPoints, level, pupil);
        }
    }
    return sums;
}

QString todayRunsText(long long runs) {
    return runs == 0 ? QStringLiteral("     ") : rightField(runs, 3) + QStringLiteral("回");
}

QString todayPointsText(long long points) {
    return points == 0 ? QStringLiteral("  　") : rightField(points, 4);
}

QString totalRunsText(long long runs) {
    return runs == 0 ? QStringLiteral("     　") : rightField(runs, 5) + QStringLiteral("回");
}

QString totalPointsText(long long points) {
    return points == 0 ? QStringLiteral("       ") : rightField(points, 7);
}

QString figuresText(const PupilFigures& f, int mode) {
    const QChar slash(u'/');
    switch (mode) {
    case pointsTodayAndTotal:
        return todayPointsText(f.todayPoints) + slash + totalPointsText(f.totalPoints);
    case todayPointsAndRuns:
        return todayPointsText(f.todayPoints) + slash + todayRunsText(f.todayRuns);
    case totalPointsAndRuns:
        return totalPointsText(f.totalPoints) + slash + totalRunsText(f.totalRuns);
    default:
        return todayRunsText(f.todayRuns) + slash + totalRunsText(f.totalRuns);
    }
}

int nameColumns(int stage, int mode) {
    // A run count ends in the full-width 回, which pushes the figures of every line two
    // columns further; pre-school lines have always had two more name columns there.
    const bool wide = stage < 1 && mode != pointsTodayAndTotal;
    return wide ? 16 : 12;
}

QString gradeAndNameColumn(const ListedPupil& pupil, int mode) {
    return pupil.shortLabel + QLatin1Char(' ') +
           fitColumns(pupil.entry.name.trimmed(), nameColumns(pupil.stage, mode));
}

QString rosterSortLine(const ListedPupil& pupil, const PupilFigures& figures, int mode) {
    return sortLineFrom(yearText(pupil.entry.birthYear), gradeAndNameColumn(pupil, mode), figures,
                        mode, pupil.entry.pupilNo);
}

RosterList buildRosterList(AppState& state, int mode, const QString& filter,
                           const std::function<void()>& letEventsRun) {
    RosterList list;
    if (!countResults(state)) {
        list.ended = true;
        return list;
    }
    if (letEventsRun) {
        letEventsRun();
    }
    const std::vector<PupilFigures> figures = sumPupilFigures(state.stats);

    std::vector<SortItem> items;
    items.reserve(CurrentPupil::maxRosterLines);
    list.report = loadRoster(state, [&](const ListedPupil& pupil) {
        const QString year = yearText(pupil.entry.birthYear);
        const QString column = gradeAndNameColumn(pupil, mode);
        SortItem item;
        item.line =
            sortLineFrom(year, column, figures[static_cast<std::size_t>(pupil.entry.pupilNo)], mode,
                         pupil.entry.pupilNo);
        // The code page lists kanji by their reading (加藤 before 佐藤), as the schools'
        // lists have always been sorted; Unicode order would not.
        item.key = encodeCp932(item.line).value_or(item.line.toUtf8());
        item.yearChars = static_cast<int>(year.size());
        item.birthYear = pupil.entry.birthYear;
        item.choice = column.trimmed();
        items.push_back(std::move(item));
    });
    std::stable_sort(items.begin(), items.end(),
                     [](const SortItem& a, const SortItem& b) { return a.key < b.key; });

    list.lines.reserve(static_cast<qsizetype>(items.size()) + 1);
    list.lines.append(RosterList::header());
    for (const SortItem& item : items) {
        if (!gradeFilterAccepts(filter, gradeIndexOf(state.pupil.schoolYear, item.birthYear))) {
            continue;
        }
        const QString entry = item.line.mid(item.yearChars);
        list.lines.append(entry.left(entry.lastIndexOf(QLatin1Char('*'))));
        list.numberList.append(entry);
        list.choices.append(item.choice);
    }
    return list;
}

int pupilNoOfNumberEntry(const QString& entry) {
    const qsizetype star = entry.lastIndexOf(QLatin1Char('*'));
    if (star < 0) {
        return -1;
    }
    bool ok = false;
    const int number = entry.mid(star + 1).toInt(&ok);
    return ok ? number : -1;
}
