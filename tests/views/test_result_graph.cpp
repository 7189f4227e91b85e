// The result graph over results files written on disk: what a block shows, the sheet on
// the screen's picture and on paper (read back from the PDF with poppler's tools).
#include "app/JapaneseFonts.h"
#include "records/RecordsTestSupport.h"
#include "support/GraphSpots.h"
#include "support/TestInstallation.h"
#include "views/GraphPainter.h"
#include "views/GraphPicture.h"
#include "views/GraphSheet.h"
#include "views/ResultGraph.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

constexpr int pupil = 7;
constexpr int otherPupil = 8;

struct Graph {
    TestInstallation t;
    std::vector<ResultRecord> records;

    explicit Graph(int levels = 5) {
        AppState& s = t.state;
        s.profile.programTitle = QStringLiteral("ミルネア");
        s.profile.levelCount = levels;
        for (int i = 1; i <= levels; ++i) {
            s.profile.levelNames[std::size_t(i)] = QStringLiteral("ﾚﾍﾞﾙ%1").arg(i);
        }
        s.pupil.rosterNames[pupil] = QStringLiteral("山田太郎            ");
        s.pupil.rosterNames[otherPupil] = QStringLiteral("佐藤花子            ");
        s.pupil.schoolYear = 2026;
        s.pupil.rosterBirthYears[pupil] = 2017; // 小３
        s.pupil.rosterBirthYears[otherPupil] = 2015;
    }

    int today() { return todayNumber(t.env); }
    void run(int day, int who, int level, int seconds) {
        records.push_back(
            makeRecord(day, 36000 + int(records.size() % 30000), who, level, seconds));
    }
    void save() { t.writeBytes(resultsFilePath(t.state), encodeAll(records)); }

    GraphBlockData block(int level, const QString& filter = QStringLiteral("全学年")) {
        GraphBlockData data;
        if (!readGraphBlock(t.state, {pupil, level, filter}, data)) {
            qFatal("the block could not be read");
        }
        return data;
    }
};

// A surface the size of an A4 page at 75 dots an inch, as the screen draws it.
GraphSurface a4Screen() {
    return screenSurface(QSizeF(620, 877), 1, 6, msGothic);
}

std::vector<GraphDot> dotsOf(const GraphDrawing& d) {
    std::vector<GraphDot> dots;
    for (const GraphItem& item : d.items) {
        if (const auto* dot = std::get_if<GraphDot>(&item)) {
            dots.push_back(*dot);
        }
    }
    return dots;
}

std::vector<GraphText> textsOf(const GraphDrawing& d) {
    std::vector<GraphText> texts;
    for (const GraphItem& item : d.items) {
        if (const auto* text = std::get_if<GraphText>(&item)) {
            texts.push_back(*text);
        }
    }
    return texts;
}

int countLines(const GraphDrawing& d, GraphPen pen) {
    return int(std::count_if(d.items.begin(), d.items.end(), [&](const GraphItem& item) {
        const auto* line = std::get_if<GraphLine>(&item);
        return line && line->pen == pen;
    }));
}

// The text drawn nearest to (x, y), within a pixel.
QString textAt(const GraphDrawing& d, double x, double y) {
    for (const GraphText& text : textsOf(d)) {
        if (std::abs(text.at.x() - x) < 1 && std::abs(text.at.y() - y) < 1) {
            return text.text;
        }
    }
    return QStringLiteral("<none>");
}

QString withoutBlanks(QString text) {
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    return text.remove(QChar(0x3000));
}

QString artefactFolder() {
    const QString folder = QStringLiteral(MIRUNEA_ARTIFACTS_DIR "/result_graph");
    QDir().mkpath(folder);
    return folder;
}

QString run(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

int pdfPages(const QString& path) {
    const auto match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                           .match(run(QStringLiteral("pdfinfo"), {path}));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString pdfPageText(const QString& path, int page) {
    return run(QStringLiteral("pdftotext"),
               {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page),
                QStringLiteral("-l"), QString::number(page), path, QStringLiteral("-")});
}

LevelFigures sampleFigures(int level, int) {
    LevelFigures f;
    f.timeRank = QStringLiteral("  %1").arg(level);
    f.pointsRank = QStringLiteral("  %1").arg(level + 1);
    f.pupilPoints = 100 + level + 0.4;
    f.pointsHolders = 3;
    f.pointsSum = 250 + level;
    return f;
}

} // namespace

class ResultGraphTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { mapJapaneseFonts(); }
    void scaleTopIsTheNextTenAboveTheSlowestRun_data();
    void scaleTopIsTheNextTenAboveTheSlowestRun();
    void pupilWithoutRunsBelowTheLimitHasNoAverageAndNoPoints();
    void firstRunIsABestAndAnEqualTimeIsNot();
    void manyBestsAreLabelledEveryThirdWithShortDates();
    void zeroRanksAndPointsPrintAsBlanks();
    void gradeSelectorHidesThePointsButNotTheFigures();
    void largeFileKeepsEveryPointOnItsAxesAndInsideItsBlock();
    void fiveLevelsPrintOnTwoPagesWithTheirFigures();
    void screenAndPaperPutTheDotsInTheSamePlaces();
    void withoutPrinterTheSheetIsOfferedAsPdf();
    void screenShowsAtMostThreeBlocks();
    void recordsTheValueRulesLeaveOutAreNotCharted_data();
    void recordsTheValueRulesLeaveOutAreNotCharted();
};

void ResultGraphTest::scaleTopIsTheNextTenAboveTheSlowestRun_data() {
    QTest::addColumn<int>("slowest");
    QTest::addColumn<QString>("top");
    QTest::newRow("57 s") << 57 << QStringLiteral("60秒");
    QTest::newRow("60 s") << 60 << QStringLiteral("70秒");
    QTest::newRow("1500 s") << 1500 << QStringLiteral("1000秒");
    QTest::newRow("9 s") << 9 << QStringLiteral("10秒");
}

void ResultGraphTest::scaleTopIsTheNextTenAboveTheSlowestRun() {
    QFETCH(int, slowest);
    QFETCH(QString, top);
    Graph g;
    g.run(g.today() - 3, pupil, 1, 8);
    g.run(g.today() - 2, pupil, 1, slowest);
    g.run(g.today() - 1, pupil, 1, 2400);  // too slow to count: leaves the scale alone
    g.run(g.today(), otherPupil, 1, 1700); // another pupil's slow run: the same
    g.save();
    const GraphSurface s = a4Screen();
    const double y = 0.05 * s.height();
    const GraphDrawing d = layoutGraphBlock(g.block(1), s, y);
    const double bw = s.width() / 2, bh = s.height() / 3;
    QCOMPARE(textAt(d, 0.12 * bw, y + 0.1 * bh), top);
    QCOMPARE(textAt(d, 0.12 * bw, y + 0.79 * bh), QStringLiteral("0秒"));
    // The slowest run sits on the top of the frame (a run above 1000 s is held there).
    const std::vector<GraphDot> dots = dotsOf(d);
    QCOMPARE(dots.size(), std::size_t(2));
    QVERIFY(std::abs(dots[1].at.y() -
                     (y + bh * std::max(0.1, 0.8 - 0.7 * slowest / top.chopped(1).toDouble()))) <
            0.01);
}

void ResultGraphTest::pupilWithoutRunsBelowTheLimitHasNoAverageAndNoPoints() {
    Graph g;
    g.run(g.today() - 1, pupil, 2, 1800);
    g.run(g.today(), pupil, 2, timedOutSeconds);
    g.run(g.today(), otherPupil, 2, 50);
    g.save();
    const GraphBlockData data = g.block(2);
    const auto lines = graphFigureLines(data);
    QCOMPARE(lines[0], QStringLiteral("回数　　　　　　　   回"));
    QVERIFY(lines[4].isEmpty()); // no average line
    // The school's best is the other pupil's; the pupil has none.
    QCOMPARE(lines[3], QStringLiteral("　　最高　　　　       /   50秒"));
    const GraphSurface s = a4Screen();
    const GraphDrawing d = layoutGraphBlock(data, s, 0.35 * s.height());
    QVERIFY(dotsOf(d).empty());
    QCOMPARE(countLines(d, GraphPen::BestLine), 0);
    for (const GraphText& text : textsOf(d)) {
        QVERIFY2(std::isfinite(text.at.x()) && std::isfinite(text.at.y()), qPrintable(text.text));
        QVERIFY(d.band.contains(text.at));
    }
}

void ResultGraphTest::firstRunIsABestAndAnEqualTimeIsNot() {
    Graph g;
    const std::vector<int> times = {50, 50, 40, 45, 40, 39};
    for (std::size_t i = 0; i < times.size(); ++i) {
        g.run(g.today() - 10 + int(i), pupil, 3, times[i]);
    }
    g.save();
    const GraphSurface s = a4Screen();
    const GraphDrawing d = layoutGraphBlock(g.block(3), s, 0.05 * s.height());
    const std::vector<GraphDot> dots = dotsOf(d);
    QCOMPARE(dots.size(), times.size());
    const QColor red(255, 0, 0), blue(0, 0, 255);
    const std::vector<QColor> expected = {red, blue, red, blue, blue, red};
    for (std::size_t i = 0; i < dots.size(); ++i) {
        QCOMPARE(dots[i].color, expected[i]);
    }
    // Runs spread over the x axis, the last at its end.
    const double bw = s.width() / 2;
    QVERIFY(std::abs(dots.back().at.x() - 0.9 * bw) < 1e-6);
    QVERIFY(std::abs(dots.front().at.x() - bw * (0.7 / 6 + 0.2)) < 1e-6);
    QCOMPARE(countLines(d, GraphPen::BestLine), 2); // three bests joined
    QCOMPARE(graphFigureLines(g.block(3))[3].left(16), QStringLiteral("　　最高　　　　   39秒 /"));
}

void ResultGraphTest::manyBestsAreLabelledEveryThirdWithShortDates() {
    Graph g;
    const QDate newYear(2026, 1, 1);
    const int d0 = dayNumber(newYear);
    // Eight bests, the first two in the old year.
    const std::vector<int> days = {d0 - 5, d0 - 2,  d0 + 3,  d0 + 4,
                                   d0 + 9, d0 + 20, d0 + 30, d0 + 40};
    for (std::size_t i = 0; i < days.size(); ++i) {
        g.run(days[i], pupil, 1, 80 - 5 * int(i));
    }
    g.save();
    const GraphSurface s = a4Screen();
    const double y = 0.05 * s.height();
    const GraphDrawing d = layoutGraphBlock(g.block(1), s, y);
    const std::vector<GraphDot> dots = dotsOf(d);
    QCOMPARE(dots.size(), std::size_t(8));
    const double bw = s.width() / 2, bh = s.height() / 3;
    // Labels keep clear of the line of the bests, so they are looked for by their text.
    const auto drawn = [&](const QString& label) {
        const std::vector<GraphText> texts = textsOf(d);
        return std::count_if(texts.begin(), texts.end(),
                             [&](const GraphText& t) { return t.text == label; });
    };
    // Entry 3 starts a new year: its full date; entry 6 follows one of the same year.
    QCOMPARE(drawn(QStringLiteral("70秒")) + drawn(QStringLiteral("2026/01/04")), 2);
    QCOMPARE(drawn(QStringLiteral("55秒")) + drawn(QStringLiteral("01/21")), 2);
    // Only every third entry up to two before the last, and the last.
    for (const char* unlabelled : {"75秒", "65秒", "60秒", "50秒"}) {
        QCOMPARE(drawn(QString::fromUtf8(unlabelled)), 0);
    }
    QCOMPARE(drawn(QStringLiteral("45秒")) + drawn(QStringLiteral("02/10")), 2);
    // The first best: its time beside the y axis and its full date under the x axis.
    QCOMPARE(textAt(d, 0.12 * bw, dots[0].at.y() - 0.01 * bh), QStringLiteral("80秒"));
    QCOMPARE(textAt(d, dots[0].at.x() - 0.025 * bw, y + 0.815 * bh), QStringLiteral("2025/12/27"));
    const QPointF last = dots[7].at;
    QCOMPARE(textAt(d, last.x() - 0.025 * bw, y + 0.815 * bh), QStringLiteral("2026/02/10"));
}

void ResultGraphTest::zeroRanksAndPointsPrintAsBlanks() {
    Graph g;
    g.run(g.today(), pupil, 1, 40);
    g.save();
    GraphBlockData data = g.block(1);
    // One run: its own date under it, not written over by the newest records' date.
    const GraphSurface s = a4Screen();
    const GraphDrawing d = layoutGraphBlock(data, s, 0);
    const std::vector<GraphText> texts = textsOf(d);
    QCOMPARE(std::count_if(texts.begin(), texts.end(),
                           [&](const GraphText& t) {
                               return std::abs(t.at.y() - 0.815 * s.height() / 3) < 1e-6;
                           }),
             1);
    data.figures = LevelFigures{QStringLiteral("  0"), QString(), 0, 0, 0};
    auto lines = graphFigureLines(data);
    QCOMPARE(lines[2], QStringLiteral("　　順位　　　　     位"));
    QCOMPARE(lines[6], QStringLiteral("　　順位　　　　     位"));
    QCOMPARE(lines[7], QStringLiteral("　　獲得ポイント     点"));
    QVERIFY(lines[8].isEmpty()); // no pupil holds points: no school average
    QCOMPARE(lines[9], QStringLiteral("　　　　　　　　　　　　 (塾平均)"));
    // Fractions are written as the nearest whole number, halves away from zero.
    data.figures = LevelFigures{QStringLiteral("  3"), QStringLiteral("---"), 12.5, 2, 5};
    lines = graphFigureLines(data);
    QCOMPARE(lines[2], QStringLiteral("　　順位　　　　    3位"));
    QCOMPARE(lines[6], QStringLiteral("　　順位　　　　  ---位"));
    QCOMPARE(lines[7], QStringLiteral("　　獲得ポイント   13点"));
    QCOMPARE(lines[8], QStringLiteral("　　　　　　　　　　　　/    3点"));
}

void ResultGraphTest::gradeSelectorHidesThePointsButNotTheFigures() {
    Graph g;
    g.run(g.today() - 1, pupil, 1, 40);
    g.run(g.today(), pupil, 1, 30);
    g.save();
    const GraphSurface s = a4Screen();
    QCOMPARE(dotsOf(layoutGraphBlock(g.block(1, QStringLiteral("小３")), s, 0)).size(),
             std::size_t(2));
    const GraphBlockData hidden = g.block(1, QStringLiteral("中学生全体"));
    QVERIFY(dotsOf(layoutGraphBlock(hidden, s, 0)).empty());
    QCOMPARE(graphFigureLines(hidden)[0], QStringLiteral("回数　　　　　　　  2回"));
}

void ResultGraphTest::largeFileKeepsEveryPointOnItsAxesAndInsideItsBlock() {
    Graph g;
    const int today = g.today();
    // 300 older runs of the pupil, slower than anything in the newest 20000 records...
    for (int i = 0; i < 300; ++i) {
        g.run(today - 900 + i, pupil, 1, 200 + i);
    }
    // ... then 20000 records with 100 of the pupil's runs among them.
    for (int i = 0; i < maxLoadedResults; ++i) {
        const bool mine = i % 200 == 0;
        g.run(today - 100 + i / 250, mine ? pupil : otherPupil, mine ? 1 : 1 + i % 3,
              mine ? 50 : 45);
    }
    g.save();
    const GraphBlockData data = g.block(1);
    QCOMPARE(data.windowRuns, 100);
    QCOMPARE(data.fileRuns, 400);
    QCOMPARE(graphScaleTop(data.windowSlowest), 60);
    const GraphSurface s = a4Screen();
    for (const SheetPlace& place : sheetPlaces(3, s.height())) {
        const GraphDrawing d = layoutGraphBlock(data, s, place.top);
        const double bw = s.width() / 2, bh = s.height() / 3, y = place.top;
        const std::vector<GraphDot> dots = dotsOf(d);
        QCOMPARE(dots.size(), std::size_t(400));
        for (const GraphDot& dot : dots) {
            QVERIFY(dot.at.x() >= 0.2 * bw && dot.at.x() <= 0.9 * bw + 1e-9);
            QVERIFY(dot.at.y() >= y + 0.1 * bh - 1e-9 && dot.at.y() <= y + 0.8 * bh + 1e-9);
        }
        QVERIFY(std::abs(dots.back().at.x() - 0.9 * bw) < 1e-6);
        QVERIFY(std::abs(dots.front().at.y() - (y + 0.1 * bh)) < 1e-6); // held at the top
        for (const GraphItem& item : d.items) {
            if (const auto* line = std::get_if<GraphLine>(&item)) {
                QVERIFY(d.band.contains(line->from) && d.band.contains(line->to));
            } else if (const auto* text = std::get_if<GraphText>(&item)) {
                QVERIFY2(d.band.contains(text->at), qPrintable(text->text));
            }
        }
        QVERIFY(d.band.bottom() <= place.top + 0.9 * bh);
    }
}

void ResultGraphTest::fiveLevelsPrintOnTwoPagesWithTheirFigures() {
    Graph g;
    const int today = g.today();
    std::vector<std::vector<int>> mine(6), school(6);
    for (int level = 1; level <= 5; ++level) {
        for (int i = 0; i < 4 + level; ++i) {
            const int seconds = 30 + (i * 7 + level * 3) % 40;
            g.run(today - 20 + i, pupil, level, seconds);
            mine[std::size_t(level)].push_back(seconds);
            school[std::size_t(level)].push_back(seconds);
            const int other = 25 + (i * 11 + level) % 50;
            g.run(today - 20 + i, otherPupil, level, other);
            school[std::size_t(level)].push_back(other);
        }
        g.run(today - 4000, otherPupil, level, 5);   // older than ten years: not counted
        g.run(today, pupil, level, timedOutSeconds); // a time-out: not on the chart
    }
    g.save();
    g.t.env.printFolder = artefactFolder();
    GraphSheetRequest request{pupil, {1, 2, 3, 4, 5}};
    QVERIFY(printGraphSheet(g.t.state, nullptr, request, sampleFigures, msGothic));
    QCOMPARE(g.t.env.printed.size(), std::size_t(1));
    const QString pdf = artefactFolder() + QStringLiteral("/five-levels.pdf");
    QFile::remove(pdf);
    QVERIFY(QFile::rename(g.t.env.printed[0], pdf));
    QCOMPARE(pdfPages(pdf), 2);

    const QString page1 = withoutBlanks(pdfPageText(pdf, 1));
    const QString page2 = withoutBlanks(pdfPageText(pdf, 2));
    QVERIFY2(page1.contains(QStringLiteral("山田太郎")) &&
                 page2.contains(QStringLiteral("山田太郎")),
             qPrintable(page1));
    for (int level = 1; level <= 5; ++level) {
        const auto& m = mine[std::size_t(level)];
        const auto& all = school[std::size_t(level)];
        const int n = int(m.size());
        const int sum = std::accumulate(m.begin(), m.end(), 0);
        const int allSum = std::accumulate(all.begin(), all.end(), 0);
        const int schoolAverage = int(std::floor(double(allSum) / all.size() + 0.5));
        const QStringList expected = {
            QStringLiteral("ミルネアﾚﾍﾞﾙ%1").arg(level),
            QStringLiteral("回数%1回").arg(n),
            QStringLiteral("最高%1秒/%2秒")
                .arg(*std::min_element(m.begin(), m.end()))
                .arg(*std::min_element(all.begin(), all.end())),
            QStringLiteral("平均%1秒/%2秒").arg(sum / n).arg(schoolAverage),
            QStringLiteral("順位%1位").arg(level),
            QStringLiteral("順位%1位").arg(level + 1),
            QStringLiteral("獲得ポイント%1点").arg(100 + level),
            QStringLiteral("/%1点").arg(qRound((250.0 + level) / 3)),
            QStringLiteral("(塾平均)")};
        const QString& text = level <= 3 ? page1 : page2;
        for (const QString& line : expected) {
            QVERIFY2(
                text.contains(line),
                qPrintable(QStringLiteral("level %1: %2 not in %3").arg(level).arg(line, text)));
        }
    }
    QVERIFY(!page1.contains(QStringLiteral("ﾚﾍﾞﾙ4")));
}

void ResultGraphTest::screenAndPaperPutTheDotsInTheSamePlaces() {
    Graph g(2);
    const std::vector<int> times = {70, 64, 66, 52, 58, 49, 49, 55, 41};
    for (std::size_t i = 0; i < times.size(); ++i) {
        g.run(g.today() - 30 + int(i), pupil, 1, times[i]);
        g.run(g.today() - 30 + int(i), pupil, 2, times[i] / 2 + 10);
    }
    g.save();
    GraphSheetRequest request{pupil, {1, 2}};

    GraphPicture picture;
    picture.resize(620, 877);
    QVERIFY(picture.showSheet(g.t.state, request, sampleFigures));
    const QImage screen = picture.grab().toImage();
    screen.save(artefactFolder() + QStringLiteral("/screen-sheet.png"));

    g.t.env.printFolder = artefactFolder();
    QVERIFY(printGraphSheet(g.t.state, nullptr, request, sampleFigures, msGothic));
    const QString pdf = g.t.env.printed.back();
    const QString stem = artefactFolder() + QStringLiteral("/paper-sheet");
    run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QStringLiteral("75"), QStringLiteral("-png"),
         QStringLiteral("-singlefile"), pdf, stem});
    const QImage paper(stem + QStringLiteral(".png"));
    QVERIFY(!paper.isNull());
    QVERIFY(std::abs(paper.width() - screen.width()) <= 1);

    const Spots a = spotsOf(screen);
    const Spots b = spotsOf(paper);
    // Two levels of nine runs: five bests and four others each.
    QCOMPARE(a.red.size(), std::size_t(10));
    QCOMPARE(a.blue.size(), std::size_t(8));
    QCOMPARE(b.red.size(), a.red.size());
    QCOMPARE(b.blue.size(), a.blue.size());
    const auto near = [](const std::vector<QPointF>& p, const std::vector<QPointF>& q) {
        for (std::size_t i = 0; i < p.size(); ++i) {
            if (std::abs(p[i].x() - q[i].x()) > 0.005 || std::abs(p[i].y() - q[i].y()) > 0.005) {
                return false;
            }
        }
        return true;
    };
    QVERIFY(near(a.red, b.red));
    QVERIFY(near(a.blue, b.blue));
}

void ResultGraphTest::withoutPrinterTheSheetIsOfferedAsPdf() {
    Graph g;
    g.run(g.today(), pupil, 1, 40);
    g.save();
    g.t.env.printerInstalled = false;
    g.t.env.answers = {MessageAnswer::No};
    GraphSheetRequest request{pupil, {1}};
    QVERIFY(!printGraphSheet(g.t.state, nullptr, request, sampleFigures, msGothic));
    QCOMPARE(g.t.env.messages.size(), std::size_t(1));
    QVERIFY(g.t.env.printed.empty());

    const QString path = artefactFolder() + QStringLiteral("/saved-sheet.pdf");
    QFile::remove(path);
    g.t.env.answers = {MessageAnswer::Yes};
    g.t.env.saveFileAnswers = {path};
    QVERIFY(printGraphSheet(g.t.state, nullptr, request, sampleFigures, msGothic));
    QCOMPARE(pdfPages(path), 1);
    QVERIFY(withoutBlanks(pdfPageText(path, 1)).contains(QStringLiteral("回数1回")));
}

void ResultGraphTest::screenShowsAtMostThreeBlocks() {
    Graph g;
    for (int level = 1; level <= 4; ++level) {
        g.run(g.today(), pupil, level, 30 + level);
    }
    g.save();
    GraphPicture picture;
    picture.resize(620, 877);
    QVERIFY(picture.showSheet(g.t.state, {pupil, {1, 2, 3, 4}}, sampleFigures));
    const QImage image = picture.grab().toImage();
    image.save(artefactFolder() + QStringLiteral("/screen-fourth-level.png"));
    const auto blank = [&](double from, double to) {
        for (int y = int(from * image.height()); y < int(to * image.height()); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                    return false;
                }
            }
        }
        return true;
    };
    QVERIFY(!blank(0.05, 0.3)); // the fourth level, drawn at the top again
    QVERIFY(blank(0.36, 0.99)); // the three before it were cleared away
    QCOMPARE(spotsOf(image).red.size(), std::size_t(1));
}

void ResultGraphTest::recordsTheValueRulesLeaveOutAreNotCharted_data() {
    QTest::addColumn<int>("dayFromToday");
    QTest::addColumn<int>("seconds");
    QTest::newRow("negative seconds") << 0 << -5;
    QTest::newRow("dated tomorrow") << 1 << 20;
    QTest::newRow("dated next year") << 365 << 10;
}

// A damaged record (one no copy of the program writes) makes no school best and no best
// of the pupil, as it makes none in the lists and the statistics.
void ResultGraphTest::recordsTheValueRulesLeaveOutAreNotCharted() {
    QFETCH(int, dayFromToday);
    QFETCH(int, seconds);
    Graph g;
    g.run(g.today() - 2, pupil, 1, 40);
    g.run(g.today() - 1, otherPupil, 1, 30);
    g.run(g.today() + dayFromToday, pupil, 1, seconds);
    g.run(g.today() + dayFromToday, otherPupil, 1, seconds);
    g.save();
    const GraphBlockData data = g.block(1);
    QCOMPARE(data.schoolBest, 30);
    QCOMPARE(data.schoolCount, 2);
    QCOMPARE(data.windowRuns, 1);
    QCOMPARE(data.runs.size(), std::size_t(1));
    QCOMPARE(data.runs[0].seconds, 40);
    QCOMPARE(graphFigureLines(data)[3], QStringLiteral("　　最高　　　　   40秒 /   30秒"));
}

QTEST_MAIN(ResultGraphTest)
#include "test_result_graph.moc"
