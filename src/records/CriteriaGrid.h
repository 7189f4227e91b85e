#pragma once

#include <QString>
#include <QStringList>
#include <vector>

struct AppState;

// The criteria editor's grid as texts: row 0 holds the headings, row k the 12 fields of
// level k as the file gives them, column 0 the level number. The current cell, the
// rows Shift + Down has copied into, the yellow marks of changed cells and the changed
// flag live here too, so the screen only shows them.
class CriteriaGrid {
public:
    static constexpr int columns = 13; // 0 = level, 1..12 = the criteria fields
    static constexpr int lastColumn = 12;

    CriteriaGrid();

    // Fills the grid from "タイム回数データ.txt": levels as read, up to 35. A file that
    // cannot be read, or ends inside a line's 12 fields, is reported with a message
    // naming it and the grid stays as it was (false). The marks go; the changed flag
    // stays; the current cell becomes row 1, column 1.
    bool load(AppState& state);

    // Writes the loaded level rows through saveCriteria, which replaces the file as a
    // whole and reloads state.criteria. Cells the program could not read back (a value
    // too large for its field, a "," or a quote) are refused with a message and nothing
    // is written (false). On success the changed flag is cleared; the marks stay.
    bool save(AppState& state);

    int rowCount() const { return static_cast<int>(cells_.size()); }
    int loadedRows() const { return rowCount() - 1; }
    QString text(int row, int column) const;
    bool marked(int row, int column) const;
    bool changed() const { return changed_; }

    int row() const { return row_; }
    int column() const { return column_; }
    // The last row Shift + Down has reached from the current row (the current row when
    // nothing was copied).
    int selectionEnd() const { return selectionEnd_; }
    bool hasCurrentCell() const { return row_ >= 1; }

    // Makes a cell current (kept inside rows 1..last and columns 1..12).
    void setCurrent(int row, int column);
    void moveUp() { setCurrent(row_ - 1, column_); }
    void moveDown() { setCurrent(row_ + 1, column_); }
    void moveLeft() { setCurrent(row_, column_ - 1); }
    void moveRight() { setCurrent(row_, column_ + 1); }

    // Shift + Down: the copied rows reach one row further (not past the last row) and
    // text goes into the current column of every row from the current one to there.
    // Cells whose text changes are marked and set the changed flag, as typing does.
    void copyDown(const QString& text);

    // The edit box text went into the current cell: a different text marks the cell and
    // sets the changed flag. Full-width digits, point and sign are taken half-width, as
    // in copyDown.
    void editBoxToCell(const QString& text);

    // What the column help label shows for a column: its title, a line break and its
    // explanation; empty for columns 0 and 10..12.
    static QString columnHelp(int column);
    static QString heading(int column);

private:
    void setCell(int row, int column, const QString& typed);

    std::vector<QStringList> cells_;
    std::vector<std::vector<bool>> marks_;
    bool changed_ = false;
    int row_ = 0;
    int column_ = 1;
    int selectionEnd_ = 0;
};
