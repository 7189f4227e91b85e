#pragma once

#include "records/CellTable.h"
#include "records/ResultRecord.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// One record of the loaded-record list: the fields the views work from.
struct LoadedResult {
    double runDate = 0;  // day number
    double runClock = 0; // fraction of a day
    int pupilNo = 0;
    int level = 0;
    int seconds = 0;
};

// Per level (0..35) and pupil (0..5000) figures rebuilt from the results file, held in
// flat tables addressed by cell(level, pupil). Only levels 1..35 and pupils 1..5000 are
// filled; slot 0 of either index stays unused. The tables share one block that starts at
// zero without being written (CellMemory), so only the cells a school's records reach
// take memory.
struct Statistics {
    static constexpr int levels = 36;
    static constexpr int pupils = 5001;
    static constexpr int cells = levels * pupils;
    static constexpr int noTime = 99999; // best time of a pupil or level without runs
    static constexpr int cell(int level, int pupil) { return level * pupils + pupil; }
    static constexpr bool validCell(int level, int pupil) {
        return level >= 0 && level < levels && pupil >= 0 && pupil < pupils;
    }

    Statistics();

    // Zeroes the eight counters (best times and the loaded list are left alone).
    void clearCounters();
    // The same for a count that follows another: only the cells a count has written since
    // the counters were last cleared can hold anything (the counter alone writes them), and
    // they are far fewer than the tables' cells.
    void clearCountedCells();
    // Lowers the best time of cell c to seconds when it is less (a record read, or a run
    // just recorded).
    void lowerBest(std::size_t c, std::int32_t seconds) {
        std::int32_t& best = bestSeconds[c];
        if (seconds < best) {
            if (best == noTime) {
                bestCells.push_back(static_cast<std::int32_t>(c));
            }
            best = seconds;
        }
    }
    // Every best time back to noTime. Only the cells lowerBest took off noTime can hold
    // another time, and a read finds them far fewer than the table's cells.
    void resetBestTimes();
    // Notes that a count writes the counters of cell c.
    void noteCounted(std::size_t c) {
        if (!countedMark[c]) {
            countedMark[c] = 1;
            countedCells.push_back(static_cast<std::int32_t>(c));
        }
    }

private:
    static constexpr std::size_t cellMemoryBytes = 3 * CellTable<std::int16_t>::footprint(cells) +
                                                   5 * CellTable<std::int32_t>::footprint(cells) +
                                                   CellTable<float>::footprint(cells) +
                                                   CellTable<std::uint8_t>::footprint(cells);
    CellMemory cellMemory_{cellMemoryBytes}; // before the tables that are carved from it

public:
    CellTable<std::int16_t> statTotalRuns;     // counted runs (seconds below 6000)
    CellTable<std::int32_t> statTotalPoints;   // points of every record
    CellTable<std::int16_t> statJudgeRuns;     // counted runs inside the judging period
    CellTable<std::int32_t> statJudgePoints;   // points inside the judging period
    CellTable<std::int16_t> statOveruseRuns;   // counted runs inside the over-practice period
    CellTable<std::int32_t> statOverusePoints; // points inside the over-practice period
    CellTable<float> statRuns;                 // counted runs recorded today
    CellTable<std::int32_t> statTodayPoints;   // points of the records recorded today

    CellTable<std::int32_t> bestSeconds;         // per cell; noTime when none
    std::vector<std::int32_t> bestCells;         // the cells lowerBest took off noTime
    std::vector<std::int32_t> schoolBestSeconds; // per level; noTime when none

    // The newest records as last read (at most 20000), in file order.
    std::vector<LoadedResult> loadedResults;

    // Records of the last read that no statistic, best time or list took, by their fault
    // (indexed by RecordFault; the None slot stays 0).
    std::array<int, recordFaultKinds> leftOutRecords{};
    // The records of the last read no copy of the program writes (negative seconds, a run
    // date that is not a day or lies after today): the school is told of these.
    int damagedRecords() const;

    // The cells noteCounted was told of since the counters were last cleared, once each.
    std::vector<std::int32_t> countedCells;
    CellTable<std::uint8_t> countedMark; // per cell: 1 when in countedCells
};
