#include "records/TimeDistributions.h"

#include "app/AppState.h"
#include "app/Environment.h"
#include "records/ResultsFile.h"
#include "text/DayNumber.h"

#include <algorithm>
#include <tuple>

namespace {

// "   0～★★": the bucket's first second right-aligned in 4, then the stars.
QStringList histogramLines(const QString& heading, const auto& histogram, int level) {
    int largest = 0;
    for (const auto& bucket : histogram) {
        largest = std::max(largest, bucket[static_cast<std::size_t>(level)]);
    }
    const int unit = starUnit(largest);
    QStringList lines{heading.arg(unit)};
    int b = 0;
    for (const auto& bucket : histogram) {
        const int runs = bucket[static_cast<std::size_t>(level)];
        // Int(runs / unit + 0.5) for whole numbers of runs.
        const int stars = (2 * runs + unit) / (2 * unit);
        lines << QStringLiteral("%1～").arg(10 * b, 4) + QString(stars, QChar(0x2605));
        ++b;
    }
    return lines;
}

bool levelInTables(int level) {
    return level >= 0 && level < TimeDistributions::levels;
}

} // namespace

int timeBucket(int seconds, int lastBucket) {
    if (seconds < 0) {
        return 0;
    }
    return std::min(seconds / 10, lastBucket);
}

TimeDistributions distributionsOf(const std::vector<ResultRecord>& records) {
    TimeDistributions tables;
    // (level, pupil, seconds) sorted: each pupil's runs at a level come together, the
    // lowest time first, so the first of each group is the pupil's best.
    std::vector<std::tuple<int, int, int>> runs;
    runs.reserve(records.size());
    for (const ResultRecord& r : records) {
        if (r.level == 0 || !r.fitsTables()) {
            continue;
        }
        const auto level = static_cast<std::size_t>(r.level);
        runs.emplace_back(r.level, r.pupilNo, r.seconds);
        ++tables.runCountByLevel[level];
        ++tables.allTimesHistogram[static_cast<std::size_t>(
            timeBucket(r.seconds, TimeDistributions::allBuckets - 1))][level];
    }
    std::sort(runs.begin(), runs.end());
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const auto [level, pupil, seconds] = runs[i];
        if (i > 0 && std::get<0>(runs[i - 1]) == level && std::get<1>(runs[i - 1]) == pupil) {
            continue;
        }
        ++tables.bestTimesHistogram[static_cast<std::size_t>(timeBucket(
            seconds, TimeDistributions::bestBuckets - 1))][static_cast<std::size_t>(level)];
    }
    return tables;
}

int starUnit(int largestBucket) {
    const int unit = largestBucket / 10;
    return unit == 0 ? 1 : unit;
}

QStringList allTimesList(const TimeDistributions& tables, int level) {
    if (!levelInTables(level)) {
        return {};
    }
    const QString heading = QStringLiteral("レベル%1 今まで%2回  （★=")
                                .arg(level)
                                .arg(tables.runCountByLevel[static_cast<std::size_t>(level)]) +
                            QStringLiteral("%1）");
    return histogramLines(heading, tables.allTimesHistogram, level);
}

QStringList bestTimesList(const TimeDistributions& tables, int level) {
    if (!levelInTables(level)) {
        return {};
    }
    const QString heading = QStringLiteral("レベル%1 （★=").arg(level) + QStringLiteral("%1）");
    return histogramLines(heading, tables.bestTimesHistogram, level);
}

bool refreshDistributions(const AppState& state, TimeDistributions& tables, QString* error) {
    ResultsTail tail;
    const FileResult result = readResultsTailOnce(state, -1, tail);
    if (!result.ok()) {
        if (error) {
            *error = QStringLiteral("成績累積データ.dat を読めません。\n") +
                     resultsFilePath(state) + QLatin1Char('\n') + result.description;
        }
        return false;
    }
    std::vector<ResultRecord> records;
    records.reserve(tail.records.size());
    const double today = dayNumber(state.env->now().date());
    for (const NumberedRecord& n : tail.records) {
        if (isUsableRecord(n.record, today)) {
            records.push_back(n.record);
        }
    }
    tables = distributionsOf(records);
    return true;
}
