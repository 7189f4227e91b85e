#pragma once

#include <QString>
#include <vector>

class ToolEnvironment;

// The technician's check of an installation ("mirunea --check"): the path file, the
// configuration, the key folder, the roster, the criteria, the sound table and its wave
// files, the results file and the explanation address, each read by the program's own
// readers and judged by their value rules, without changing any file.

enum class FindingLevel { Info, Warning, Error };

struct Finding {
    FindingLevel level = FindingLevel::Info;
    QString file;  // the file or folder the finding is about
    QString place; // "12 行目", "記録 345"; empty when the whole file is meant
    QString text;  // readable, Japanese
};

struct HealthReport {
    std::vector<Finding> findings; // in the order the installation is gone through

    int count(FindingLevel level) const;
    // 0: the program would start and run cleanly; 1: something would stop it (an error);
    // 2: only warnings.
    int exitStatus() const;
};

// Goes through the installation whose program folder is programFolder (the folder that
// holds the program, as start-up resolves it), the way start-up does, then through the
// files the screens read.
HealthReport checkInstallation(ToolEnvironment& env, const QString& programFolder);

// "[エラー] file: place: text" — one line per finding.
QString findingLine(const Finding& finding);
// The closing line: how many of each, and whether the program would start.
QString summaryLine(const HealthReport& report);
