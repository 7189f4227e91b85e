#pragma once

#include "tools/SchoolFiles.h"

#include <QDate>
#include <QString>
#include <vector>

struct DemoInstallation;

// The school year of a day: its calendar year, one less before the start month.
int schoolYearOn(const QDate& day, int startMonth);

// About forty pupils from kindergarten to senior high for the given school year, some
// who have left (status 1) or are on leave (status 2), and the teacher's entry "先生".
std::vector<RosterLine> demoRoster(int schoolYear);

bool writeDemoRoster(const DemoInstallation& demo, QString* error);
