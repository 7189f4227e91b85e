#include "print/WorksheetPage.h"

#include "app/JapaneseFonts.h"
#include "print/WorksheetTable.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <cmath>

namespace {

constexpr double pageUnits = 10000.0;
constexpr double topMargin = 0.1;
constexpr double tableHeight = 0.9;
constexpr double ruleAbove = 100;        // page units between a row's rule and its text
constexpr double lineHeightPerSize = 25; // twips of line height per point of text size

// `ライン`: a black rule between two page points.
void drawRule(QPainter& painter, const PageMapping& m, double x1, double y1, double x2, double y2) {
    painter.setPen(QPen(Qt::black, m.penWidth, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(m.map(x1, y1), m.map(x2, y2));
}

// `文字2`: one line of text in black, its top-left corner at the page point.
void drawTextLine(QPainter& painter, const PageMapping& m, double x, double y, int size,
                  const QString& text) {
    if (text.isEmpty()) {
        return;
    }
    QFont font(worksheetFontFamily());
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(m.fontPixels(size)))));
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QPointF topLeft = m.map(x, y);
    const QFontMetricsF metrics(font, painter.device());
    painter.drawText(QPointF(topLeft.x(), topLeft.y() + metrics.ascent()), text);
}

struct Cell {
    double left = 0;   // fraction of the page width
    double width = 0;  // fraction of the page width
    double top = 0;    // page units
    double height = 0; // fraction of the page height
};

// `文字表示3`: fits the text to its cell and draws it line by line.
void drawCellText(QPainter& painter, const PageMapping& m, const QString& text, const Cell& cell,
                  QSizeF paper, TextMeasure& measure) {
    const CellFit fit =
        fitCellText(text, cell.width * paper.width(), cell.height * paper.height(), measure);
    const double step = pageUnits * lineHeightPerSize * fit.size / paper.height();
    for (int k = 0; k < fit.lines.size(); ++k) {
        drawTextLine(painter, m, pageUnits * cell.left, cell.top + k * step, fit.size,
                     fit.lines[k]);
    }
}

} // namespace

QString worksheetFontFamily() {
    return msGothic;
}

CellFit fitCellText(const QString& text, double cellWidthTwips, double rowHeightTwips,
                    TextMeasure& measure) {
    const std::vector<TextMeasure::Unit> units = measure.units(text);
    CellFit fit;
    for (int size = fittingStartSize; size >= 1; --size) {
        fit.size = size;
        fit.lines = breakLines(text, units, cellWidthTwips, size);
        const double lineHeight = lineHeightPerSize * size;
        if ((fit.lines.size() + 1) * lineHeight < rowHeightTwips) {
            break;
        }
    }
    return fit;
}

void drawWorksheetPage(QPainter& painter, const PageMapping& m, const WorksheetTable& table,
                       QSizeF paper, TextMeasure& measure) {
    if (table.printRows < 1 || table.printColumns < 1) {
        return;
    }
    const double h = tableHeight / table.printRows;
    auto rowTop = [&](int row) { return pageUnits * (topMargin + (row - 1) * h); };
    for (int row = 0; row <= table.printRows; ++row) {
        for (int column = 1; column <= table.printColumns; ++column) {
            const double left = table.columnLeft[static_cast<std::size_t>(column)];
            const double right = table.columnLeft[static_cast<std::size_t>(column + 1)];
            const Cell cell{left + 0.01, 0.95 * (right - left), rowTop(row), h};
            drawCellText(painter, m, table.text(column, row), cell, paper, measure);
        }
        drawRule(painter, m, 0, rowTop(row) - ruleAbove, pageUnits, rowTop(row) - ruleAbove);
    }
    const double top = rowTop(0) - ruleAbove;
    const double bottom = rowTop(table.printRows + 1) - ruleAbove;
    drawRule(painter, m, 0, bottom, pageUnits, bottom);
    for (int column = 1; column <= table.printColumns + 1; ++column) {
        const double x = pageUnits * table.columnLeft[static_cast<std::size_t>(column)];
        drawRule(painter, m, x, top, x, bottom);
    }
}
