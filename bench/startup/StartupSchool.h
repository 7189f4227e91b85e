#pragma once

#include <QString>
#include <QStringList>

// A school as the benchmark starts the program in: the demo installation with a roster
// of 5000 pupils and a results file of recordCount records, whose newest 20000 are the
// same runs whatever the count. The program's files (programFiles, taken from
// buildFolder) are copied into the program folder, as the installer places them.
struct StartupSchool {
    QString root;
    QString programFolder; // ends in the separator
};

bool layOutStartupSchool(const QString& root, int recordCount, const QString& buildFolder,
                         const QStringList& programFiles, StartupSchool* school, QString* error);
