#include "DemoResults.h"

#include "records/ResultRecord.h"
#include "text/DayNumber.h"

#include <QDir>
#include <QSaveFile>
#include <QTime>
#include <algorithm>
#include <random>
#include <vector>

namespace {

constexpr int demoPupils = 40;
constexpr int demoDays = 21; // today and the twenty days before it
constexpr int timedOut = 99999;
constexpr double levelBase[4] = {0, 42, 58, 75}; // a typical time at each level, seconds
constexpr int quietPupil = 33;                   // on the roster, never ran: a "--" line

struct DemoPupil {
    double ability = 1; // time multiplier: below 1 is quicker than the class
    double attendance = 0.4;
    int level = 1;
    int runsAtLevel = 0;
};

// One pupil's runs on one day, a few minutes apart from a start in the afternoon.
void addDay(std::mt19937& random, int pupil, DemoPupil& who, int day, double progress,
            const QString& schoolCode, std::vector<ResultRecord>& runs) {
    std::uniform_int_distribution<int> runCount(1, 3);
    std::uniform_int_distribution<int> startMinute(15 * 60, 19 * 60 + 30);
    std::uniform_int_distribution<int> gapSeconds(150, 420);
    std::uniform_real_distribution<double> noise(0.88, 1.2);
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    int clock = startMinute(random) * 60 + std::uniform_int_distribution<int>(0, 59)(random);
    const int count = runCount(random);
    for (int i = 0; i < count && clock < 24 * 3600 - 1; ++i) {
        // Pupils get quicker over the weeks and slower again on a new level.
        const double practice = 1.0 - 0.18 * progress - 0.02 * std::min(who.runsAtLevel, 6);
        int seconds =
            static_cast<int>(levelBase[who.level] * who.ability * practice * noise(random));
        if (chance(random) < 0.03) {
            seconds = timedOut;
        }
        ResultRecord run;
        run.runDate = day;
        run.runClock = dayFraction(QTime(0, 0).addSecs(clock));
        run.pupilNo = static_cast<std::int16_t>(pupil);
        run.level = static_cast<std::int16_t>(who.level);
        run.seconds = seconds;
        if (!run.setSchoolCode(schoolCode)) {
            run.setSchoolCode(QString());
        }
        runs.push_back(run);
        clock += seconds == timedOut ? 5 * 60 : seconds + gapSeconds(random);
        ++who.runsAtLevel;
        if (who.level < 3 && who.runsAtLevel >= 5 && seconds < levelBase[who.level] &&
            chance(random) < 0.5) {
            ++who.level;
            who.runsAtLevel = 0;
        }
    }
}

ResultRecord fixedRun(int day, QTime clock, int pupil, int level, int seconds,
                      const QString& schoolCode) {
    ResultRecord run;
    run.runDate = day;
    run.runClock = dayFraction(clock);
    run.pupilNo = static_cast<std::int16_t>(pupil);
    run.level = static_cast<std::int16_t>(level);
    run.seconds = seconds;
    if (!run.setSchoolCode(schoolCode)) {
        run.setSchoolCode(QString());
    }
    return run;
}

// Runs that give every result list something to show: two pupils sharing the best time
// of level 1, a run timed out today, and runs older than a month and than a year.
void addShowcaseRuns(int lastDay, const QString& schoolCode, std::vector<ResultRecord>& runs) {
    runs.push_back(fixedRun(lastDay - 2, QTime(16, 10, 0), 2, 1, 17, schoolCode));
    runs.push_back(fixedRun(lastDay - 1, QTime(17, 25, 30), 3, 1, 17, schoolCode));
    runs.push_back(fixedRun(lastDay, QTime(15, 5, 0), 5, 1, timedOut, schoolCode));
    for (int pupil : {1, 4, 7}) {
        runs.push_back(fixedRun(lastDay - 45, QTime(16, pupil * 5, 0), pupil, 1, 50, schoolCode));
    }
    for (int pupil : {1, 9}) {
        runs.push_back(fixedRun(lastDay - 400, QTime(17, pupil, 0), pupil, 1, 55, schoolCode));
    }
}

} // namespace

bool writeDemoResults(const QString& drillDataFolder, const QDate& today, QString* error,
                      const QString& schoolCode) {
    std::mt19937 random(20261209u);
    std::uniform_real_distribution<double> ability(0.75, 1.45);
    std::uniform_real_distribution<double> attendance(0.3, 0.6);
    std::uniform_real_distribution<double> chance(0.0, 1.0);

    std::vector<DemoPupil> pupils(demoPupils + 1);
    for (int p = 1; p <= demoPupils; ++p) {
        pupils[static_cast<std::size_t>(p)].ability = ability(random);
        pupils[static_cast<std::size_t>(p)].attendance = attendance(random);
    }

    std::vector<ResultRecord> runs;
    const int lastDay = dayNumber(today);
    for (int day = lastDay - (demoDays - 1); day <= lastDay; ++day) {
        const double progress = static_cast<double>(day - (lastDay - demoDays + 1)) / demoDays;
        for (int p = 1; p <= demoPupils; ++p) {
            DemoPupil& who = pupils[static_cast<std::size_t>(p)];
            // Everyone turns up on at least one day, and some pupils today.
            const bool comes = chance(random) < who.attendance || (day == lastDay && p % 4 == 0) ||
                               (day == lastDay - p % demoDays);
            if (comes && p != quietPupil) {
                addDay(random, p, who, day, progress, schoolCode, runs);
            }
        }
    }
    addShowcaseRuns(lastDay, schoolCode, runs);
    std::stable_sort(runs.begin(), runs.end(), [](const ResultRecord& a, const ResultRecord& b) {
        return a.runDate != b.runDate ? a.runDate < b.runDate : a.runClock < b.runClock;
    });

    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(runs.size()) * ResultRecord::size);
    for (const ResultRecord& run : runs) {
        const ResultRecordBytes record = encodeResultRecord(run);
        bytes.append(record.data(), ResultRecord::size);
    }

    QDir().mkpath(drillDataFolder);
    QSaveFile file(QDir(drillDataFolder).filePath(QStringLiteral("成績累積データ.dat")));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error) {
            *error = QStringLiteral("成績累積データ.dat を書けません: ") + file.errorString();
        }
        return false;
    }
    return true;
}
