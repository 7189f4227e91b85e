#pragma once

// The technician's command that starts a new school, run without any window:
//
//   mirunea --new-school DATA_ROOT --school-name NAME [--school-code 12345]
//           [--start-month 4] [--key-folder FOLDER] [--install-root PROGRAM_FOLDER]
//
// Exit status: 0 laid out, 1 refused (school files exist) or not written, 64 for arguments
// that cannot be used.

#include <QStringList>

inline constexpr const char* newSchoolOption = "--new-school";

// Whether the arguments ask for a new school.
bool asksForNewSchool(int argc, char** argv);

// Runs the command and returns its exit status.
int runNewSchoolCommand(int argc, char** argv);

// The command's work after the arguments are read (arguments without the program name),
// against the given program folder; prints what the technician reads.
int newSchoolCommand(const QStringList& arguments, const QString& programFolder);
