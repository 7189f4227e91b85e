#pragma once

#include "views/ResultLines.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

struct AppState;

// The run lists of the level menu, read straight from the shared results file: today's
// runs, every run of a period, and the current pupil's own runs. The window of records
// is fixed from the file's length when the reading starts; a record another PC is still
// writing at the end is left for the next build.

enum class RunList {
    Today,    // the newest 1000 records, runs of today
    Period,   // the newest 20000 records, runs of the last periodDays days
    Personal, // the newest 20000 records, the current pupil's runs of the last 3650 days
};

struct RunListRequest {
    RunList list = RunList::Today;
    ListKind kind = ListKind::Time; // the all-results list's display
    int periodDays = 30;            // the all-results list's period
    QString gradeFilter;            // the grade selector's text
};

// Lines per level: element i holds the lines of level i (element 0 stays empty).
using LevelLines = std::vector<QStringList>;

// Reports how far the reading has come: records read of the window's total.
using ListProgress = std::function<void(qint64 done, qint64 total)>;

// Reads the results file under the readers' waiting rules (a busy file is waited for with
// the screen responsive; another failure is shown as "Command5" for today's list or
// "Command7" for the others, with its description and number, and ends the program:
// false) and builds the lines of every level 1 .. levelCount, in file order.
bool buildRunLists(AppState& state, const RunListRequest& request, LevelLines& lines,
                   const ListProgress& progress = {});

// Whether the list takes a record already read. today is
// the day number of today, now the present moment as a day value.
bool runListAccepts(const AppState& state, const RunListRequest& request,
                    const ResultRecord& record, double today, double now);
