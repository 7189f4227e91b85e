#include "startup/StartupSchool.h"

#include "makedemo/DemoInstallation.h"
#include "makedemo/DemoRoster.h"
#include "records/ResultRecord.h"
#include "text/DayNumber.h"
#include "tools/SchoolFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <random>

namespace {

constexpr int pupils = 5000;
constexpr int newestRuns = 20000;

bool writeRoster(const DemoInstallation& demo, QString* error) {
    const int schoolYear = schoolYearOn(demo.today, demo.schoolYearStartMonth);
    QString text;
    for (int p = 1; p <= pupils; ++p) {
        RosterLine line;
        line.pupilNo = p;
        line.birthYear = schoolYear - 6 - (p % 12 + 1);
        line.name = QStringLiteral("生徒　%1").arg(p, 4, 10, QLatin1Char('0'));
        text += rosterLineText(line);
    }
    return writeSchoolTextFile(demo.dataRoot + QStringLiteral("新名簿.txt"), text, error);
}

// Older runs first, then the newest 20000 (the last 60 days), the same for every count.
QByteArray results(int count, double today) {
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(count) * ResultRecord::size);
    std::mt19937 older(7);
    std::mt19937 newer(11);
    for (int i = 0; i < count; ++i) {
        const bool inWindow = i >= count - newestRuns;
        std::mt19937& random = inWindow ? newer : older;
        ResultRecord run;
        run.runDate = inWindow ? today - 59 + (i - (count - newestRuns)) * 60 / newestRuns
                               : today - 2000 + i * 1900.0 / count;
        run.runDate = std::floor(run.runDate);
        run.runClock = 0.6;
        run.pupilNo = static_cast<std::int16_t>(random() % pupils + 1);
        run.level = static_cast<std::int16_t>(random() % 35 + 1);
        run.seconds = static_cast<std::int32_t>(30 + random() % 200);
        run.setSchoolCode(demoSchoolCode);
        const ResultRecordBytes record = encodeResultRecord(run);
        bytes.append(record.data(), ResultRecord::size);
    }
    return bytes;
}

bool copyProgramFiles(const QString& buildFolder, const QStringList& files, const QString& to,
                      QString* error) {
    for (const QString& name : files) {
        const QString from = buildFolder + QLatin1Char('/') + name;
        QStringList entries{QString()};
        if (QFileInfo(from).isDir()) {
            entries.clear();
            QDir base(from);
            for (const QFileInfo& info :
                 base.entryInfoList(QDir::Files | QDir::NoDotAndDotDot | QDir::Hidden)) {
                entries.push_back(QLatin1Char('/') + info.fileName());
            }
            // One level of sub-folders is all the program's files use.
            for (const QFileInfo& sub : base.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
                for (const QString& leaf : QDir(sub.filePath()).entryList(QDir::Files)) {
                    entries.push_back(QLatin1Char('/') + sub.fileName() + QLatin1Char('/') + leaf);
                }
            }
        }
        for (const QString& entry : entries) {
            const QString target = to + name + entry;
            QDir().mkpath(QFileInfo(target).path());
            QFile::remove(target);
            if (!QFile::copy(from + entry, target)) {
                *error = QStringLiteral("cannot copy %1 to %2").arg(from + entry, target);
                return false;
            }
            QFile::setPermissions(target, QFileInfo(from + entry).permissions());
        }
    }
    return true;
}

} // namespace

bool layOutStartupSchool(const QString& root, int recordCount, const QString& buildFolder,
                         const QStringList& programFiles, StartupSchool* school, QString* error) {
    const DemoInstallation demo = demoInstallationAt(root, QDate::currentDate());
    if (!layOutDemoInstallation(demo, error) || !writeRoster(demo, error) ||
        !writeSchoolBinaryFile(demo.drillDataFolder + QStringLiteral("成績累積データ.dat"),
                               results(recordCount, dayNumber(demo.today)), error)) {
        return false;
    }
    school->root = demo.root;
    school->programFolder = demo.programFolder;
    return copyProgramFiles(buildFolder, programFiles, demo.programFolder, error);
}
