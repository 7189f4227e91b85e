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
    const std::int64_t sum = std::int64_t{total} + add;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        sum, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
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

// One record of the file: a usable run's best time counts, and it joins the loaded list
// when its date is not before the day count starts; any other record is only counted as
// left out. Only the five fields the counter uses are taken from the bytes (the layout of
// ResultRecord).
void keepRecord(Statistics& stats, const char* bytes, double today) {
    const int pupil = littleEndianAt<std::int16_t>(bytes + 16);
    const int level = littleEndianAt<std::int16_t>(bytes + 18);
    const std::int32_t seconds = littleEndianAt<std::int32_t>(bytes + 20);
    const double runDate = littleEndianAt<double>(bytes);
    const RecordFault fault = recordFault(runDate, pupil, level, seconds, today);
    if (fault != RecordFault::None) {
        ++stats.leftOutRecords[static_cast<std::size_t>(fault)];
        return;
    }
    std::int32_t& best = stats.bestSeconds[Statistics::cell(level, pupil)];
    best = std::min(best, seconds);
    if (runDate >= 0 && stats.loadedResults.size() < static_cast<std::size_t>(maxLoadedResults)) {
        stats.loadedResults.push_back(
            {runDate, littleEndianAt<double>(bytes + 8), pupil, level, seconds});
    }
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

namespace {
double dayValue(const QDateTime& moment) {
    return dayNumber(moment.date()) + dayFraction(moment.time());
}
} // namespace

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

bool loadResults(AppState& state) {
    Statistics& stats = state.stats;
    int missing = 0;
    int failedStep = 0;
    const double today = dayNumber(state.env->now().date());
    const FileResult result = retryFileStep(state, missing, [&] {
        std::fill(stats.bestSeconds.begin(), stats.bestSeconds.end(), Statistics::noTime);
        stats.leftOutRecords.fill(0);
        stats.loadedResults.clear();
        stats.loadedResults.reserve(maxLoadedResults);
        return scanResultsTail(
            state, maxLoadedResults,
            [&](qint64, const char* bytes, qint64 count) {
                for (qint64 i = 0; i < count; ++i) {
                    keepRecord(stats, bytes + i * ResultRecord::size, today);
                }
            },
            nullptr, &failedStep);
    });
    if (!result.ok()) {
        stats.loadedResults.clear();
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

    // Rebuilt from pupils 1..1000 only; recordRun lowers it for any pupil.
    std::fill(stats.schoolBestSeconds.begin(), stats.schoolBestSeconds.end(), Statistics::noTime);
    for (int level = 1; level < Statistics::levels; ++level) {
        const auto from = stats.bestSeconds.begin() + Statistics::cell(level, 1);
        stats.schoolBestSeconds[static_cast<std::size_t>(level)] =
            *std::min_element(from, from + 1000);
    }
    return true;
}

bool countResults(AppState& state) {
    Statistics& stats = state.stats;
    stats.clearCounters();
    if (!loadResults(state)) {
        return false;
    }
    const QDateTime moment = state.env->now(); // read once: a count never straddles midnight
    const double now = dayValue(moment);
    const double today = dayNumber(moment.date());
    for (const LoadedResult& r : stats.loadedResults) {
        if (r.level <= 0 || r.level >= Statistics::levels) {
            continue;
        }
        const LevelCriteria& criteria = state.criteria[static_cast<std::size_t>(r.level)];
        const bool counted = r.seconds < countedBelow;
        const int points = pointsOf(r.seconds, criteria.targetSeconds, criteria.pointFactor);
        const int c = Statistics::cell(r.level, r.pupilNo);
        if (counted) {
            countOne(stats.statTotalRuns[c]);
        }
        if (insidePeriod(r.runDate, now, criteria.judgeDays)) {
            if (counted) {
                countOne(stats.statJudgeRuns[c]);
            }
            stats.statJudgePoints[c] = saturatedAdd(stats.statJudgePoints[c], points);
        }
        if (insidePeriod(r.runDate, now, criteria.overuseDays)) {
            if (counted) {
                countOne(stats.statOveruseRuns[c]);
            }
            stats.statOverusePoints[c] = saturatedAdd(stats.statOverusePoints[c], points);
        }
        stats.statTotalPoints[c] = saturatedAdd(stats.statTotalPoints[c], points);
        if (r.runDate == today) {
            if (counted) {
                stats.statRuns[c] += 1.0f;
            }
            stats.statTodayPoints[c] = saturatedAdd(stats.statTodayPoints[c], points);
        }
    }
    return true;
}
