// The level menu's result lists on a full school: 5000 roster lines, 20000 records and
// the profile raised to 24 levels. Goals: the best view of all levels and the list of
// every run until now (with the list widgets filled) each at most 100 ms, today's list at
// most 20 ms, switching the grade selector (a full rebuild) at most 150 ms.
#include "support/BenchSchool.h"
#include "views/LevelMenu.h"
#include "views/Rankings.h"

#include <QComboBox>
#include <QRadioButton>
#include <benchmark/benchmark.h>

namespace {

constexpr int records = 20000;
constexpr int levels = 24;

// Runs spread over ten years at every level, the newest 1000 of them today.
struct School : BenchSchool {
    School()
        : BenchSchool(levels, [](int level) { return QStringLiteral("レベル%1").arg(level); }) {
        const QDateTime now = env.now();
        QByteArray file;
        file.reserve(records * 44);
        for (int i = 0; i < records; ++i) {
            const int pupil = 1 + (i * 7919) % rosterLines;
            const int daysAgo = i >= records - 1000 ? 0 : (records - i) * 3650 / records;
            const int seconds = i % 97 == 0 ? 99999 : 20 + i % 90;
            file += resultRecord(now.addDays(-daysAgo), pupil, 1 + i % levels, seconds);
        }
        writeResults(file);
    }
};

seisekitime1* openMenu(School& school) {
    openLevelMenu(school.state);
    return qobject_cast<seisekitime1*>(school.host.current());
}

int listedLines(seisekitime1* menu) {
    int total = 0;
    for (int level = 1; level <= levels; ++level) {
        total += static_cast<int>(menu->listLines(level).size());
    }
    return total;
}

void label(benchmark::State& bench, seisekitime1* menu) {
    bench.SetLabel(QStringLiteral("%1 lines listed").arg(listedLines(menu)).toStdString());
}

// The rankings by best time of every level, lines only (no widgets).
void BM_RankingLines(benchmark::State& bench) {
    School school;
    openMenu(school);
    std::size_t lines = 0;
    for (auto _ : bench) {
        const RankingRoster roster = prepareRankingRoster(school.state, QStringLiteral("全学年"));
        lines = 0;
        for (int level = 1; level <= levels; ++level) {
            lines += levelRankingLines(school.state, roster, 1, level, RankingKind::Time,
                                       RankingStyle::List)
                         .size();
        }
    }
    bench.SetLabel(QStringLiteral("%1 lines").arg(lines).toStdString());
}
BENCHMARK(BM_RankingLines)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The best view ("BEST表示" under "ﾀｲﾑ表示"), lists filled.
void BM_BestView(benchmark::State& bench) {
    School school;
    seisekitime1* menu = openMenu(school);
    menu->Option2_Click(0);
    for (auto _ : bench) {
        menu->Option1_Click(1);
    }
    label(bench, menu);
}
BENCHMARK(BM_BestView)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Every run until now ("今までの全成績"), read from the file and listed.
void BM_AllResultsUntilNow(benchmark::State& bench) {
    School school;
    seisekitime1* menu = openMenu(school);
    menu->Option2_Click(0);
    school.state.views.periodChoice = 5;
    for (auto _ : bench) {
        menu->Option1_Click(3);
    }
    label(bench, menu);
}
BENCHMARK(BM_AllResultsUntilNow)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Today's runs: the newest 1000 records.
void BM_TodayList(benchmark::State& bench) {
    School school;
    seisekitime1* menu = openMenu(school);
    menu->Option2_Click(0);
    for (auto _ : bench) {
        menu->Option1_Click(2);
    }
    label(bench, menu);
}
BENCHMARK(BM_TodayList)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Switching the grade selector between two choices: the points ranking of every level
// rebuilt each time, as on arrival.
void BM_GradeSwitch(benchmark::State& bench) {
    School school;
    seisekitime1* menu = openMenu(school);
    auto* combo = school.host.findChild<QComboBox*>(QStringLiteral("Combo1"));
    const int all = combo->findText(QStringLiteral("全学年"));
    const int third = combo->findText(QStringLiteral("小３"));
    bool toThird = true;
    for (auto _ : bench) {
        const int index = toThird ? third : all;
        combo->setCurrentIndex(index);
        emit combo->activated(index);
        toThird = !toThird;
    }
    label(bench, menu);
}
BENCHMARK(BM_GradeSwitch)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
