#include "makedemo/DemoInstallation.h"

#include "app/LayoutResolution.h"
#include "makedemo/DemoResults.h"
#include "makedemo/DemoRoster.h"
#include "makedemo/DemoWorksheet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString folder(const QString& path) {
    return QDir::toNativeSeparators(path) + QDir::separator();
}

// A few hundred runs of the demo pupils over the last three weeks, so the lists and
// rankings have figures to show.
bool writeDemoResultsFile(const DemoInstallation& demo, QString* error) {
    return writeDemoResults(demo.drillDataFolder, demo.today, error, demoSchoolCode);
}

} // namespace

DemoInstallation demoInstallationAt(const QString& root, const QDate& today) {
    DemoInstallation demo;
    demo.root = QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(root).absoluteFilePath()));
    demo.parentFolder = folder(demo.root + QStringLiteral("/プログラム"));
    demo.programFolder = folder(demo.parentFolder + demoDrillFolderName);
    demo.dataRoot = folder(demo.root + QStringLiteral("/データ"));
    demo.drillDataFolder = drillDataFolderOf(demo.dataRoot, demoDrillFolderName);
    demo.soundFolder = soundFolderOf(demo.dataRoot);
    demo.keyFolder = QDir::toNativeSeparators(demo.root + QStringLiteral("/先生の鍵"));
    demo.today = today;
    return demo;
}

NewSchool demoNewSchool(const DemoInstallation& demo) {
    SchoolSettings settings;
    settings.schoolYearStartMonth = demo.schoolYearStartMonth;
    settings.schoolCode = demoSchoolCode;
    settings.schoolName = demoSchoolName;
    settings.keyFolder = demo.keyFolder;
    return newSchoolFor(demo.programFolder, demo.dataRoot, settings);
}

bool layOutDemoInstallation(const DemoInstallation& demo, QString* error) {
    if (!QDir().mkpath(demo.programFolder)) {
        *error = QStringLiteral("フォルダ「%1」を作れません。").arg(demo.programFolder);
        return false;
    }
    // The new school first (path file, configuration, key, sounds, explanation video), then
    // one call per group of demo files; each names the file it could not write.
    if (!writeSchoolFiles(demoNewSchool(demo), error)) {
        return false;
    }
    using Group = bool (*)(const DemoInstallation&, QString*);
    const Group groups[] = {
        writeDemoRoster,      // 新名簿.txt
        writeDemoResultsFile, // ミルネア/成績累積データ.dat
        writeDemoWorksheet,   // プログラム/ミルネア/プロト.csv
    };
    for (Group group : groups) {
        if (!group(demo, error)) {
            return false;
        }
    }
    return true;
}
