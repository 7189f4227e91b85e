#pragma once

#include <QString>

// Fixed-width columns of the result lists.

// Right-aligned field of width w: padded on the left with half-width blanks and cut to
// its last w characters ("   12" for 12 in 5; 123456 in 5 gives "23456").
QString rightField(const QString& text, int width);
QString rightField(long long number, int width);

// Left-aligned field of width w: padded on the right with half-width blanks and cut to
// its first w characters.
QString leftField(const QString& text, int width);

// Name column of width w characters: padded with full-width spaces ("　") and cut to its
// first w characters, so a full-width column stays aligned in a fixed-pitch font.
QString nameField(const QString& name, int width);
