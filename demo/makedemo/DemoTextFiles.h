#pragma once

#include <QString>

struct DemoInstallation;

// The demo's small text files, as text (CP932 and CR LF are applied on writing).

// パスデータ.txt: ten items, item 1 the data root with its trailing separator.
QString demoPathFileText(const DemoInstallation& demo);
// 共通データ.txt: start month, school code and name, show-status-2, item 4, the key
// folder, items 6 to 10.
QString demoSharedConfigText(const DemoInstallation& demo);
// タイム回数データ.txt: the header and 24 level lines.
QString demoCriteriaText();

inline const QString criteriaHeader =
    QStringLiteral("目標Time,最低Time,ｸﾘｱﾎﾟｲﾝﾄ,ｸﾘｱ回数,ﾎﾟｲﾝﾄ倍率,禁回,禁点,判期間,禁期間,,,");

bool writeDemoPathFile(const DemoInstallation& demo, QString* error);
bool writeDemoSharedConfig(const DemoInstallation& demo, QString* error);
bool writeDemoKeyFolder(const DemoInstallation& demo, QString* error);
bool writeDemoCriteria(const DemoInstallation& demo, QString* error);
