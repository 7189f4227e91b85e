#pragma once

#include <QString>

struct InstallLayout;

// Where the results export may write. The export replaces its target, so a target that is
// one of the school's files, under whatever spelling, would lose that file: the path is
// resolved the way a write would resolve it (links followed, a dangling one too, and the
// folder's links and "..") and compared with the installation's folders resolved the same
// way. The comparison ignores case everywhere: a classroom share ignores it, and refusing
// a folder that differs from the school's only in case costs the technician one retry.
//
// Refused: the path file "パスデータ.txt", and anything inside the program folder, the data
// root or the drill's data folder except a new file ending in ".csv" (so neither an
// existing file there nor "成績累積データtemp.dat" or "成績累積データ.DAT").
struct ExportTarget {
    QString path;    // the file to create or replace, resolved; empty when refused
    QString refusal; // readable, naming the requested file, when refused
};

ExportTarget exportTargetOf(const InstallLayout& layout, const QString& requested);
