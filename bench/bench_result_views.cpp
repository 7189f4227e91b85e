// The level menu's result lists on a full school: 5000 roster lines, 20000 records and
// the profile raised to 24 levels. Goals: the best view of all levels and the list of
// every run until now (with the list widgets filled) each at most 100 ms, today's list at
// most 20 ms, switching the grade selector (a full rebuild) at most 150 ms.
#include "app/AppState.h"
#include "app/JapaneseFonts.h"
#include "app/ScreenHost.h"
#include "app/SystemEnvironment.h"
#include "records/ResultRecord.h"
#include "roster/RosterFile.h"
#include "views/LevelMenu.h"
#include "views/Rankings.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int rosterLines = 5000;
constexpr int records = 20000;
constexpr int levels = 24;

// One record as the program writes it (school code 12345).
QByteArray resultRecord(const QDateTime& when, int pupilNo, int level, int seconds) {
    ResultRecord r;
    r.runDate = QDate(1899, 12, 30).daysTo(when.date());
    r.runClock = when.time().msecsSinceStartOfDay() / 86400000.0;
    r.pupilNo = static_cast<std::int16_t>(pupilNo);
    r.level = static_cast<std::int16_t>(level);
    r.seconds = seconds;
    r.setSchoolCode(QStringLiteral("12345"));
    const ResultRecordBytes bytes = encodeResultRecord(r);
    return QByteArray(bytes.data(), ResultRecord::size);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
}

struct School {
    QTemporaryDir dir;
    SystemEnvironment env;
    AppState state;
    ScreenHost host;

    School() {
        const QString sep = QDir::separator();
        const QString root = QDir::toNativeSeparators(dir.path()) + sep;
        state.env = &env;
        state.host = &host;
        state.layout.dataRoot = root + QStringLiteral("data") + sep;
        state.layout.drillFolderName = QStringLiteral("ミルネア");
        state.layout.drillDataFolder = state.layout.dataRoot + QStringLiteral("ミルネア") + sep;
        state.config.schoolName = QStringLiteral("ミルネア塾　本校");
        state.config.schoolYearStartMonth = 4;
        state.profile.programTitle = QStringLiteral("ミルネア");
        state.profile.levelCount = levels;
        state.profile.finalLevel = levels;
        state.profile.allLevelsOpen = 1;
        for (int level = 1; level <= levels; ++level) {
            state.profile.levelNames[level] = QStringLiteral("レベル%1").arg(level);
            state.profile.levelTimed[level] = 1;
            state.criteria[level] = {40, 60, 100, 3, 1.5f, 20, 0, 7, 1, 0, 0, 0};
        }

        QByteArray roster;
        for (int p = 1; p <= rosterLines; ++p) {
            roster += QStringLiteral("%1,%2,0,0,\"生徒%1\",0,\"\",\"\"\r\n")
                          .arg(p)
                          .arg(2010 + p % 9)
                          .toUtf8(); // ASCII and kanji of the JIS level 1 set only
        }
        // The roster is written in CP932 by hand: "生徒" is 90 B6 93 6B.
        roster.replace(QStringLiteral("生徒").toUtf8(), QByteArray("\x90\xb6\x93\x6b"));
        writeFile(state.layout.dataRoot + QStringLiteral("新名簿.txt"), roster);
        loadRoster(state);
        if (state.pupil.rosterLineCount != rosterLines) {
            qFatal("the roster read %d lines", state.pupil.rosterLineCount);
        }

        const QDateTime now = env.now();
        QByteArray file;
        file.reserve(records * 44);
        for (int i = 0; i < records; ++i) {
            const int pupil = 1 + (i * 7919) % rosterLines;
            // Spread over ten years, the newest 1000 of them today, every level.
            const int daysAgo = i >= records - 1000 ? 0 : (records - i) * 3650 / records;
            const int seconds = i % 97 == 0 ? 99999 : 20 + i % 90;
            file += resultRecord(now.addDays(-daysAgo), pupil, 1 + i % levels, seconds);
        }
        writeFile(state.layout.drillDataFolder + QStringLiteral("成績累積データ.dat"), file);

        state.pupil.pupilIndex = 1;
        state.pupil.pupilName = QStringLiteral("生徒1");
        state.pupil.pupilGroup = QStringLiteral("小３");
        state.pupil.gradeFilter = QStringLiteral("全学年");
        host.resize(1024, 768);
        host.show();
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

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    mapJapaneseFonts();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
