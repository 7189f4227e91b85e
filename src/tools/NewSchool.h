#pragma once

#include "app/InstallLayout.h"
#include "tools/SchoolFiles.h"

#include <QString>
#include <QStringList>

// A new, empty school installation the program starts on, laid out for the program folder
// it will run from:
//   the path file beside the program folder (or where a link there points; the installed
//   package links it to the system's configuration folder), naming the data root;
//   <data root>/共通データ.txt, 新名簿.txt (only "先生"), the key folder with keypass.txt;
//   <data root>/音フォルダ/ with the sound table and the program's synthesised wave files;
//   <data root>/<drill>/ with the starting criteria of every level the drill names, an
//   empty results file and the explanation video of level 1.
struct NewSchool {
    InstallLayout layout; // every folder ends in the separator
    QString pathFile;     // where the path file is written
    SchoolSettings settings;
    int criteriaLevels = 0; // the highest level the drill's profile runs
};

// The installation for a program folder and a data root (made absolute, in native form,
// with the separator appended). An empty key folder becomes "先生の鍵" in the data root.
NewSchool newSchoolFor(const QString& programFolder, const QString& dataRoot,
                       SchoolSettings settings);

// The school files that exist already, of those a new school would write.
QStringList schoolFilesPresent(const NewSchool& school);

// Writes every file, replacing files of the same names but an existing key file (the demo
// builds on this); false with a description naming the file that could not be written.
bool writeSchoolFiles(const NewSchool& school, QString* error);

// Writes the new school unless any of its files exists already: nothing is overwritten
// (a key file that exists is kept as it is). False with the reason (the files found, or
// the file that could not be written); what a failed write had written is removed again.
bool createNewSchool(const NewSchool& school, QString* error);

// Why these settings cannot go into 共通データ.txt so that they read back as given;
// empty when they can.
QString settingsFault(const SchoolSettings& settings);
