// The results file's costs: the counter on a school-sized and on a very large file,
// beside a baseline that only reads the same tail into memory and clears the same
// tables; and one locked, flushed append on a local file. Prints figures and the ratios;
// nothing is asserted.

#include "app/AppState.h"
#include "records/RecordFile.h"
#include "records/ResultRecord.h"
#include "records/ResultsFile.h"
#include "support/QuietEnvironment.h"
#include "text/DayNumber.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

struct BenchEnvironment : QuietEnvironment {
    BenchEnvironment() : QuietEnvironment(QDateTime(QDate(2026, 12, 9), QTime(16, 30))) {}
};

// A results file of `records` runs: 300 pupils at levels 1..3. The newest 20000 records
// are the same in every file (spread over the last 60 days), so files of different
// lengths differ only in what lies before the window.
struct BenchFolder {
    explicit BenchFolder(int records) {
        folder = dir.path() + QLatin1Char('/');
        const int today = dayNumber(QDate(2026, 12, 9));
        ResultRecord r;
        r.setSchoolCode(QStringLiteral("12345"));
        QByteArray bytes;
        bytes.reserve(qsizetype(records) * ResultRecord::size);
        for (int i = 0; i < records; ++i) {
            const int fromEnd = records - 1 - i;
            r.runDate = today - (fromEnd % 20000) * 60 / 20000;
            r.runClock = 0.4 + (fromEnd % 1000) / 5000.0;
            r.pupilNo = static_cast<std::int16_t>(1 + fromEnd % 300);
            r.level = static_cast<std::int16_t>(1 + fromEnd % 3);
            r.seconds = fromEnd % 97 == 0
                            ? 99999
                            : static_cast<std::int32_t>(20 + (std::int64_t{fromEnd} * 7919) % 90);
            const ResultRecordBytes one = encodeResultRecord(r);
            bytes.append(one.data(), ResultRecord::size);
        }
        QFile file(folder + QStringLiteral("成績累積データ.dat"));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "cannot write the benchmark file\n");
            std::abort();
        }
    }
    QTemporaryDir dir;
    QString folder;
};

std::unique_ptr<AppState> makeState(BenchEnvironment& env, const QString& folder) {
    auto state = std::make_unique<AppState>();
    state->env = &env;
    state->layout.drillDataFolder = folder;
    state->config.schoolCode = QStringLiteral("12345");
    for (int level = 1; level <= 3; ++level) {
        LevelCriteria& c = state->criteria[static_cast<std::size_t>(level)];
        c.targetSeconds = 60;
        c.minimumSeconds = 90;
        c.pointFactor = 1.3f;
        c.judgeDays = 7;
        c.overuseDays = 1;
    }
    return state;
}

void BM_countResults(benchmark::State& bench, const QString& folder) {
    BenchEnvironment env;
    auto state = makeState(env, folder);
    for (auto _ : bench) {
        benchmark::DoNotOptimize(countResults(*state));
    }
    bench.counters["kept"] = double(state->stats.loadedResults.size());
}

// What any counter must do at least: read the same newest 20000 records into memory
// and clear the same tables.
void BM_readTailAndClear(benchmark::State& bench, const QString& folder) {
    BenchEnvironment env;
    auto state = makeState(env, folder);
    QByteArray buffer(qsizetype(maxLoadedResults) * ResultRecord::size, Qt::Uninitialized);
    for (auto _ : bench) {
        RecordFile file;
        openResultsFile(*state, file, RecordFile::Access::Read);
        qint64 length = 0;
        file.size(&length);
        const qint64 total = length / ResultRecord::size;
        const qint64 first = std::max<qint64>(0, total - maxLoadedResults);
        qint64 got = 0;
        file.readAt(first * ResultRecord::size, buffer.data(), (total - first) * ResultRecord::size,
                    &got);
        file.close();
        state->stats.clearCounters();
        std::fill(state->stats.bestSeconds.begin(), state->stats.bestSeconds.end(),
                  Statistics::noTime);
        benchmark::DoNotOptimize(buffer.data());
        benchmark::DoNotOptimize(state->stats.statTotalRuns.data());
        benchmark::ClobberMemory();
    }
}

void BM_recordRun(benchmark::State& bench) {
    BenchEnvironment env;
    QTemporaryDir dir;
    auto state = makeState(env, dir.path() + QLatin1Char('/'));
    state->pupil.pupilIndex = 12;
    state->run.resultTime = 47;
    for (auto _ : bench) {
        benchmark::DoNotOptimize(recordRun(*state, 1));
    }
    bench.counters["records"] =
        double(QFile(state->layout.drillDataFolder + QStringLiteral("成績累積データ.dat")).size() /
               ResultRecord::size);
}

// Keeps each run's time per iteration so the ratios can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                realNs[run.benchmark_name()] =
                    run.real_accumulated_time * 1e9 / double(std::max<int64_t>(1, run.iterations));
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> realNs;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    // The files are made once for the whole run; the benchmarks only read them.
    const BenchFolder small(20000);
    const BenchFolder large(1000000);
    for (const BenchFolder* f : {&small, &large}) {
        const std::string size = f == &small ? "20000" : "1000000";
        benchmark::RegisterBenchmark(("BM_readTailAndClear/" + size).c_str(), BM_readTailAndClear,
                                     f->folder)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("BM_countResults/" + size).c_str(), BM_countResults,
                                     f->folder)
            ->Unit(benchmark::kMicrosecond);
    }
    benchmark::RegisterBenchmark("BM_recordRun", BM_recordRun)->Unit(benchmark::kMicrosecond);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto& t = reporter.realNs;
    for (const char* size : {"20000", "1000000"}) {
        const std::string count = std::string("BM_countResults/") + size;
        const std::string base = std::string("BM_readTailAndClear/") + size;
        if (t.count(count) && t.count(base)) {
            std::printf("countResults on %s records: %.0f us, baseline %.0f us, ratio %.2f "
                        "(goal: at most 1.5)\n",
                        size, t[count] / 1000, t[base] / 1000, t[count] / t[base]);
        }
    }
    if (t.count("BM_countResults/20000") && t.count("BM_countResults/1000000")) {
        std::printf("countResults, 1000000 records against 20000: %.2f (goal: at most 1)\n",
                    t["BM_countResults/1000000"] / t["BM_countResults/20000"]);
    }
    benchmark::Shutdown();
    return 0;
}
