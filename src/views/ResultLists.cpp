#include "views/ResultLists.h"

#include "app/AppState.h"
#include "app/Environment.h"
#include "records/ResultRecord.h"
#include "records/ResultsFile.h"
#include "roster/GradeRules.h"
#include "text/DayNumber.h"

#include <algorithm>

namespace {

constexpr qint64 todayWindow = 1000;
constexpr qint64 periodWindow = 20000;
constexpr double personalDays = 3650;

qint64 windowOf(RunList list) {
    return list == RunList::Today ? todayWindow : periodWindow;
}

QString failurePrefix(RunList list) {
    return list == RunList::Today ? QStringLiteral("Command5") : QStringLiteral("Command7");
}

} // namespace

bool runListAccepts(const AppState& state, const RunListRequest& request,
                    const ResultRecord& record, double today, double now) {
    if (record.level < 1 || record.level > state.profile.levelCount) {
        return false;
    }
    // Records no copy of the program writes (negative seconds, a date that is no day or
    // lies after today, no pupil) are left out, as every statistic leaves them out.
    if (!isUsableRecord(record, today)) {
        return false;
    }
    switch (request.list) {
    case RunList::Today:
        if (record.runDate != today) {
            return false;
        }
        break;
    case RunList::Period:
        if (!insidePeriod(record.runDate, now, request.periodDays)) {
            return false;
        }
        break;
    case RunList::Personal:
        if (record.pupilNo != state.pupil.pupilIndex ||
            !insidePeriod(record.runDate, now, personalDays)) {
            return false;
        }
        break;
    }
    return gradeFilterAccepts(request.gradeFilter, pupilGradeIndex(state, record.pupilNo));
}

bool buildRunLists(AppState& state, const RunListRequest& request, LevelLines& lines,
                   const ListProgress& progress) {
    const int levels = std::max(state.profile.levelCount, 0);
    lines.assign(static_cast<std::size_t>(levels) + 1, QStringList());
    ResultsTail tail;
    if (!readResultsTail(state, windowOf(request.list), tail, failurePrefix(request.list))) {
        return false;
    }
    // One moment for the whole list, so that a build never straddles midnight.
    const QDateTime moment = state.env->now();
    const double today = dayNumber(moment.date());
    const double now = today + dayFraction(moment.time());
    const qint64 total = static_cast<qint64>(tail.records.size());
    qint64 done = 0;
    for (const NumberedRecord& numbered : tail.records) {
        const ResultRecord& r = numbered.record;
        if (runListAccepts(state, request, r, today, now)) {
            QStringList& out = lines[static_cast<std::size_t>(r.level)];
            switch (request.list) {
            case RunList::Today:
                out.push_back(todayLine(state, r));
                break;
            case RunList::Period:
                out.push_back(allResultsLine(state, r, request.kind));
                break;
            case RunList::Personal:
                out.push_back(personalLine(r));
                break;
            }
        }
        ++done;
        if (progress && (done % 1000 == 0 || done == total)) {
            progress(done, total);
        }
    }
    return true;
}
