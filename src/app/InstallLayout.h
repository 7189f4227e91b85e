#pragma once

#include <QString>

// Folders resolved once at start-up from the program folder and the path file.
struct InstallLayout {
    QString programFolder;   // ends in the separator
    QString dataRoot;        // item 1 of the path file, exactly as stored
    QString drillFolderName; // last component of the program folder
    QString drillDataFolder; // dataRoot + drillFolderName + separator
    QString soundFolder;     // dataRoot + "音フォルダ" + separator
};

// The values of "共通データ.txt" that the program uses.
struct SharedConfig {
    double schoolYearStartMonth = 0;
    QString schoolName;
    QString schoolCode; // five characters, or empty
    double showStatus2Pupils = 0;
    unsigned seasonColor = 0; // red in the lowest byte, then green, then blue
};
