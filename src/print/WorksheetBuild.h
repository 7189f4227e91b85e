#pragma once

#include "print/WorksheetSource.h"
#include "print/WorksheetTable.h"

#include <QString>
#include <array>

class Environment;

// The blanking modes of the worksheet screen's option buttons 1..5; none selected is 0.
enum WorksheetMode {
    noBlanking = 0,       // no option button selected: only the rows are filled
    printAll = 1,         // "すべて印刷"
    blankOne = 2,         // "問題一カ所": one of the three parts
    blankTwo = 3,         // "問題二カ所": two of the three parts
    blankOneProverb = 4,  // "ことわざ部分を一つ消す": part 2 or part 3
    blankBothProverb = 5, // "ことわざ部分を二つ消す": parts 2 and 3
};

// What the worksheet screen's controls choose.
struct WorksheetChoice {
    std::array<bool, 9> levels{}; // levels[1..8]: the level is selected in the level list
    bool shuffle = false;         // "順序を変える"
    int mode = printAll;
};

inline constexpr int worksheetRowLimit = 1000;
inline constexpr int worksheetPrintRows = 15;

struct WorksheetBuildReport {
    int taken = 0;
    int firstLineLeftOut = 0; // file line of the first line past the limit of 1000, or 0
};

// Builds the worksheet from the usable lines of the table: takes the lines of the chosen
// levels in file order (at most 1000), shuffles them when asked, moves the blanked parts
// to the answer columns, numbers the printed rows ①..⑮ and sets the column edges and
// print options. Every cell a build does not fill is emptied first, so nothing of an
// earlier build is ever printed. Random draws come from the environment.
WorksheetBuildReport buildWorksheet(WorksheetTable& table, const std::vector<WorksheetLine>& lines,
                                    const WorksheetChoice& choice, Environment& env);

// The message for a build that left lines out, naming the file and the line; empty when
// nothing was left out.
QString leftOutProblem(const QString& fileName, const WorksheetBuildReport& report);
