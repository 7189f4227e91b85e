#pragma once

#include "views/LevelFigures.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

struct AppState;

// The per-level rankings of every listed roster line, by best time or by points, as the
// level menu's lists and the work lists behind the result graph show them. They read the
// statistics the results counter keeps; nothing here reads the results file.

// What a ranking is taken over besides the statistics.
struct RankingChoice {
    QString gradeFilter;  // the grade selector's text: lines it refuses are not shown
    int pointsPeriod = 1; // 1 ranks by all-time points, 2 by today's points (0 reads as 1)
};

enum class RankingKind { Time = 1, Points = 2 };
// List: the level menu's lists (rank as its last two digits, "--" without a run).
// Work: the work lists of the figures (rank right-aligned in 3, "---" without a run).
enum class RankingStyle { List, Work };

// A shown line of a ranking with the figures it was written from, so that nothing has
// to be read back out of the text.
struct RankedLine {
    int pupilNo = 0;
    QString text;
    int rank = 0;                 // the rank counted over every roster line; 0 without a run
    std::int64_t totalPoints = 0; // the pupil's all-time points (rankings by points only)
};

// One pass of the rankings' merge sort over entries 1 .. count (entry 0 is unused),
// ascending by key, moving items with their keys. Equal keys come out in reverse order.
void rankingSortPass(int count, std::vector<std::int64_t>& keys, std::vector<int>& items);
// Two passes: ascending by key with equal keys in their first order.
void rankingSort(int count, std::vector<std::int64_t>& keys, std::vector<int>& items);

// The listed roster lines prepared once for the rankings of every level of one build:
// each line's pupil, whether the grade selector shows it, its marks and name column.
struct RankingRoster {
    struct Line {
        int pupilNo = 0;
        bool shown = false;
        QString mark;    // "●" or the grade mark
        QString ownMark; // "●" for the current pupil, else a full-width space
        QString name;    // trailing blanks removed, five characters
    };
    std::vector<Line> lines; // roster order, from line 1
};
RankingRoster prepareRankingRoster(const AppState& state, const QString& gradeFilter);

// The shown lines of one level's ranking, best first; ranks are counted over every
// roster line, also those the grade selector hides (ranks 1, 2, 2, 4).
std::vector<RankedLine> levelRankingLines(const AppState& state, const RankingRoster& roster,
                                          int pointsPeriod, int level, RankingKind kind,
                                          RankingStyle style);
std::vector<RankedLine> levelRankingLines(const AppState& state, const RankingChoice& choice,
                                          int level, RankingKind kind,
                                          RankingStyle style = RankingStyle::List);

// The work ranking behind the graph's figures for the level (the lines of List4).
std::vector<RankedLine> levelWorkRanking(const AppState& state, const RankingChoice& choice,
                                         int level, RankingKind kind);

// The pupil's standing at the level, from the work rankings' figures: the rank texts (the
// rank right-aligned in 3, "---" without a run), the pupil's total points and the school's
// points holders (shown lines with total points above 0) and their sum. The pupil's line
// is found by pupil number; a pupil without a shown line has empty ranks and 0 points.
// takeTimeFigures fills the time rank from a ranking by time, takePointsFigures the rest
// from a ranking by points; rankFigures builds both rankings once each.
void takeTimeFigures(const std::vector<RankedLine>& byTime, int pupilNo, LevelFigures& figures);
void takePointsFigures(const std::vector<RankedLine>& byPoints, int pupilNo, LevelFigures& figures);
LevelFigures rankFigures(const AppState& state, const RankingChoice& choice, int level,
                         int pupilNo);

// The pupil chooser: rereads the roster and gives one line per listed pupil:
// "小３ /  山田太郎/123".
QStringList loadPupilChooser(AppState& state);
// The pupil a chooser line stands for: the number after its last "/" (0 when none).
int chooserLinePupil(const QString& line);
