// bench_startup: the time from starting the program to its painted, still name list, and
// its resident memory there, beside a bare Qt Widgets window timed the same way in the
// same run. See bench/README.md.
//
//   bench_startup [rounds [program-build-folder]]
// rounds is 5 when not given; the program's files are taken from the build's src folder
// unless another folder holding them is named (to time an earlier build beside this one).
// With BENCH_STARTUP_KEEP set, the schools are left in place (their folder is printed) for
// profiling the program on them.
#include "startup/ScreenWatch.h"
#include "startup/StartupSchool.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <map>
#include <unistd.h>
#include <vector>

namespace {

// The classroom displays the program is drawn for; both windows fill it.
constexpr int screenWidth = 1024;
constexpr int screenHeight = 768;
constexpr int settleMs = 1500;
constexpr int timeoutMs = 30000;

struct Subject {
    QString name;
    QString program;
    QString folder;
    std::vector<StartMeasure> runs;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Figures {
    double time, timeMin, timeMax, kb, kbMin, kbMax;
};

Figures figuresOf(const Subject& s) {
    std::vector<double> times;
    std::vector<double> kbs;
    for (const StartMeasure& m : s.runs) {
        if (m.ok) {
            times.push_back(m.stillSeconds);
            kbs.push_back(static_cast<double>(m.residentKb));
        }
    }
    if (times.empty()) {
        return {};
    }
    const auto [tMin, tMax] = std::minmax_element(times.begin(), times.end());
    const auto [kMin, kMax] = std::minmax_element(kbs.begin(), kbs.end());
    return {median(times), *tMin, *tMax, median(kbs), *kMin, *kMax};
}

} // namespace

int main(int argc, char** argv) {
    // The demo's explanation video is drawn with fonts; nothing is shown here.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    const QString buildFolder =
        argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral(MIRUNEA_PROGRAM_BUILD_FOLDER);
    QTemporaryDir work;
    work.setAutoRemove(qEnvironmentVariableIsEmpty("BENCH_STARTUP_KEEP"));
    const QString temp = work.path() + QStringLiteral("/tmp");
    QDir().mkpath(temp);
    // Also the programs' runtime folder, which Qt wants private.
    QFile::setPermissions(temp,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    std::vector<Subject> subjects;
    subjects.push_back(
        {QStringLiteral("bare Qt window"), QStringLiteral(MIRUNEA_BARE_WINDOW), work.path(), {}});
    const QStringList files = QStringLiteral(MIRUNEA_PROGRAM_FILES).split(QLatin1Char('|'));
    for (const int records : {20000, 1000000}) {
        StartupSchool school;
        QString error;
        if (!layOutStartupSchool(work.path() + QStringLiteral("/school%1").arg(records), records,
                                 buildFolder, files, &school, &error)) {
            std::fprintf(stderr, "bench_startup: %s\n", qPrintable(error));
            return 1;
        }
        subjects.push_back({QStringLiteral("program, %1 records").arg(records),
                            school.programFolder + QStringLiteral("mirunea"),
                            school.programFolder,
                            {}});
    }

    VirtualScreen screen(screenWidth, screenHeight);
    if (!screen.started()) {
        std::fprintf(stderr, "bench_startup: Xvfb did not start\n");
        return 1;
    }
    std::printf("program from %s; schools in %s\n", qPrintable(buildFolder),
                qPrintable(work.path()));
    std::printf("screen %dx%d on %s, %d rounds, still = no change for %d ms\n", screenWidth,
                screenHeight, qPrintable(screen.display()), rounds, settleMs);
    // Each round starts every subject once, so a busy moment of the machine falls on all.
    for (int round = 1; round <= rounds; ++round) {
        for (Subject& s : subjects) {
            StartMeasure m =
                measureStart(screen.display(), s.program, s.folder, temp, settleMs, timeoutMs);
            std::printf("round %d  %-26s ", round, qPrintable(s.name));
            if (m.ok) {
                std::printf("still %.3f s (first paint %.3f s, processor %.2f s)  %6.1f MB  "
                            "window %dx%d\n",
                            m.stillSeconds, m.firstSeconds, m.cpuSeconds, m.residentKb / 1024.0,
                            m.largestWindowWidth, m.largestWindowHeight);
            } else {
                std::printf("failed: %s\n", qPrintable(m.failure));
            }
            std::fflush(stdout);
            s.runs.push_back(m);
            usleep(300000);
        }
    }

    const Figures bare = figuresOf(subjects.front());
    std::printf("\n%-26s %28s %28s %7s %7s\n", "", "time to still screen (s)", "resident (MB)",
                "time", "memory");
    std::printf("%-26s %28s %28s %7s %7s\n", "", "median [min-max]", "median [min-max]", "ratio",
                "ratio");
    for (const Subject& s : subjects) {
        const Figures f = figuresOf(s);
        std::printf("%-26s %10.3f [%.3f-%.3f] %14.1f [%.1f-%.1f] %7.2f %7.2f\n", qPrintable(s.name),
                    f.time, f.timeMin, f.timeMax, f.kb / 1024, f.kbMin / 1024, f.kbMax / 1024,
                    bare.time > 0 ? f.time / bare.time : 0, bare.kb > 0 ? f.kb / bare.kb : 0);
    }
    std::printf("goals: time ratio at most 1.5, memory ratio at most 2\n");
    return 0;
}
