// The level menu's refresh on a full school: 5000 roster lines and 20000 records.
// Goal: at most 50 ms a refresh on the classroom PCs.
#include "support/BenchSchool.h"
#include "views/LevelMenu.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

namespace {

constexpr int records = 20000;

// Every pupil runs level 1 now and then over the last 60 days.
struct School : BenchSchool {
    School() : BenchSchool(1, [](int) { return QStringLiteral("レベル１"); }) {
        const QDateTime now = env.now();
        QByteArray file;
        file.reserve(records * 44);
        for (int i = 0; i < records; ++i) {
            const int pupil = 1 + (i * 7919) % rosterLines;
            const int daysAgo = (i * 31) % 60;
            file += resultRecord(now.addDays(-daysAgo), pupil, 1, 20 + i % 90);
        }
        writeResults(file);
    }
};

void BM_LevelMenuRefresh(benchmark::State& bench) {
    School school;
    openLevelMenu(school.state);
    Screen* menu = school.host.current();
    for (auto _ : bench) {
        menu->activate();
    }
    // The figures are really counted: pupil 1 has 4 of the 20000 records.
    const int runs = school.state.stats.statTotalRuns[Statistics::cell(1, 1)];
    bench.SetLabel(QStringLiteral("5000 roster lines, 20000 records; pupil 1: %1 runs")
                       .arg(runs)
                       .toStdString());
}
BENCHMARK(BM_LevelMenuRefresh)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_LevelMenuOpen(benchmark::State& bench) {
    School school;
    for (auto _ : bench) {
        openLevelMenu(school.state);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    bench.SetLabel("build and first refresh");
}
BENCHMARK(BM_LevelMenuOpen)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
