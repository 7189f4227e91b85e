#pragma once

// Files of a school installation written the way the schools' PCs write them, for the
// roster tests: the roster in CP932 with CR LF, and 44-byte result records.

#include "support/TestInstallation.h"
#include "text/Cp932.h"
#include "text/DayNumber.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QTime>
#include <QtEndian>
#include <cstring>

namespace rostertest {

inline QByteArray cp932(const QString& text) {
    const std::optional<QByteArray> bytes = encodeCp932(text);
    if (!bytes) {
        qFatal("test text is not CP932");
    }
    return *bytes;
}

// One roster line: numbers bare, texts quoted, CR LF.
inline QString rosterLine(int pupilNo, int birthYear, const QString& name, int status = 0) {
    return QStringLiteral("%1,%2,0,0,\"%3\",%4,\"\",\"\"\r\n")
        .arg(pupilNo)
        .arg(birthYear)
        .arg(name)
        .arg(status);
}

inline QString rosterPath(const TestInstallation& inst) {
    return inst.dataRoot() + QStringLiteral("新名簿.txt");
}

inline void writeRoster(const TestInstallation& inst, const QString& text) {
    inst.writeBytes(rosterPath(inst), cp932(text));
}

// One record of "成績累積データ.dat": date, time of day, pupil, level, seconds, the school
// code, the two constant text fields and five unused bytes.
inline QByteArray resultRecord(const QDate& date, const QTime& time, int pupilNo, int level,
                               int seconds) {
    QByteArray record(44, '\0');
    char* p = record.data();
    const double day = dayNumber(date);
    const double clock = dayFraction(time);
    qToLittleEndian(day, p);
    qToLittleEndian(clock, p + 8);
    qToLittleEndian(static_cast<qint16>(pupilNo), p + 16);
    qToLittleEndian(static_cast<qint16>(level), p + 18);
    qToLittleEndian(static_cast<qint32>(seconds), p + 20);
    std::memcpy(p + 24, "     ", 5);
    std::memcpy(p + 29, "     ", 5);
    std::memcpy(p + 34, "0    ", 5);
    return record;
}

inline QString resultsPath(const TestInstallation& inst) {
    return inst.drillDataFolder() + QStringLiteral("成績累積データ.dat");
}

inline void writeResults(const TestInstallation& inst, const QByteArray& records) {
    inst.writeBytes(rostertest::resultsPath(inst), records);
}

// Level 1 with a target of 30 s and a factor of 1: a 15-second run earns 11 points.
inline void setLevelOneCriteria(AppState& state) {
    state.criteria[1].targetSeconds = 30;
    state.criteria[1].minimumSeconds = 60;
    state.criteria[1].pointFactor = 1.0f;
    state.criteria[1].judgeDays = 7;
    state.criteria[1].overuseDays = 1;
}

} // namespace rostertest
