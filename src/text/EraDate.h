#pragma once

#include <QDate>
#include <QString>

// Japanese era of a date (明治, 大正, 昭和, 平成, 令和) and its year; empty name before 明治.
struct EraYear {
    QString name;
    int year = 0;
};
EraYear eraYearOf(const QDate& date);

// 明治 from 23 October 1868, 大正 from 30 July 1912, 昭和 from 25 December 1926,
// 平成 from 8 January 1989, 令和 from 1 May 2019; the first year of an era is year 1.

// The date as "ggge年 m月 dd日（aaa）": 令和8年 12月 09日（水）, 平成16年 6月 05日（土）,
// 令和1年 5月 01日（水）. The era year and month are not padded, the day is. Before 明治
// the western year is written without an era name; an invalid date gives "".
QString eraDateText(const QDate& date);

// The abbreviated Japanese weekday: 日 月 火 水 木 金 土.
QString japaneseWeekday(const QDate& date);
