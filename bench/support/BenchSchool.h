#pragma once

#include "app/AppState.h"
#include "app/ScreenHost.h"
#include "app/SystemEnvironment.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QTemporaryDir>

// One record as the program writes it (school code 12345).
QByteArray resultRecord(const QDateTime& when, int pupilNo, int level, int seconds);

// Writes the whole file, creating its folder; a benchmark cannot go on without it.
void writeFile(const QString& path, const QByteArray& bytes);

// Points the state's data folders into the folder dir: dir/data/ and dir/data/ミルネア/.
void layOutDataFolders(AppState& state, const QString& dir);

// A full school on the real environment in a temporary folder: the roster of
// rosterLines pupils read in, `levels` timed levels, pupil 1 chosen and the program's one
// window shown. The benchmark writes the results file it wants.
struct BenchSchool {
    static constexpr int rosterLines = 5000;

    BenchSchool(int levels, QString (*levelName)(int));
    void writeResults(const QByteArray& records) const;

    QTemporaryDir dir;
    SystemEnvironment env;
    AppState state;
    ScreenHost host;
};
