#include "text/EraDate.h"

namespace {

struct Era {
    const char16_t* name;
    int year, month, day; // first day of the era
};

// Newest first, so the first era that has begun by the date is its era.
constexpr Era eras[] = {
    {u"令和", 2019, 5, 1},  {u"平成", 1989, 1, 8},   {u"昭和", 1926, 12, 25},
    {u"大正", 1912, 7, 30}, {u"明治", 1868, 10, 23},
};

} // namespace

EraYear eraYearOf(const QDate& date) {
    if (!date.isValid())
        return {};
    for (const Era& era : eras) {
        const QDate start(era.year, era.month, era.day);
        if (date >= start)
            return {QString::fromUtf16(era.name), date.year() - era.year + 1};
    }
    return {};
}

QString japaneseWeekday(const QDate& date) {
    static constexpr char16_t names[] = u"月火水木金土日"; // dayOfWeek 1 = Monday
    if (!date.isValid())
        return QString();
    return QString(QChar(names[date.dayOfWeek() - 1]));
}

QString eraDateText(const QDate& date) {
    if (!date.isValid())
        return QString();
    const EraYear era = eraYearOf(date);
    // Before the first era the western year stands in its place.
    const QString year =
        era.name.isEmpty() ? QString::number(date.year()) : era.name + QString::number(era.year);
    return QStringLiteral("%1年 %2月 %3日（%4）")
        .arg(year)
        .arg(date.month())
        .arg(date.day(), 2, 10, QChar(u'0'))
        .arg(japaneseWeekday(date));
}
