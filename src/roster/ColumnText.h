#pragma once

#include <QString>

// Text measured in the columns of a fixed-pitch Japanese font: the characters CP932 holds
// in one byte (ASCII and half-width katakana) take one column, every other character two.

int columnsOf(const QString& text);

// Cuts the text to at most `columns` columns, never inside a character, and pads it to
// exactly `columns` with full-width spaces ("　"); an odd column left over takes one
// half-width blank. For a name in full-width characters this is the classic name column:
// padded with full-width spaces and cut to its first columns / 2 characters.
QString fitColumns(const QString& text, int columns);
