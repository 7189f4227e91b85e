#pragma once

#include <QString>
#include <array>
#include <vector>

// How the print layout form is to print the worksheet; the worksheet screen sets them.
struct WorksheetPrintOptions {
    int layoutKind = 0;     // 2: the ruled table, the only layout there is
    int portraitChoice = 1; // 1 portrait, 0 landscape
    int printerOption = 0;  // copies per print (see frmPrint)
    int autoPrint = 0;      // 1: print once without showing the buttons, then close
    int showPrintingPanel = 0;
};

// The worksheet handed from the worksheet screen to the print layout form: texts by
// column 0..100 and row 0..1000 (row 0 holds the column captions, rows 1.. the items),
// the column edges as fractions of the page width and the part that is printed.
struct WorksheetTable {
    static constexpr int lastColumn = 100;
    static constexpr int lastRow = 1000;

    // The text of a cell; empty outside the table.
    const QString& text(int column, int row) const {
        static const QString none;
        return inTable(column, row) && !cells_.empty() ? cells_[index(column, row)] : none;
    }
    void setText(int column, int row, const QString& text) {
        if (!inTable(column, row)) {
            return;
        }
        // The cells (101,101 of them, 2.4 MB) are made when a worksheet is first built:
        // most runs of the program never print one.
        if (cells_.empty()) {
            cells_.resize(static_cast<std::size_t>((lastColumn + 1) * (lastRow + 1)));
        }
        cells_[index(column, row)] = text;
    }
    static bool inTable(int column, int row) {
        return column >= 0 && column <= lastColumn && row >= 0 && row <= lastRow;
    }

    int worksheetRows = 0; // lines taken from the source table
    // columnLeft[c] for c = 1 .. printColumns + 1; the entry after the last column is 1.
    std::array<double, lastColumn + 2> columnLeft{};
    int printRows = 0;
    int printColumns = 0;
    WorksheetPrintOptions options;

private:
    static std::size_t index(int column, int row) {
        return static_cast<std::size_t>(row * (lastColumn + 1) + column);
    }
    std::vector<QString> cells_;
};
