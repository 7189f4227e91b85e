#pragma once

// The program's two command-line tools for the school's technician and teacher, run
// without any window (decided before the user interface starts):
//
//   mirunea --check [--install-root FOLDER]
//   mirunea --export-results FILE.csv [--from yyyy-mm-dd] [--to yyyy-mm-dd] [--pupil N]
//           [--install-root FOLDER]
//
// FOLDER is the program folder as start-up resolves it: the folder that holds the
// program, whose parent holds "パスデータ.txt" and whose name is the drill's data
// folder's name. Without it, the folder of the running program is used.
//
// Exit status of --check: 0 the program would start and run cleanly, 1 something would
// stop it, 2 only warnings. Of --export-results: 0 written, 1 not written. 64 for
// arguments that cannot be used. Every school file is only read.

#include <QString>

class ToolEnvironment;
struct ExportFilter;

// Whether the arguments ask for one of the tools.
bool isCommandLineTool(int argc, char** argv);

// Runs the tool the arguments ask for and returns the exit status.
int runCommandLineTool(int argc, char** argv);

// The two tools themselves, printing what the technician reads; their exit status.
int runCheckTool(ToolEnvironment& env, const QString& programFolder);
int runExportTool(ToolEnvironment& env, const QString& programFolder, const ExportFilter& filter,
                  const QString& csvPath);
