#include "records/Statistics.h"

#include <algorithm>

Statistics::Statistics()
    : statTotalRuns(cellMemory_, cells), statTotalPoints(cellMemory_, cells),
      statJudgeRuns(cellMemory_, cells), statJudgePoints(cellMemory_, cells),
      statOveruseRuns(cellMemory_, cells), statOverusePoints(cellMemory_, cells),
      statRuns(cellMemory_, cells), statTodayPoints(cellMemory_, cells),
      bestSeconds(cellMemory_, cells), schoolBestSeconds(levels, noTime),
      countedMark(cellMemory_, cells) {
    std::fill(bestSeconds.begin(), bestSeconds.end(), noTime);
}

void Statistics::clearCounters() {
    std::fill(statTotalRuns.begin(), statTotalRuns.end(), std::int16_t{0});
    std::fill(statTotalPoints.begin(), statTotalPoints.end(), 0);
    std::fill(statJudgeRuns.begin(), statJudgeRuns.end(), std::int16_t{0});
    std::fill(statJudgePoints.begin(), statJudgePoints.end(), 0);
    std::fill(statOveruseRuns.begin(), statOveruseRuns.end(), std::int16_t{0});
    std::fill(statOverusePoints.begin(), statOverusePoints.end(), 0);
    std::fill(statRuns.begin(), statRuns.end(), 0.0f);
    std::fill(statTodayPoints.begin(), statTodayPoints.end(), 0);
    for (const std::int32_t c : countedCells) {
        countedMark[static_cast<std::size_t>(c)] = 0;
    }
    countedCells.clear();
}

void Statistics::resetBestTimes() {
    for (const std::int32_t cell : bestCells) {
        bestSeconds[static_cast<std::size_t>(cell)] = noTime;
    }
    bestCells.clear();
}

void Statistics::clearCountedCells() {
    for (const std::int32_t cell : countedCells) {
        const auto c = static_cast<std::size_t>(cell);
        statTotalRuns[c] = 0;
        statTotalPoints[c] = 0;
        statJudgeRuns[c] = 0;
        statJudgePoints[c] = 0;
        statOveruseRuns[c] = 0;
        statOverusePoints[c] = 0;
        statRuns[c] = 0;
        statTodayPoints[c] = 0;
        countedMark[c] = 0;
    }
    countedCells.clear();
}

int Statistics::damagedRecords() const {
    return leftOutRecords[static_cast<std::size_t>(RecordFault::NegativeSeconds)] +
           leftOutRecords[static_cast<std::size_t>(RecordFault::BadDate)] +
           leftOutRecords[static_cast<std::size_t>(RecordFault::FutureDate)];
}
