#include "app/AppState.h"
#include "app/Messages.h"
#include "records/FileRetry.h"
#include "records/ResultsFile.h"
#include "text/DayNumber.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

constexpr int countedBelow = 6000; // runs of 6000 s or more earn points but are not counted

std::int32_t saturatedAdd(std::int32_t total, std::int32_t add) {
    std::int32_t sum = 0;
    if (__builtin_add_overflow(total, add, &sum)) [[unlikely]] {
        return add > 0 ? std::numeric_limits<std::int32_t>::max()
                       : std::numeric_limits<std::int32_t>::min();
    }
    return sum;
}

void countOne(std::int16_t& runs) {
    if (runs < std::numeric_limits<std::int16_t>::max()) {
        ++runs;
    }
}

// The number the first three characters of the decimal text of seconds form: 1234 gives
// 123, -1234 gives -12 (the sign takes a character), 999 gives 999.
std::int64_t leadingThreeCharacters(std::int64_t seconds) {
    if (seconds >= 0) {
        while (seconds >= 1000) {
            seconds /= 10;
        }
        return seconds;
    }
    std::int64_t magnitude = -seconds;
    while (magnitude >= 100) {
        magnitude /= 10;
    }
    return -magnitude;
}

// A double cut to its whole part the way the points are (rounded down), kept inside the
// range of the 32-bit tables whatever a criteria file holds.
int wholePart(double value) {
    if (value >= 0 && value < 2147483647.0) {
        return static_cast<int>(value); // cutting a positive number is rounding it down
    }
    if (std::isnan(value)) {
        return 0;
    }
    const double floored = std::floor(value);
    if (floored <= std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (floored >= std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<int>(floored);
}

QString dateText(double day) {
    return dateOfDayNumber(day).toString(QStringLiteral("yyyy/MM/dd"));
}

QString clockText(double fraction) {
    return timeOfDayFraction(fraction).toString(QStringLiteral("h:mm:ss"));
}

// The progress marker of the reading at the step that failed.
int readingMarker(int failedStep) {
    switch (failedStep) {
    case 1:
        return 3; // at the start, opening the file
    case 2:
        return 4; // before the length is taken
    default:
        return 5; // before the records are read
    }
}

template <typename T> T littleEndianAt(const char* bytes) {
    T value;
    std::memcpy(&value, bytes, sizeof(T));
    if constexpr (std::endian::native == std::endian::big) {
        auto raw = std::bit_cast<std::array<unsigned char, sizeof(T)>>(value);
        std::reverse(raw.begin(), raw.end());
        value = std::bit_cast<T>(raw);
    }
    return value;
}

inline int pointsOf(int seconds, int targetSeconds, float pointFactor) {
    const std::int64_t s = seconds;
    const std::int64_t t = targetSeconds;
    double points = 0;
    if (s >= 99998 || t <= 0) {
        points = 0; // a timed-out run, or a level without a target to divide by
    } else if (s <= t) {
        // s3 never exceeds t, so the share is never negative and the value never below 5:
        // cutting it is rounding it down.
        const double share = static_cast<double>(t - leadingThreeCharacters(s)) / t;
        points = static_cast<double>(static_cast<std::int64_t>(share * share * share * 50 + 5));
    } else if (s < 2 * t) {
        points = 4;
    } else if (s < 10 * t) {
        points = 1;
    }
    // The factor is the 32-bit value the criteria table holds; the product is taken in
    // double and cut without rounding: 1.3f × 10 is 12.9999995..., which gives 12.
    return wholePart(points * static_cast<double>(pointFactor));
}

// What the count of one record needs of its level, worked out once a count: the start
// of either period (the same subtraction insidePeriod makes) and the points rule's values.
struct LevelRule {
    double judgeFrom = 0;
    double overuseFrom = 0;
    int targetSeconds = 0;
    float pointFactor = 0;
};

// The moment a reading counts against and the levels' rules at that moment. counting is
// false when only the best times and the loaded list are rebuilt.
struct CountRule {
    bool counting = false;
    double today = 0;
    std::array<LevelRule, Statistics::levels> levels{};
};

double dayValue(const QDateTime& moment) {
    return dayNumber(moment.date()) + dayFraction(moment.time());
}

// The points of the run times a count meets, worked out once per level and time: a school
// has a few levels and a few hundred times under ten minutes, so most of the newest 20000
// records share their points with an earlier one, and the rule's divisions and branches
// are paid once a time instead of once a record. Longer times are worked out each time.
class PointsMemo {
public:
    PointsMemo() : points_(std::size_t{Statistics::levels} * times, unknown) {}

    int of(const LevelRule& rule, int level, std::int32_t seconds) {
        if (seconds < 0 || seconds >= times) {
            return pointsOf(seconds, rule.targetSeconds, rule.pointFactor);
        }
        std::int32_t& slot =
            points_[static_cast<std::size_t>(level) * times + static_cast<std::size_t>(seconds)];
        if (slot == unknown) { // (a rule that gives this very value is worked out each time)
            slot = pointsOf(seconds, rule.targetSeconds, rule.pointFactor);
        }
        return slot;
    }

private:
    static constexpr int times = 512;
    static constexpr std::int32_t unknown = std::numeric_limits<std::int32_t>::min();
    std::vector<std::int32_t> points_;
};

CountRule countRuleAt(const AppState& state, const QDateTime& moment, bool counting) {
    CountRule rule;
    rule.counting = counting;
    rule.today = dayNumber(moment.date());
    const double now = dayValue(moment);
    for (std::size_t level = 0; level < rule.levels.size(); ++level) {
        const LevelCriteria& c = state.criteria[level];
        rule.levels[level] = {now - c.judgeDays, now - c.overuseDays, c.targetSeconds,
                              c.pointFactor};
    }
    return rule;
}

// The tables a reading fills, taken once an attempt: the per-record work then reaches
// them without going through the vectors each time (their storage never moves meanwhile).
struct CountTables {
    explicit CountTables(Statistics& stats)
        : totalRuns(stats.statTotalRuns.data()), totalPoints(stats.statTotalPoints.data()),
          judgeRuns(stats.statJudgeRuns.data()), judgePoints(stats.statJudgePoints.data()),
          overuseRuns(stats.statOveruseRuns.data()), overusePoints(stats.statOverusePoints.data()),
          todayRuns(stats.statRuns.data()), todayPoints(stats.statTodayPoints.data()) {}
    std::int16_t* totalRuns;
    std::int32_t* totalPoints;
    std::int16_t* judgeRuns;
    std::int32_t* judgePoints;
    std::int16_t* overuseRuns;
    std::int32_t* overusePoints;
    float* todayRuns;
    std::int32_t* todayPoints;
};

// Adds a loaded record to the eight counters of its cell.
void countRecord(const CountTables& t, const LevelRule& rule, int points, double today,
                 double runDate, std::size_t c, std::int32_t seconds) {
    const bool counted = seconds < countedBelow;
    if (counted) {
        countOne(t.totalRuns[c]);
    }
    t.totalPoints[c] = saturatedAdd(t.totalPoints[c], points);
    if (runDate > rule.judgeFrom) {
        if (counted) {
            countOne(t.judgeRuns[c]);
        }
        t.judgePoints[c] = saturatedAdd(t.judgePoints[c], points);
    }
    if (runDate > rule.overuseFrom) {
        if (counted) {
            countOne(t.overuseRuns[c]);
        }
        t.overusePoints[c] = saturatedAdd(t.overusePoints[c], points);
    }
    if (runDate == today) {
        if (counted) {
            t.todayRuns[c] += 1.0f;
        }
        t.todayPoints[c] = saturatedAdd(t.todayPoints[c], points);
    }
}

// What is wrong with a record, if anything. Nearly every record is a usable run: that is
// told here without a call, and recordFault names the fault of any other.
RecordFault faultOf(double runDate, int pupil, int level, std::int32_t seconds, double today) {
    const bool usable = level >= 1 && level < Statistics::levels && pupil >= 1 &&
                        pupil < Statistics::pupils && seconds >= 0 && runDate <= today &&
                        std::isfinite(runDate);
    return usable ? RecordFault::None : recordFault(runDate, pupil, level, seconds, today);
}

// The school's best time per level: over pupils 1..1000 only (recordRun lowers it for any
// pupil), the least of their best times, taken as the records go by.
constexpr int schoolBestPupils = 1000;
using SchoolBest = std::array<std::int32_t, Statistics::levels>;

// Records of the file, decoded once each: a usable run's best time counts, and it joins
// the loaded list (and, when counting, the counters) when its date is not before the day
// count starts; any other record is only counted as left out. Only the five fields the
// counter uses are taken from the bytes (the layout of ResultRecord).
void keepRecords(Statistics& stats, const CountTables& t, const CountRule& rule, PointsMemo& memo,
                 SchoolBest& schoolBest, const char* bytes, qint64 count) {
    for (qint64 i = 0; i < count; ++i, bytes += ResultRecord::size) {
        const int pupil = littleEndianAt<std::int16_t>(bytes + 16);
        const int level = littleEndianAt<std::int16_t>(bytes + 18);
        const std::int32_t seconds = littleEndianAt<std::int32_t>(bytes + 20);
        const double runDate = littleEndianAt<double>(bytes);
        const RecordFault fault = faultOf(runDate, pupil, level, seconds, rule.today);
        if (fault != RecordFault::None) {
            ++stats.leftOutRecords[static_cast<std::size_t>(fault)];
            continue;
        }
        const auto c = static_cast<std::size_t>(Statistics::cell(level, pupil));
        stats.lowerBest(c, seconds);
        if (pupil <= schoolBestPupils) {
            auto& levelBest = schoolBest[static_cast<std::size_t>(level)];
            levelBest = std::min(levelBest, seconds);
        }
        if (runDate < 0 ||
            stats.loadedResults.size() >= static_cast<std::size_t>(maxLoadedResults)) {
            continue;
        }
        stats.loadedResults.push_back(
            {runDate, littleEndianAt<double>(bytes + 8), pupil, level, seconds});
        if (rule.counting) {
            stats.noteCounted(c);
            const LevelRule& levelRule = rule.levels[static_cast<std::size_t>(level)];
            countRecord(t, levelRule, memo.of(levelRule, level, seconds), rule.today, runDate, c,
                        seconds);
        }
    }
}

} // namespace

int runPointsFor(int seconds, int targetSeconds, float pointFactor) {
    return pointsOf(seconds, targetSeconds, pointFactor);
}

int runPoints(const AppState& state, int seconds, int level) {
    if (level < 0 || level >= Statistics::levels) {
        return 0;
    }
    const LevelCriteria& criteria = state.criteria[static_cast<std::size_t>(level)];
    return runPointsFor(seconds, criteria.targetSeconds, criteria.pointFactor);
}

double presentDayValue(AppState& state) {
    return dayValue(state.env->now());
}

int bestSeconds(const AppState& state, int level, int pupil) {
    if (!Statistics::validCell(level, pupil)) {
        return Statistics::noTime;
    }
    return state.stats.bestSeconds[Statistics::cell(level, pupil)];
}

int schoolBestSeconds(const AppState& state, int level) {
    if (level < 0 || level >= Statistics::levels) {
        return Statistics::noTime;
    }
    return state.stats.schoolBestSeconds[static_cast<std::size_t>(level)];
}

bool alreadyCleared(const AppState& state, int level, int pupil) {
    if (!Statistics::validCell(level, pupil)) {
        return false;
    }
    const LevelCriteria& criteria = state.criteria[static_cast<std::size_t>(level)];
    const int c = Statistics::cell(level, pupil);
    return state.stats.statTotalRuns[c] >= criteria.clearCount &&
           state.stats.statTotalPoints[c] >= criteria.clearPoints;
}

std::array<bool, 2> newBestFlags(const AppState& state, int level, int pupil, int seconds) {
    return {bestSeconds(state, level, pupil) > seconds, schoolBestSeconds(state, level) > seconds};
}

namespace {

// Reads the newest records into the loaded list and rebuilds the best times; with
// counting, the eight counters are rebuilt in the same pass. The moment is read at each
// attempt, so a count never straddles midnight and counts against the time it read.
bool readResults(AppState& state, bool counting) {
    Statistics& stats = state.stats;
    int missing = 0;
    int failedStep = 0;
    SchoolBest schoolBest{};
    const FileResult result = retryFileStep(state, missing, [&] {
        const CountRule rule = countRuleAt(state, state.env->now(), counting);
        PointsMemo memo;
        if (counting) {
            stats.clearCountedCells(); // of the last count, or of a failed attempt
        }
        stats.resetBestTimes();
        stats.leftOutRecords.fill(0);
        stats.loadedResults.clear();
        stats.loadedResults.reserve(maxLoadedResults);
        const CountTables tables(stats);
        schoolBest.fill(Statistics::noTime);
        return scanResultsTail(
            state, maxLoadedResults,
            [&](qint64, const char* bytes, qint64 count) {
                keepRecords(stats, tables, rule, memo, schoolBest, bytes, count);
            },
            nullptr, &failedStep);
    });
    if (!result.ok()) {
        stats.loadedResults.clear();
        if (counting) {
            stats.clearCounters(); // a reading that failed part way counts nothing
        }
        const int marker = readingMarker(failedStep);
        const QString number = QString::number(result.errorNumber);
        if (result.state == FileState::Missing) {
            fatalError(state, nullptr, QStringLiteral("注意"),
                       QStringLiteral("ファイルがありません") + QString::number(marker) +
                           result.description + number);
            return false;
        }
        // No record was being handled: its details read as an empty record's.
        const QString markerText = QString::number(marker);
        fatalError(state, nullptr, QStringLiteral("注意"),
                   QStringLiteral("成績ランダムファイル表示") + markerText + number +
                       result.description + number + QStringLiteral("/date") + dateText(0) +
                       QStringLiteral("/i=0/time=") + clockText(0) +
                       QStringLiteral("/name=/Bangou=0/level=0/time=0line") + markerText);
        return false;
    }

    std::copy(schoolBest.begin(), schoolBest.end(), stats.schoolBestSeconds.begin());
    return true;
}

} // namespace

bool loadResults(AppState& state) {
    return readResults(state, false);
}

bool countResults(AppState& state) {
    return readResults(state, true);
}
