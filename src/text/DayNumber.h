#pragma once

#include <QDate>
#include <QTime>

// Dates in the files are day numbers counted from 30 December 1899 (day 0);
// times of day are fractions of a day.
int dayNumber(const QDate& date);
QDate dateOfDayNumber(double dayNumber); // whole part taken
double dayFraction(const QTime& time);   // 0 <= value < 1
QTime timeOfDayFraction(double fraction);
// Seconds since midnight, with milliseconds, as the drill's clock readings are.
double secondsSinceMidnight(const QTime& time);
