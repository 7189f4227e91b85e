#pragma once

#include "records/RecordFile.h"
#include "records/ResultRecord.h"

#include <QString>
#include <array>
#include <functional>
#include <vector>

struct AppState;

// The shared results file "成績累積データ.dat" of the drill's data folder.
// Failures are shown with their messages; false means the program is ending.

inline constexpr int maxLoadedResults = 20000; // records read back by loadResults

// The path of the results file in the drill's data folder.
QString resultsFilePath(const AppState& state);

// Opens the results file for record access, creating it empty when there is none. Every
// reader and writer of the file opens it this way; the file is closed when `file` goes.
// A folder standing at the file's path is a failure naming the path.
FileResult openResultsFile(const AppState& state, RecordFile& file, RecordFile::Access access);

// One attempt at working on the results file under its lock: opens it for writing, takes
// its exclusive lock without waiting (a busy lock is a failure the caller may try again)
// and runs work; the lock is let go and the file closed however it ends. For a change
// that makes its own steps durable.
FileResult withResultsFileLocked(const AppState& state,
                                 const std::function<FileResult(RecordFile&)>& work);

// One attempt at changing the results file: opens it for writing, takes its exclusive lock
// without waiting (a busy lock is a failure the caller may try again), runs change, then
// flushes to the disk; the lock is let go and the file closed however it ends. A failed
// flush is final: the change may stand in the file already, and trying again could make
// it twice. Every writer of the file, the appends included, changes it this way.
FileResult changeResultsFile(const AppState& state,
                             const std::function<FileResult(RecordFile&)>& change);

// A record with its number in the file (the first record is number 1).
struct NumberedRecord {
    qint64 number = 0;
    ResultRecord record;
};

struct ResultsTail {
    qint64 totalRecords = 0;             // whole records in the file
    std::vector<NumberedRecord> records; // in file order; foreign records left out
};

// Records n .. n + count - 1 of the file, 44 bytes each, as they stand.
using RecordChunkVisitor = std::function<void(qint64 firstNumber, const char* bytes, qint64 count)>;

// One attempt at going through the newest maxRecords whole records (all of them when
// maxRecords < 0) in file order, a chunk at a time; a torn tail is left out and the file
// is never changed. Records are passed as they stand, foreign ones included. totalRecords
// receives the number of whole records in the file. failedStep, when given, tells where
// a failure came: 1 opening, 2 taking the length, 3 reading.
FileResult scanResultsTail(const AppState& state, qint64 maxRecords,
                           const RecordChunkVisitor& visit, qint64* totalRecords = nullptr,
                           int* failedStep = nullptr);

// One attempt at reading the newest maxRecords whole records (all of them when
// maxRecords < 0). Records whose level or pupil number the tables have no room for are
// left out and a torn tail is ignored; the file is never changed. For readers with
// waiting rules of their own. failedStep, when given, tells where a failure came:
// 1 opening, 2 taking the length, 3 reading.
FileResult readResultsTailOnce(const AppState& state, qint64 maxRecords, ResultsTail& tail,
                               int* failedStep = nullptr);

// The same with the readers' waiting rules: a busy file is waited for (1 s, then again,
// with the screen responsive), an unreachable one tried four times 5 s apart; any other
// failure is shown as failurePrefix followed by the description and the error number,
// and the program ends (false).
bool readResultsTail(AppState& state, qint64 maxRecords, ResultsTail& tail,
                     const QString& failurePrefix);

// The same reading handed over record by record, for readers that keep none of them (a
// whole file of a million records is not held in memory): visit gets the records readResultsTail
// would keep, in file order, with the number of whole records in the file; start runs
// before every attempt, so an attempt cut short by a busy file is counted again.
using TailRecordVisitor = std::function<void(const NumberedRecord& record, qint64 totalRecords)>;
bool readResultsTail(AppState& state, qint64 maxRecords, const std::function<void()>& start,
                     const TailRecordVisitor& visit, const QString& failurePrefix);

// The record appendResult writes for the run: today's date and the present time of day
// (whole seconds), pupilIndex, the level, resultTime and the installation's school code.
ResultRecord runRecord(AppState& state, int level);

// Appends one record under the file's exclusive lock: the position is taken from the
// length while the lock is held (after the last whole record, so a torn tail is
// overwritten), the 44 bytes go in one write and are flushed to the disk before the lock
// is let go. A failed or short write is shown and counts as not recorded (false).
bool appendResultRecord(AppState& state, const ResultRecord& record);

// Appends the record of the current run (pupilIndex, run.levelNo, run.resultTime).
bool appendResult(AppState& state);

// Records the run of state.pupil.pupilIndex at level with state.run.resultTime: sets
// alreadyCleared and newBestFlags, keeps the best times, appends one record under the
// file's lock.
bool recordRun(AppState& state, int level);

// Reads the newest records into state.stats.loadedResults and rebuilds bestSeconds and
// schoolBestSeconds (the school best over pupils 1..1000).
bool loadResults(AppState& state);

// Rebuilds the statistics tables and best times from the newest records. Records that
// are not usable runs (isUsableRecord) are left out and counted in leftOutRecords.
bool countResults(AppState& state);

// The points of one run of the given seconds at the level.
int runPoints(const AppState& state, int seconds, int level);
// The same rule on the criteria values themselves.
int runPointsFor(int seconds, int targetSeconds, float pointFactor);

// Whether a record dated runDate lies in a period of `days` days that ends now (today and
// the days - 1 days before it; `now` is the day number plus the fraction of the day).
inline bool insidePeriod(double runDate, double now, double days) {
    return runDate > now - days;
}
// The present moment as a day number with the time of day as its fraction.
double presentDayValue(AppState& state);

// Best times of the tables; Statistics::noTime when none (or outside the tables).
int bestSeconds(const AppState& state, int level, int pupil);
int schoolBestSeconds(const AppState& state, int level);

// Whether the pupil's all-time totals at the level (as last counted) had reached the
// level's clearCount and clearPoints.
bool alreadyCleared(const AppState& state, int level, int pupil);
// {beats the pupil's best at the level, beats the school's best at the level}: strictly
// lower times only.
std::array<bool, 2> newBestFlags(const AppState& state, int level, int pupil, int seconds);
