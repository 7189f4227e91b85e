#pragma once

#include <QDate>
#include <QString>

// Japanese era of a date (明治, 大正, 昭和, 平成, 令和) and its year; empty name before 明治.
struct EraYear {
    QString name;
    int year = 0;
};
EraYear eraYearOf(const QDate& date);

// The date as "ggge年 m月 dd日（aaa）": 令和8年 12月 09日（水）.
QString eraDateText(const QDate& date);

// The abbreviated Japanese weekday: 日 月 火 水 木 金 土.
QString japaneseWeekday(const QDate& date);
