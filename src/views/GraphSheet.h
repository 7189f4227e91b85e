#pragma once

#include "views/LevelFigures.h"
#include "views/ResultGraph.h"

#include <QString>
#include <functional>
#include <vector>

class QWidget;
struct AppState;

// One pupil's sheet of the result graph: a block per chosen level, three to a page.

// The pupil's figures against the school at a level (the level's work rankings).
using LevelFiguresSource = std::function<LevelFigures(int level, int pupilNo)>;

struct GraphSheetRequest {
    int pupilNo = 0;
    std::vector<int> levels; // in the order chosen; the sheet stops at one past levelCount
    QString gradeFilter = QStringLiteral("全学年"); // the grade selector's text
};

// The page break a block starts (screen: clear the picture; paper: a new page), and the
// drawing of one block at its place; each false when the sheet is to stop.
struct GraphSheetTarget {
    double height = 0;
    std::function<bool()> newPage;
    std::function<bool(const GraphBlockData& data, double chartTop)> drawBlock;
};

// Runs the sheet: for each level its figures, its two passes over the results file and
// its drawing. Window events run between the steps while the window takes no input.
// False when it stopped early (the program is ending, or the target failed).
bool runGraphSheet(AppState& state, const GraphSheetRequest& request,
                   const LevelFiguresSource& figures, const GraphSheetTarget& target);

// The document name of a pupil's sheet.
QString graphDocumentName(const AppState& state, int pupilNo);

// Prints the sheet as one A4 portrait job through the program's print path (the default
// printer, or a PDF file where none is installed). A failed job is said in a message.
// True when the job was printed.
bool printGraphSheet(AppState& state, QWidget* parent, const GraphSheetRequest& request,
                     const LevelFiguresSource& figures, const QString& fontFamily);
