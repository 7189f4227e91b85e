#include "records/ResultsFile.h"

#include "app/AppState.h"
#include "app/Messages.h"
#include "records/FileRetry.h"
#include "text/DayNumber.h"

#include <QByteArray>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <vector>

namespace {

const QString kTitle = QStringLiteral("注意");

bool levelRecordable(int level) {
    return level >= 1 && level < Statistics::levels;
}

bool pupilRecordable(int pupil) {
    return pupil >= 1 && pupil < Statistics::pupils;
}

QString outOfRangeText(int level, int pupil) {
    return QStringLiteral("レベル %1、生徒番号 %2 は記録できる範囲（レベル 1～35、番号 "
                          "1～5000）の外です。")
        .arg(level)
        .arg(pupil);
}

// One locked append, after the last whole record: a torn tail left by a crash is
// overwritten.
FileResult appendOnce(const AppState& state, const ResultRecordBytes& bytes) {
    return changeResultsFile(state, [&](RecordFile& file) {
        qint64 length = 0;
        const FileResult result = file.size(&length);
        if (!result.ok()) {
            return result;
        }
        const qint64 position = length / ResultRecord::size * ResultRecord::size;
        return file.writeAt(position, bytes.data(), ResultRecord::size);
    });
}

} // namespace

QString resultsFilePath(const AppState& state) {
    return state.layout.drillDataFolder + QStringLiteral("成績累積データ.dat");
}

FileResult openResultsFile(const AppState& state, RecordFile& file, RecordFile::Access access) {
    const QString path = resultsFilePath(state);
    // A folder opens for reading on some systems and then fails every read with a bare
    // error number: say what stands there instead.
    if (QFileInfo(path).isDir()) {
        return FileResult::failure(
            EISDIR, QStringLiteral("成績累積データ.dat の場所「%1」にあるのはファイルではなく"
                                   "フォルダです。このフォルダを移すか名前を変えてください。")
                        .arg(path));
    }
    file.setFaults(state.env);
    return file.open(path, access);
}

FileResult withResultsFileLocked(const AppState& state,
                                 const std::function<FileResult(RecordFile&)>& work) {
    RecordFile file;
    FileResult result = openResultsFile(state, file, RecordFile::Access::ReadWrite);
    if (!result.ok()) {
        return result;
    }
    result = file.tryLockExclusive();
    if (!result.ok()) {
        return result;
    }
    result = work(file);
    file.unlock();
    file.close();
    return result;
}

FileResult changeResultsFile(const AppState& state,
                             const std::function<FileResult(RecordFile&)>& change) {
    return withResultsFileLocked(state, [&](RecordFile& file) {
        FileResult result = change(file);
        if (result.ok()) {
            result = file.flushToDisk();
            if (!result.ok()) {
                result.state = FileState::Failed;
            }
        }
        return result;
    });
}

FileResult scanResultsTail(const AppState& state, qint64 maxRecords,
                           const RecordChunkVisitor& visit, qint64* totalRecords, int* failedStep) {
    int unused = 0;
    int& step = failedStep ? *failedStep : unused;
    if (totalRecords) {
        *totalRecords = 0;
    }
    RecordFile file;
    step = 1;
    FileResult result = openResultsFile(state, file, RecordFile::Access::Read);
    if (!result.ok()) {
        return result;
    }
    step = 2;
    qint64 length = 0;
    result = file.size(&length);
    if (!result.ok()) {
        return result;
    }
    step = 3;
    const qint64 total = length / ResultRecord::size;
    const qint64 first = (maxRecords >= 0 && total > maxRecords) ? total - maxRecords : 0;
    if (totalRecords) {
        *totalRecords = total;
    }
    // Read in chunks of whole records: a small buffer that is used over and over costs
    // less than one as large as the tail.
    constexpr qint64 chunkRecords = 4096; // 180 KB: a few reads for the 20000 newest
    std::vector<char> buffer(static_cast<std::size_t>(chunkRecords * ResultRecord::size));
    for (qint64 at = first; at < total;) {
        const qint64 want = std::min(chunkRecords, total - at);
        qint64 got = 0;
        result =
            file.readAt(at * ResultRecord::size, buffer.data(), want * ResultRecord::size, &got);
        if (!result.ok()) {
            return result;
        }
        const qint64 whole = got / ResultRecord::size;
        visit(at + 1, buffer.data(), whole);
        if (whole < want) {
            break; // the file was cut short meanwhile: only what was read counts
        }
        at += whole;
    }
    step = 0;
    return FileResult::success();
}

namespace {

// Decodes a chunk and hands on the records the tables have room for: the one filter of
// every reader of the tail.
void visitFitting(qint64 firstNumber, const char* bytes, qint64 count,
                  const std::function<void(const NumberedRecord&)>& visit) {
    for (qint64 i = 0; i < count; ++i) {
        const ResultRecord record = decodeResultRecord(bytes + i * ResultRecord::size);
        if (record.fitsTables()) {
            visit({firstNumber + i, record});
        }
    }
}

bool failedReading(AppState& state, const FileResult& result, const QString& failurePrefix) {
    fatalError(state, nullptr, kTitle,
               failurePrefix + result.description + QString::number(result.errorNumber));
    return false;
}

} // namespace

FileResult readResultsTailOnce(const AppState& state, qint64 maxRecords, ResultsTail& tail,
                               int* failedStep) {
    tail = ResultsTail{};
    return scanResultsTail(
        state, maxRecords,
        [&](qint64 firstNumber, const char* bytes, qint64 count) {
            visitFitting(firstNumber, bytes, count,
                         [&](const NumberedRecord& n) { tail.records.push_back(n); });
        },
        &tail.totalRecords, failedStep);
}

bool readResultsTail(AppState& state, qint64 maxRecords, ResultsTail& tail,
                     const QString& failurePrefix) {
    int missing = 0;
    const FileResult result =
        retryFileStep(state, missing, [&] { return readResultsTailOnce(state, maxRecords, tail); });
    if (!result.ok()) {
        tail = ResultsTail{};
        return failedReading(state, result, failurePrefix);
    }
    return true;
}

bool readResultsTail(AppState& state, qint64 maxRecords, const std::function<void()>& start,
                     const TailRecordVisitor& visit, const QString& failurePrefix) {
    int missing = 0;
    const FileResult result = retryFileStep(state, missing, [&] {
        start();
        qint64 total = 0;
        return scanResultsTail(
            state, maxRecords,
            [&](qint64 firstNumber, const char* bytes, qint64 count) {
                visitFitting(firstNumber, bytes, count,
                             [&](const NumberedRecord& n) { visit(n, total); });
            },
            &total);
    });
    return result.ok() || failedReading(state, result, failurePrefix);
}

ResultRecord runRecord(AppState& state, int level) {
    const QDateTime now = state.env->now();
    const QTime time = now.time();
    ResultRecord record;
    record.runDate = dayNumber(now.date());
    // Whole seconds, as every copy of the program has always written them.
    record.runClock = dayFraction(QTime(time.hour(), time.minute(), time.second()));
    record.pupilNo = static_cast<std::int16_t>(state.pupil.pupilIndex);
    record.level = static_cast<std::int16_t>(level);
    record.seconds = state.run.resultTime;
    if (!record.setSchoolCode(state.config.schoolCode)) {
        record.setSchoolCode(QString()); // a code CP932 cannot hold is left blank
    }
    return record;
}

bool appendResultRecord(AppState& state, const ResultRecord& record) {
    if (!levelRecordable(record.level) || !pupilRecordable(record.pupilNo)) {
        fatalError(state, nullptr, kTitle,
                   QStringLiteral("成績ランダムファイル記録") +
                       outOfRangeText(record.level, record.pupilNo));
        return false;
    }
    const ResultRecordBytes bytes = encodeResultRecord(record);
    int missing = 0;
    const FileResult result =
        retryFileStep(state, missing, [&] { return appendOnce(state, bytes); });
    if (!result.ok()) {
        fatalError(state, nullptr, kTitle,
                   QStringLiteral("成績ランダムファイル記録") + result.description);
        return false;
    }
    return true;
}

bool appendResult(AppState& state) {
    if (!pupilRecordable(state.pupil.pupilIndex)) {
        fatalError(state, nullptr, kTitle,
                   QStringLiteral("成績ランダムファイル記録") +
                       outOfRangeText(state.run.levelNo, state.pupil.pupilIndex));
        return false;
    }
    return appendResultRecord(state, runRecord(state, state.run.levelNo));
}

bool recordRun(AppState& state, int level) {
    const int pupil = state.pupil.pupilIndex;
    if (!levelRecordable(level) || !pupilRecordable(pupil)) {
        fatalError(state, nullptr, kTitle,
                   QStringLiteral("Seisekikiroku") + outOfRangeText(level, pupil) +
                       QString::number(EINVAL));
        return false;
    }
    const int seconds = state.run.resultTime;
    // Judged on the figures of the last count, before this run is in them.
    const bool cleared = alreadyCleared(state, level, pupil);
    const std::array<bool, 2> beats = newBestFlags(state, level, pupil, seconds);
    if (!appendResultRecord(state, runRecord(state, level))) {
        return false;
    }
    state.run.alreadyCleared = cleared ? 1 : 0;
    if (beats[0]) {
        state.run.newBestFlags[0] = 1;
        state.stats.lowerBest(static_cast<std::size_t>(Statistics::cell(level, pupil)), seconds);
    }
    if (beats[1]) {
        state.run.newBestFlags[1] = 1;
        state.stats.schoolBestSeconds[level] = seconds;
    }
    return true;
}
