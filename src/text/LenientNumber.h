#pragma once

#include <QStringView>

// The lenient numeric value of a text: blanks are skipped wherever they stand, an optional
// leading sign, digits and one decimal point are read, reading stops at the first
// character that cannot continue the number, and a text without leading digits gives 0.
// "12." gives 12, "012" 12, "1-2" 1, " 1 2" 12, "abc" 0, "" 0.
double lenientNumber(QStringView text);
