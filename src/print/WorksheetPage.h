#pragma once

#include "print/PageMapping.h"
#include "print/TextMeasure.h"

#include <QSizeF>
#include <QString>
#include <QStringList>

class QPainter;
struct WorksheetTable;

// The font the worksheet is printed in.
QString worksheetFontFamily();

// The text of one cell fitted to its row: the size and the lines it breaks into.
struct CellFit {
    int size = 0;
    QStringList lines;
};

inline constexpr int fittingStartSize = 50;

// Fits a text to a cell of the given width and row height on paper (twips): from size 50
// down, the text is broken at the cell's width in the font at that size, and the first
// size at which the lines and one more fit the row (each line 1.25 × the size high)
// is taken. A text that does not fit even at size 1 is set at size 1.
CellFit fitCellText(const QString& text, double cellWidthTwips, double rowHeightTwips,
                    TextMeasure& measure);

// Draws the worksheet as a ruled table on the page: a row for the captions above the
// top margin and printRows rows below it, each cell's text fitted to its row, horizontal
// rules across the page above every row and below the last, vertical rules at every
// column edge. paperTwips is the paper the page is laid out for (the fitting depends on
// it alone, so the preview and the printer set every text alike).
void drawWorksheetPage(QPainter& painter, const PageMapping& mapping, const WorksheetTable& table,
                       QSizeF paperTwips, TextMeasure& measure);
