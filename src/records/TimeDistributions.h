#pragma once

#include "records/ResultRecord.h"

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

struct AppState;

// How the pupils' times are spread over each level, as the criteria editor shows them
// beside the grid: every run in 10-second buckets, and each pupil's best time.
struct TimeDistributions {
    static constexpr int levels = 36;      // levels 0..35
    static constexpr int allBuckets = 101; // 0..100; bucket 100 holds 1000 s and more
    static constexpr int bestBuckets = 31; // 0..30; bucket 30 holds 300 s and more

    std::array<int, levels> runCountByLevel{};
    std::array<std::array<int, levels>, allBuckets> allTimesHistogram{};
    std::array<std::array<int, levels>, bestBuckets> bestTimesHistogram{};
};

// The 10-second bucket of a time, capped at lastBucket; a negative time (a damaged
// record) counts in bucket 0.
int timeBucket(int seconds, int lastBucket);

// The tables from the records (level 0 and records the tables have no room for are left
// out). A pupil's best time at a level is the lowest seconds among their records there.
TimeDistributions distributionsOf(const std::vector<ResultRecord>& records);

// The star unit of a histogram column: a tenth of its largest bucket, at least 1.
int starUnit(int largestBucket);

// The "全成績" list of a level: "レベルL 今までN回  （★=U）", then one line per bucket.
QStringList allTimesList(const TimeDistributions& tables, int level);
// The "最高タイム" list of a level: "レベルL （★=U）", then one line per bucket.
QStringList bestTimesList(const TimeDistributions& tables, int level);

// Reads the whole results file once (a torn tail is ignored). On failure the tables are
// left as they were and error receives a readable description naming the file.
bool refreshDistributions(const AppState& state, TimeDistributions& tables, QString* error);
