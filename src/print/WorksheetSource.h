#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

struct AppState;

inline const QString worksheetSourceName = QStringLiteral("プロト.csv");

// One usable line of the worksheet table: its level and the three parts of its item.
struct WorksheetLine {
    int level = 0;
    std::array<QString, 3> parts; // values 2, 3 and 4 of the line
    int line = 0;                 // 1-based line in the file, for messages
};

// What reading the worksheet table gave: the usable lines in file order, and a readable
// description of everything that was left out (a missing or unreadable file, a line
// with fewer than nine values, a level outside 1..8), each naming the file and the line.
struct WorksheetSource {
    std::vector<WorksheetLine> lines;
    QStringList problems;
};

// The worksheet table beside the program: the program folder followed by "プロト.csv".
QString worksheetSourcePath(const AppState& state);

// Reads the table (CP932, nine values a line: a level 1..8, the three parts, five values
// that are not used). Lines that cannot be used are skipped and described; the good
// lines are always kept.
WorksheetSource readWorksheetSource(const QString& path);
