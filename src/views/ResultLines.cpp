#include "views/ResultLines.h"

#include "app/AppState.h"
#include "records/ResultRecord.h"
#include "records/ResultsFile.h"
#include "records/TimedOut.h"
#include "roster/GradeRules.h"
#include "text/DayNumber.h"
#include "text/FixedWidth.h"

namespace {

constexpr int nameWidth = 5;
const QString failureLead = QStringLiteral("　　× ");

QString trimmedBlanks(const QString& text, bool front) {
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == u' ') {
        --end;
    }
    qsizetype begin = 0;
    if (front) {
        while (begin < end && text.at(begin) == u' ') {
            ++begin;
        }
    }
    return text.mid(begin, end - begin);
}

} // namespace

int runPointsForList(const AppState& state, int level, int seconds) {
    if (level < 0 || level >= static_cast<int>(state.criteria.size())) {
        return 0;
    }
    // The lists show a run's points before the level's point factor.
    return runPointsFor(seconds, state.criteria[static_cast<std::size_t>(level)].targetSeconds,
                        1.0f);
}

int pupilGradeIndex(const AppState& state, int pupilNo) {
    if (pupilNo < 0 || pupilNo > CurrentPupil::maxPupilNo) {
        return 0;
    }
    return gradeIndexOf(state, state.pupil.rosterBirthYears[static_cast<std::size_t>(pupilNo)]);
}

QString pupilMark(const AppState& state, int pupilNo) {
    if (pupilNo == state.pupil.pupilIndex) {
        return QStringLiteral("●");
    }
    return gradeMark(pupilGradeIndex(state, pupilNo));
}

QString nameColumn(const QString& rosterName, bool trimBothEnds) {
    return nameField(trimmedBlanks(rosterName, trimBothEnds), nameWidth);
}

QString listClock(double runClock) {
    return timeOfDayFraction(runClock).toString(QStringLiteral("hh:mm"));
}

QString listDate(double runDate) {
    return dateOfDayNumber(runDate).toString(QStringLiteral("yyyy/MM/dd")).right(5);
}

QString secondsText(int seconds) {
    return QString::number(seconds) + QStringLiteral("秒");
}

PupilColumns runPupilColumns(const AppState& state, int pupilNo) {
    return {pupilMark(state, pupilNo),
            nameColumn(state.pupil.rosterNames[static_cast<std::size_t>(pupilNo)], true)};
}

QString todayLine(const AppState& state, const ResultRecord& record) {
    const PupilColumns who = runPupilColumns(state, record.pupilNo);
    const QString clock = listClock(record.runClock);
    if (isTimedOut(record.seconds)) {
        return failureLead + clock + who.mark + who.name + who.mark;
    }
    return rightField(secondsText(record.seconds), 5) + u' ' + clock + who.mark + who.name +
           who.mark + QString::number(runPointsForList(state, record.level, record.seconds));
}

QString allResultsLine(const AppState& state, const ResultRecord& record, ListKind kind) {
    const PupilColumns who = runPupilColumns(state, record.pupilNo);
    const QString date = listDate(record.runDate);
    if (isTimedOut(record.seconds)) {
        return failureLead + date + who.mark + who.name + who.mark;
    }
    const int points = runPointsForList(state, record.level, record.seconds);
    if (kind == ListKind::Time) {
        return rightField(secondsText(record.seconds), 5) + u' ' + date + who.mark + who.name +
               who.mark + QString::number(points);
    }
    return rightField(points, 5) + u' ' + date + who.mark + who.name + who.mark +
           secondsText(record.seconds);
}

QString personalLine(const ResultRecord& record) {
    const QString when = dateOfDayNumber(record.runDate).toString(QStringLiteral("yyyy/MM/dd")) +
                         u' ' +
                         timeOfDayFraction(record.runClock).toString(QStringLiteral("h:mm:ss"));
    if (isTimedOut(record.seconds)) {
        // A timed-out run has no time to show: its mark takes the place of the seconds.
        return when + rightField(QStringLiteral("×"), 5);
    }
    return when + rightField(secondsText(record.seconds), 5);
}

int periodDaysFor(int periodChoice, int sundayOne, int current) {
    const bool sunday = sundayOne == 1;
    switch (periodChoice) {
    case 1:
        return sunday ? 7 : sundayOne - 1;
    case 2:
        return sunday ? 14 : sundayOne - 1 + 7;
    case 3:
        return 30;
    case 4:
        return 365;
    case 5:
        return 3650;
    default:
        return current;
    }
}
