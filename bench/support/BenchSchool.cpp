#include "support/BenchSchool.h"

#include "records/ResultRecord.h"
#include "roster/RosterFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QByteArray resultRecord(const QDateTime& when, int pupilNo, int level, int seconds) {
    ResultRecord r;
    r.runDate = QDate(1899, 12, 30).daysTo(when.date());
    r.runClock = when.time().msecsSinceStartOfDay() / 86400000.0;
    r.pupilNo = static_cast<std::int16_t>(pupilNo);
    r.level = static_cast<std::int16_t>(level);
    r.seconds = seconds;
    r.setSchoolCode(QStringLiteral("12345"));
    const ResultRecordBytes bytes = encodeResultRecord(r);
    return QByteArray(bytes.data(), ResultRecord::size);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
}

void layOutDataFolders(AppState& state, const QString& dir) {
    const QString sep = QDir::separator();
    const QString root = QDir::toNativeSeparators(dir) + sep;
    state.layout.dataRoot = root + QStringLiteral("data") + sep;
    state.layout.drillFolderName = QStringLiteral("ミルネア");
    state.layout.drillDataFolder = state.layout.dataRoot + QStringLiteral("ミルネア") + sep;
}

BenchSchool::BenchSchool(int levels, QString (*levelName)(int)) {
    state.env = &env;
    state.host = &host;
    layOutDataFolders(state, dir.path());
    state.config.schoolName = QStringLiteral("ミルネア塾　本校");
    state.config.schoolYearStartMonth = 4;
    state.profile.programTitle = QStringLiteral("ミルネア");
    state.profile.levelCount = levels;
    state.profile.finalLevel = levels;
    state.profile.allLevelsOpen = 1;
    for (int level = 1; level <= levels; ++level) {
        state.profile.levelNames[std::size_t(level)] = levelName(level);
        state.profile.levelTimed[std::size_t(level)] = 1;
        state.criteria[std::size_t(level)] = {40, 60, 100, 3, 1.5f, 20, 0, 7, 1, 0, 0, 0};
    }

    QByteArray roster;
    for (int p = 1; p <= rosterLines; ++p) {
        roster += QStringLiteral("%1,%2,0,0,\"生徒%1\",0,\"\",\"\"\r\n")
                      .arg(p)
                      .arg(2010 + p % 9)
                      .toUtf8(); // ASCII and kanji of the JIS level 1 set only
    }
    // The roster is written in CP932 by hand: "生徒" is 90 B6 93 6B.
    roster.replace(QStringLiteral("生徒").toUtf8(), QByteArray("\x90\xb6\x93\x6b"));
    writeFile(state.layout.dataRoot + QStringLiteral("新名簿.txt"), roster);
    loadRoster(state);
    if (state.pupil.rosterLineCount != rosterLines) {
        qFatal("the roster read %d lines", state.pupil.rosterLineCount);
    }

    state.pupil.pupilIndex = 1;
    state.pupil.pupilName = QStringLiteral("生徒1");
    state.pupil.pupilGroup = QStringLiteral("小３");
    state.pupil.gradeFilter = QStringLiteral("全学年");
    host.resize(1024, 768);
    host.show();
}

void BenchSchool::writeResults(const QByteArray& records) const {
    writeFile(state.layout.drillDataFolder + QStringLiteral("成績累積データ.dat"), records);
}
