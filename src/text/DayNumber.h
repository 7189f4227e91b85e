#pragma once

#include <QDate>
#include <QTime>

// Dates in the files are day numbers counted from 30 December 1899 (day 0);
// times of day are fractions of a day.
int dayNumber(const QDate& date);
// An invalid date gives 0.
QDate dateOfDayNumber(double dayNumber); // whole part taken (towards zero); NaN: invalid
double dayFraction(const QTime& time);   // 0 <= value < 1; an invalid time gives 0
// The time of the fractional part of the value (a whole day number in front is ignored,
// as is the sign), rounded to the nearest whole second as the files' times are: 0.999988
// reads 23:59:59. A fraction that rounds up to midnight stays 23:59:59.
QTime timeOfDayFraction(double fraction);
// Seconds since midnight, with milliseconds, as the drill's clock readings are.
double secondsSinceMidnight(const QTime& time);
