// The technician's two commands on a large school: a roster of 5000 lines and a results
// file of 1,000,000 records (44 MB) in a demo installation. Times the health check and the
// export of every record to CSV, each the whole command as it runs from the command line
// (reading the path file, the configuration, the roster, the criteria, and for the check
// the sound files too). Goal: at most 2 s each. Prints figures; nothing is asserted.

#include "makedemo/DemoInstallation.h"
#include "records/ResultRecord.h"
#include "text/Cp932.h"
#include "text/DayNumber.h"
#include "tools/CommandLine.h"
#include "tools/ResultsExport.h"
#include "tools/ToolEnvironment.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <unistd.h>

namespace {

constexpr int rosterLines = 5000;
constexpr int recordCount = 1000000;

struct BigSchool {
    BigSchool() {
        demo = demoInstallationAt(dir.path() + QStringLiteral("/school"), QDate::currentDate());
        QString error;
        if (!layOutDemoInstallation(demo, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            std::abort();
        }
        const int schoolYear = QDate::currentDate().year();
        QString roster;
        for (int no = 1; no <= rosterLines; ++no) {
            roster += QStringLiteral("%1,%2,0,0,\"生徒　%3\",%4,\"\",\"\"\r\n")
                          .arg(no)
                          .arg(schoolYear - 6 - (no % 16 - 3))
                          .arg(no)
                          .arg(no % 10 == 0 ? 1 : 0);
        }
        write(demo.dataRoot + QStringLiteral("新名簿.txt"), encodeCp932(roster).value());

        const int today = dayNumber(QDate::currentDate());
        ResultRecord r;
        r.setSchoolCode(demoSchoolCode);
        QByteArray bytes;
        bytes.reserve(qsizetype(recordCount) * ResultRecord::size);
        for (int i = 0; i < recordCount; ++i) {
            const int fromEnd = recordCount - 1 - i;
            r.runDate = today - fromEnd / 1500; // some two years of runs
            r.runClock = 0.4 + (fromEnd % 1000) / 5000.0;
            r.pupilNo = static_cast<std::int16_t>(1 + (fromEnd * 7) % rosterLines);
            r.level = static_cast<std::int16_t>(1 + fromEnd % 24);
            r.seconds = fromEnd % 97 == 0 ? 99999 : 20 + static_cast<int>(fromEnd * 7919LL % 90);
            const ResultRecordBytes one = encodeResultRecord(r);
            bytes.append(one.data(), ResultRecord::size);
        }
        write(demo.drillDataFolder + QStringLiteral("成績累積データ.dat"), bytes);
        csv = dir.path() + QStringLiteral("/成績.csv");
    }

    static void write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            std::abort();
        }
    }

    QTemporaryDir dir;
    DemoInstallation demo;
    QString csv;
};

BigSchool* school = nullptr;

// The tools print their findings; the benchmark's own figures go to the terminal too, so
// standard output is sent away while a tool runs.
struct QuietOutput {
    QuietOutput() { std::fflush(stdout), saved = dup(1), std::freopen("/dev/null", "w", stdout); }
    ~QuietOutput() {
        std::fflush(stdout);
        dup2(saved, 1);
        close(saved);
    }
    int saved;
};

void BM_check(benchmark::State& state) {
    int status = 0;
    for (auto _ : state) {
        QuietOutput quiet;
        ToolEnvironment env;
        status = runCheckTool(env, school->demo.programFolder);
    }
    state.counters["exit"] = status;
}
BENCHMARK(BM_check)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_exportAll(benchmark::State& state) {
    for (auto _ : state) {
        QuietOutput quiet;
        ToolEnvironment env;
        benchmark::DoNotOptimize(
            runExportTool(env, school->demo.programFolder, ExportFilter{}, school->csv));
    }
    state.counters["MB"] = double(QFileInfo(school->csv).size()) / 1e6;
}
BENCHMARK(BM_exportAll)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_exportOnePupil(benchmark::State& state) {
    ExportFilter filter;
    filter.pupil = 42;
    for (auto _ : state) {
        QuietOutput quiet;
        ToolEnvironment env;
        benchmark::DoNotOptimize(
            runExportTool(env, school->demo.programFolder, filter, school->csv));
    }
}
BENCHMARK(BM_exportOnePupil)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    // The demo draws its explanation video's frames, which needs the fonts of a GUI
    // application; the commands themselves open no window.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    BigSchool big;
    school = &big;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
