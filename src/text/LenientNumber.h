#pragma once

#include <QString>
#include <QStringView>

// The lenient numeric value of a text: blanks are skipped wherever they stand, an optional
// leading sign, digits and one decimal point are read, reading stops at the first
// character that cannot continue the number, and a text without leading digits gives 0.
// "12." gives 12, "012" 12, "1-2" 1, " 1 2" 12, "abc" 0, "" 0.
// Blanks are the space, the tab, CR and LF. A number may start with its decimal point
// (".5" and "-.5" give 0.5 and -0.5); a point with no digit ("." or "-.") gives 0. There is
// no exponent: "1e3" gives 1. Full-width digits are not digits. A value too large for a
// double gives an infinity; zero is never negative.
double lenientNumber(QStringView text);

// The lenient value rounded to the nearest whole number (halves to the even one, the way a
// whole-number field of the files takes a fraction) and held inside the range of int,
// so that a wild value in a file can never overflow a conversion.
int lenientInt(QStringView text);

// Whether the lenient reading finds a number at the start of the text (after blanks and a
// sign), so that its value is one the text holds and not the 0 of a text without digits.
bool startsWithNumber(QStringView text);

// Whether the text holds a full-width digit ("０".."９"), which the lenient reading does
// not take: "４２" reads as 0. Readers use it to say why such a value was not taken.
bool holdsFullWidthDigit(QStringView text);

// The text with full-width digits, point, minus and plus ("０".."９", "．", "－", "＋")
// written half-width, so that what a Japanese input method typed reads as the number it
// shows: "１．５" gives "1.5". Every other character is kept.
QString halfWidthNumberText(QStringView text);
