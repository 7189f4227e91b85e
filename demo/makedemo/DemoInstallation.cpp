#include "makedemo/DemoInstallation.h"

#include "app/LayoutResolution.h"
#include "makedemo/DemoExplanationVideo.h"
#include "makedemo/DemoResults.h"
#include "makedemo/DemoRoster.h"
#include "makedemo/DemoSounds.h"
#include "makedemo/DemoTextFiles.h"
#include "makedemo/DemoWorksheet.h"
#include "text/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString folder(const QString& path) {
    return QDir::toNativeSeparators(path) + QDir::separator();
}

bool makeFolderFor(const QString& path, QString* error) {
    const QString dir = QFileInfo(path).absolutePath();
    if (QDir().mkpath(dir)) {
        return true;
    }
    *error = QStringLiteral("フォルダ「%1」を作れません。").arg(dir);
    return false;
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
    demo.schoolItem = demoSchoolCode + demoSchoolName;
    return demo;
}

bool writeDemoTextFile(const QString& path, const QString& text, QString* error) {
    return makeFolderFor(path, error) && writeCp932FileAtomic(path, text, error);
}

bool writeDemoBinaryFile(const QString& path, const QByteArray& bytes, QString* error) {
    if (!makeFolderFor(path, error)) {
        return false;
    }
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
        file.write(bytes) == bytes.size() && file.flush()) {
        return true;
    }
    *error = QStringLiteral("ファイル「%1」に書けません: %2").arg(path, file.errorString());
    return false;
}

bool layOutDemoInstallation(const DemoInstallation& demo, QString* error) {
    if (!QDir().mkpath(demo.programFolder)) {
        *error = QStringLiteral("フォルダ「%1」を作れません。").arg(demo.programFolder);
        return false;
    }
    // One call per group of files; each names the file it could not write.
    using Group = bool (*)(const DemoInstallation&, QString*);
    const Group groups[] = {
        writeDemoPathFile,         // パスデータ.txt
        writeDemoSharedConfig,     // 共通データ.txt
        writeDemoKeyFolder,        // 先生の鍵/keypass.txt
        writeDemoRoster,           // 新名簿.txt
        writeDemoCriteria,         // ミルネア/タイム回数データ.txt
        writeDemoSounds,           // 音フォルダ/新音ファイル.txt and the wave files
        writeDemoResultsFile,      // ミルネア/成績累積データ.dat
        writeDemoExplanationVideo, // ミルネア/解説1.mp4
        writeDemoPathFile,         // パスデータ.txt
        writeDemoSharedConfig,     // 共通データ.txt
        writeDemoKeyFolder,        // 先生の鍵/keypass.txt
        writeDemoRoster,           // 新名簿.txt
        writeDemoCriteria,         // ミルネア/タイム回数データ.txt
        writeDemoSounds,           // 音フォルダ/新音ファイル.txt and the wave files
        writeDemoResultsFile,      // ミルネア/成績累積データ.dat
        writeDemoWorksheet,        // プログラム/ミルネア/プロト.csv
    };
    for (Group group : groups) {
        if (!group(demo, error)) {
            return false;
        }
    }
    return true;
}
