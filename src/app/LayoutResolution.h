#pragma once

#include "app/InstallLayout.h"

#include <QString>

// How the folders of an installation are found. Folders the program forms itself end in
// the native separator; the data root is used exactly as the path file stores it, so
// a data root without its trailing separator yields paths that do not exist and the
// next open reports the path it tried.

inline const QString pathFileName = QStringLiteral("パスデータ.txt");
inline const QString sharedConfigFileName = QStringLiteral("共通データ.txt");
inline const QString soundFolderName = QStringLiteral("音フォルダ");

// The folder holding the executable, in native form, with the separator appended.
QString programFolderOf(const QString& executableDirectory);

// "パスデータ.txt" in the parent of the program folder.
QString pathFileOf(const QString& programFolder);

// The last component of the program folder's path (the drill's folder name).
QString drillFolderNameOf(const QString& programFolder);

QString drillDataFolderOf(const QString& dataRoot, const QString& drillFolderName);
QString soundFolderOf(const QString& dataRoot);
QString sharedConfigFileOf(const QString& dataRoot);

// Fills drillFolderName, drillDataFolder and soundFolder from programFolder and dataRoot.
void deriveDataFolders(InstallLayout& layout);
