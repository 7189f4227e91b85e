#include "views/Rankings.h"

#include "app/AppState.h"
#include "records/TimedOut.h"
#include "roster/GradeRules.h"
#include "roster/RosterFile.h"
#include "text/FixedWidth.h"
#include "views/ResultLines.h"

#include <algorithm>

namespace {

// A best time of noRun: the pupil has no run, or only timed-out ones, at the level.
constexpr std::int64_t noRun = Statistics::noTime;
constexpr std::int64_t pointsBase = 1000000;

// Sorts entries first .. last; scratch holds the left half while it is merged.
void mergeSortRange(int first, int last, std::vector<std::int64_t>& keys, std::vector<int>& items,
                    std::vector<std::int64_t>& keyScratch, std::vector<int>& itemScratch) {
    if (first >= last) {
        return;
    }
    const int middle = (first + last) / 2;
    mergeSortRange(first, middle, keys, items, keyScratch, itemScratch);
    mergeSortRange(middle + 1, last, keys, items, keyScratch, itemScratch);
    const int leftCount = middle - first + 1;
    std::copy_n(keys.begin() + first, leftCount, keyScratch.begin());
    std::copy_n(items.begin() + first, leftCount, itemScratch.begin());
    int left = 0;
    int right = middle + 1;
    int out = first;
    while (left < leftCount && right <= last) {
        // The left entry goes first only when strictly smaller: equal keys swap sides.
        if (keyScratch[static_cast<std::size_t>(left)] < keys[static_cast<std::size_t>(right)]) {
            keys[static_cast<std::size_t>(out)] = keyScratch[static_cast<std::size_t>(left)];
            items[static_cast<std::size_t>(out)] = itemScratch[static_cast<std::size_t>(left)];
            ++left;
        } else {
            keys[static_cast<std::size_t>(out)] = keys[static_cast<std::size_t>(right)];
            items[static_cast<std::size_t>(out)] = items[static_cast<std::size_t>(right)];
            ++right;
        }
        ++out;
    }
    while (left < leftCount) {
        keys[static_cast<std::size_t>(out)] = keyScratch[static_cast<std::size_t>(left)];
        items[static_cast<std::size_t>(out)] = itemScratch[static_cast<std::size_t>(left)];
        ++left;
        ++out;
    }
}

int cellOf(int level, int pupil) {
    return Statistics::cell(level, pupil);
}

bool timedLevel(const AppState& state, int level) {
    return level >= 0 && level < ProgramProfile::levelSlots && state.profile.levelTimed[level] == 1;
}

QString rankText(int rank, RankingStyle style) {
    if (style == RankingStyle::Work) {
        return rightField(rank, 3);
    }
    return QString::number(rank).right(2);
}

struct SortedLevel {
    std::vector<std::int64_t> keys;     // 1-based, sorted
    std::vector<int> lines;             // roster line index (0-based) per sorted entry
    std::vector<std::int64_t> compared; // the value ranks are compared on
};

// Points are held to a range in which primary and secondary never mix in the key.
std::int64_t boundedPoints(std::int64_t points) {
    return std::clamp<std::int64_t>(points, -(std::int64_t{1} << 30), std::int64_t{1} << 30);
}

SortedLevel sortLevel(const AppState& state, const RankingRoster& roster, int pointsPeriod,
                      int level, RankingKind kind) {
    const int count = static_cast<int>(roster.lines.size());
    SortedLevel s;
    s.keys.assign(static_cast<std::size_t>(count) + 1, 0);
    s.lines.assign(static_cast<std::size_t>(count) + 1, 0);
    const Statistics& stats = state.stats;
    const bool validLevel = level >= 0 && level < Statistics::levels;
    // The points ranks are compared on, per roster line.
    std::vector<std::int64_t> primaryOf(static_cast<std::size_t>(count), 0);
    for (int k = 1; k <= count; ++k) {
        const int pupil = roster.lines[static_cast<std::size_t>(k - 1)].pupilNo;
        const bool cell = validLevel && Statistics::validCell(level, pupil);
        const int c = cell ? cellOf(level, pupil) : 0;
        std::int64_t key = 0;
        if (kind == RankingKind::Time) {
            key = cell ? stats.bestSeconds[static_cast<std::size_t>(c)] : noRun;
        } else {
            const std::int64_t total =
                cell ? stats.statTotalPoints[static_cast<std::size_t>(c)] : 0;
            const std::int64_t today =
                cell ? stats.statTodayPoints[static_cast<std::size_t>(c)] : 0;
            const bool todayFirst = pointsPeriod == 2;
            const std::int64_t primary = boundedPoints(todayFirst ? today : total);
            const std::int64_t secondary = boundedPoints(todayFirst ? total : today);
            // By primary descending, then secondary descending; the secondary has a
            // place of its own in the key so that large points never mix with it.
            key = pointsBase - (primary * (std::int64_t{1} << 32) + secondary);
            primaryOf[static_cast<std::size_t>(k - 1)] = primary;
        }
        s.keys[static_cast<std::size_t>(k)] = key;
        s.lines[static_cast<std::size_t>(k)] = k - 1;
    }
    const bool descending = kind == RankingKind::Time && !timedLevel(state, level);
    if (descending) {
        // Untimed levels rank the highest figure first; pupils without a figure last.
        for (int k = 1; k <= count; ++k) {
            std::int64_t& key = s.keys[static_cast<std::size_t>(k)];
            key = 10000 - (key == noRun ? -noRun : key);
        }
    }
    rankingSort(count, s.keys, s.lines);
    if (descending) {
        for (int k = 1; k <= count; ++k) {
            std::int64_t& key = s.keys[static_cast<std::size_t>(k)];
            key = 10000 - key;
        }
    }
    s.compared.assign(static_cast<std::size_t>(count) + 1, 0);
    for (int k = 1; k <= count; ++k) {
        const auto at = static_cast<std::size_t>(k);
        s.compared[at] = kind == RankingKind::Time
                             ? s.keys[at]
                             : primaryOf[static_cast<std::size_t>(s.lines[at])];
    }
    return s;
}

QString timeLine(const QString& rank, const RankingRoster::Line& line, std::int64_t key,
                 bool hadNoRun, RankingStyle style) {
    const QString space = QStringLiteral(" ");
    if (hadNoRun) {
        const QString dashes =
            style == RankingStyle::Work ? QStringLiteral("---") : QStringLiteral("--");
        return dashes + line.mark + line.name + QStringLiteral("------") + space + line.ownMark;
    }
    if (isTimedOut(static_cast<std::int32_t>(key))) {
        return rank + line.mark + line.name + QStringLiteral("*失敗*") + space + line.ownMark;
    }
    return rank + line.mark + line.name + rightField(key, 6) + space + line.ownMark;
}

} // namespace

void rankingSortPass(int count, std::vector<std::int64_t>& keys, std::vector<int>& items) {
    if (count < 2) {
        return;
    }
    std::vector<std::int64_t> keyScratch(static_cast<std::size_t>(count / 2 + 1));
    std::vector<int> itemScratch(static_cast<std::size_t>(count / 2 + 1));
    mergeSortRange(1, count, keys, items, keyScratch, itemScratch);
}

void rankingSort(int count, std::vector<std::int64_t>& keys, std::vector<int>& items) {
    // One pass leaves equal keys reversed; the second puts them back in their first order.
    rankingSortPass(count, keys, items);
    rankingSortPass(count, keys, items);
}

RankingRoster prepareRankingRoster(const AppState& state, const QString& gradeFilter) {
    RankingRoster roster;
    const CurrentPupil& pupil = state.pupil;
    const int count = std::clamp(pupil.rosterLineCount, 0, CurrentPupil::maxRosterLines);
    roster.lines.reserve(static_cast<std::size_t>(count));
    for (int k = 1; k <= count; ++k) {
        RankingRoster::Line line;
        line.pupilNo = pupil.rosterLinePupil[static_cast<std::size_t>(k)];
        const bool known = line.pupilNo >= 0 && line.pupilNo <= CurrentPupil::maxPupilNo;
        line.shown = gradeFilterAccepts(gradeFilter, pupilGradeIndex(state, line.pupilNo));
        line.mark = pupilMark(state, line.pupilNo);
        line.ownMark =
            line.pupilNo == pupil.pupilIndex ? QStringLiteral("●") : QStringLiteral("　");
        line.name =
            known ? nameColumn(pupil.rosterNames[static_cast<std::size_t>(line.pupilNo)], false)
                  : nameColumn(QString(), false);
        roster.lines.push_back(std::move(line));
    }
    return roster;
}

std::vector<RankedLine> levelRankingLines(const AppState& state, const RankingRoster& roster,
                                          int pointsPeriod, int level, RankingKind kind,
                                          RankingStyle style) {
    const int period = pointsPeriod == 2 ? 2 : 1;
    const SortedLevel s = sortLevel(state, roster, period, level, kind);
    const int count = static_cast<int>(roster.lines.size());
    const bool untimed = !timedLevel(state, level);
    std::vector<RankedLine> out;
    out.reserve(static_cast<std::size_t>(count));
    int rank = 0;
    for (int n = 1; n <= count; ++n) {
        const auto at = static_cast<std::size_t>(n);
        if (n == 1 || s.compared[at] != s.compared[at - 1]) {
            rank = n;
        }
        const int lineIndex = s.lines[at];
        const RankingRoster::Line& line = roster.lines[static_cast<std::size_t>(lineIndex)];
        if (!line.shown) {
            continue;
        }
        const QString rankShown = rankText(rank, style);
        if (kind == RankingKind::Time) {
            const std::int64_t key = s.keys[at];
            const bool hadNoRun = untimed ? key == -noRun : key == noRun;
            out.push_back({line.pupilNo, timeLine(rankShown, line, key, hadNoRun, style),
                           hadNoRun ? 0 : rank, 0});
            continue;
        }
        const bool cell = Statistics::validCell(level, line.pupilNo);
        const int c = cell ? cellOf(level, line.pupilNo) : 0;
        const std::int64_t total =
            cell ? state.stats.statTotalPoints[static_cast<std::size_t>(c)] : 0;
        const std::int64_t today =
            cell ? state.stats.statTodayPoints[static_cast<std::size_t>(c)] : 0;
        if (period == 2 && today == 0) {
            continue; // today's ranking lists only the pupils who scored today
        }
        out.push_back({line.pupilNo,
                       rankShown + line.mark + line.name + rightField(today, 3) +
                           QStringLiteral("/") + rightField(total, 5),
                       rank, total});
    }
    return out;
}

std::vector<RankedLine> levelRankingLines(const AppState& state, const RankingChoice& choice,
                                          int level, RankingKind kind, RankingStyle style) {
    return levelRankingLines(state, prepareRankingRoster(state, choice.gradeFilter),
                             choice.pointsPeriod, level, kind, style);
}

std::vector<RankedLine> levelWorkRanking(const AppState& state, const RankingChoice& choice,
                                         int level, RankingKind kind) {
    return levelRankingLines(state, choice, level, kind, RankingStyle::Work);
}

namespace {

const RankedLine* lineOf(const std::vector<RankedLine>& lines, int pupilNo) {
    for (const RankedLine& line : lines) {
        if (line.pupilNo == pupilNo) {
            return &line;
        }
    }
    return nullptr;
}

// A rank as the work lists write it: right-aligned in 3, "---" for a pupil without a run.
QString workRankText(const RankedLine& line) {
    return line.rank > 0 ? rankText(line.rank, RankingStyle::Work) : QStringLiteral("---");
}

} // namespace

void takeTimeFigures(const std::vector<RankedLine>& byTime, int pupilNo, LevelFigures& figures) {
    const RankedLine* own = lineOf(byTime, pupilNo);
    figures.timeRank = own ? workRankText(*own) : QString();
}

void takePointsFigures(const std::vector<RankedLine>& byPoints, int pupilNo,
                       LevelFigures& figures) {
    figures.pointsHolders = 0;
    figures.pointsSum = 0;
    for (const RankedLine& line : byPoints) {
        if (line.totalPoints > 0) {
            ++figures.pointsHolders;
            figures.pointsSum += static_cast<double>(line.totalPoints);
        }
    }
    const RankedLine* own = lineOf(byPoints, pupilNo);
    figures.pointsRank = own ? workRankText(*own) : QString();
    figures.pupilPoints = own ? static_cast<double>(own->totalPoints) : 0;
}

LevelFigures rankFigures(const AppState& state, const RankingChoice& choice, int level,
                         int pupilNo) {
    LevelFigures figures;
    const RankingRoster roster = prepareRankingRoster(state, choice.gradeFilter);
    takeTimeFigures(levelRankingLines(state, roster, choice.pointsPeriod, level, RankingKind::Time,
                                      RankingStyle::Work),
                    pupilNo, figures);
    takePointsFigures(levelRankingLines(state, roster, choice.pointsPeriod, level,
                                        RankingKind::Points, RankingStyle::Work),
                      pupilNo, figures);
    return figures;
}

QStringList loadPupilChooser(AppState& state) {
    QStringList lines;
    loadRoster(state, [&](const ListedPupil& listed) {
        const int no = listed.entry.pupilNo;
        const QString group = no >= 0 && no <= CurrentPupil::maxPupilNo
                                  ? state.pupil.rosterGroups[static_cast<std::size_t>(no)]
                                  : QString();
        lines.push_back(group + QStringLiteral(" /  ") + listed.entry.name.trimmed() +
                        QStringLiteral("/") + QString::number(no));
    });
    return lines;
}

int chooserLinePupil(const QString& line) {
    const qsizetype slash = line.lastIndexOf(u'/');
    if (slash < 0) {
        return 0;
    }
    bool ok = false;
    const int no = line.mid(slash + 1).trimmed().toInt(&ok);
    return ok ? no : 0;
}
