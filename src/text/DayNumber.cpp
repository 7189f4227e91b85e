#include "text/DayNumber.h"

#include <cmath>

namespace {

constexpr qint64 msecsPerDay = 24LL * 60 * 60 * 1000;
constexpr int secondsPerDay = 24 * 60 * 60;

QDate dayZero() {
    return QDate(1899, 12, 30);
}

} // namespace

int dayNumber(const QDate& date) {
    if (!date.isValid())
        return 0;
    return static_cast<int>(dayZero().daysTo(date));
}

QDate dateOfDayNumber(double dayNumber) {
    // QDate holds years up to about 11.7 million either way; keep well inside that.
    if (!std::isfinite(dayNumber) || std::fabs(dayNumber) > 1.0e9)
        return QDate();
    return dayZero().addDays(static_cast<qint64>(std::trunc(dayNumber)));
}

double dayFraction(const QTime& time) {
    if (!time.isValid())
        return 0;
    return static_cast<double>(time.msecsSinceStartOfDay()) / static_cast<double>(msecsPerDay);
}

QTime timeOfDayFraction(double fraction) {
    if (!std::isfinite(fraction))
        return QTime();
    double part = std::fabs(fraction - std::trunc(fraction));
    // The files hold whole seconds: 0.999988 is 23:59:58.96 and reads as 23:59:59.
    long long seconds = std::llround(part * secondsPerDay);
    if (seconds >= secondsPerDay)
        seconds = secondsPerDay - 1;
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(seconds * 1000));
}

double secondsSinceMidnight(const QTime& time) {
    if (!time.isValid())
        return 0;
    return static_cast<double>(time.msecsSinceStartOfDay()) / 1000.0;
}
