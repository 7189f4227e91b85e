#pragma once

#include "tools/NewSchool.h"

#include <QDate>
#include <QString>

// A complete school installation for trying the program out:
//   <root>/プログラム/パスデータ.txt     the path file; item 1 names the data root
//   <root>/プログラム/ミルネア/          the program folder (the program is copied here)
//   <root>/データ/                      the data root: 共通データ.txt, 新名簿.txt
//   <root>/データ/ミルネア/              the drill's data folder: タイム回数データ.txt
//   <root>/データ/音フォルダ/            新音ファイル.txt and the wave files
//   <root>/先生の鍵/keypass.txt          the teacher's key folder (item 5 of 共通データ.txt)
// It is a new school as the program lays one out (see tools/NewSchool.h), with the demo's
// pupils, results and worksheet on top. Every text file is CP932 with CR LF,
// written through the program's own text layer.
struct DemoInstallation {
    QString root;         // absolute, native separators, no trailing separator
    QString parentFolder; // folders end in the separator
    QString programFolder;
    QString dataRoot;
    QString drillDataFolder;
    QString soundFolder;
    QString keyFolder; // without a trailing separator, as a teacher types it
    QDate today;       // the roster's grades are laid out for this day's school year
    int schoolYearStartMonth = 4;
};

inline const QString demoDrillFolderName = QStringLiteral("ミルネア");
inline const QString demoSchoolCode = QStringLiteral("27183");
inline const QString demoSchoolName = QStringLiteral("ミルネア学習塾　駅前教室");

DemoInstallation demoInstallationAt(const QString& root, const QDate& today);

// Writes every file of the installation (replacing files of an earlier demo); false with
// a description naming the file when one cannot be written.
bool layOutDemoInstallation(const DemoInstallation& demo, QString* error);

// The new school the demo is built on.
NewSchool demoNewSchool(const DemoInstallation& demo);
