// The labels of a block of the result graph never overprint each other and are never
// crossed by the line of the bests: each case is drawn on a recording surface and the
// rectangles of what was drawn are compared.
#include "app/JapaneseFonts.h"
#include "support/PaintRecorder.h"
#include "views/GraphPainter.h"
#include "views/ResultGraph.h"

#include <QPainter>
#include <QTest>

namespace {

struct Case {
    std::vector<int> seconds; // the pupil's runs in order, all charted
    QStringList shown;        // texts that must still be drawn
    QString name = QStringLiteral("山田太郎");
};

GraphBlockData blockOf(const Case& c) {
    GraphBlockData data;
    data.level = 1;
    data.pupilName = c.name;
    data.title = QStringLiteral("ミルネア 比の等しい式 レベル１");
    data.figures = LevelFigures{QStringLiteral("  3"), QStringLiteral(" 12"), 140, 40, 4000};
    int best = timedOutSeconds;
    const double firstDay = 46000;
    for (std::size_t i = 0; i < c.seconds.size(); ++i) {
        const int s = c.seconds[i];
        data.runs.push_back({int(i) + 1, s, s < best, firstDay + double(i) * 3});
        best = std::min(best, s);
        data.windowSum += s;
        data.windowSlowest = std::max(data.windowSlowest, s);
    }
    data.windowRuns = int(data.runs.size());
    data.fileRuns = data.windowRuns;
    data.schoolSum = data.windowSum;
    data.schoolCount = data.windowRuns;
    data.schoolBest = best;
    data.lastDate = firstDay + double(c.seconds.size()) * 3 + 1;
    return data;
}

} // namespace
Q_DECLARE_METATYPE(Case)

class GraphLabelsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { mapJapaneseFonts(); }
    void labelsOfABlockNeverMeet_data();
    void labelsOfABlockNeverMeet();
};

void GraphLabelsTest::labelsOfABlockNeverMeet_data() {
    QTest::addColumn<Case>("block");
    QTest::addColumn<bool>("paper");
    std::vector<int> dense;
    for (int s = 150; s > 90; --s) {
        dense.push_back(s); // sixty bests a second apart: labels every third one
    }
    std::vector<int> mixed;
    for (int i = 0; i < 300; ++i) {
        mixed.push_back(40 + (i * 37) % 60 - i / 10);
    }
    const std::vector<std::pair<const char*, Case>> cases = {
        {"first run just under the scale top",
         {{137, 120, 110}, {QStringLiteral("140秒"), QStringLiteral("137秒")}}},
        {"one run", {{40}, {QStringLiteral("40秒")}}},
        {"last best by the x axis", {{90, 60, 30, 2}, {QStringLiteral("2秒")}}},
        {"a slower last run under the first best", {{50, 60, 70}, {QStringLiteral("50秒")}}},
        {"many bests close together", {dense, {QStringLiteral("150秒"), QStringLiteral("91秒")}}},
        {"three hundred runs", {mixed, {}}},
        {"a name longer than the room before the title",
         {{45, 40}, {}, QStringLiteral("とても長い名前の生徒さんとても長い名前")}},
    };
    for (const auto& [name, c] : cases) {
        QTest::newRow(qPrintable(QStringLiteral("%1 on screen").arg(name))) << c << false;
        QTest::newRow(qPrintable(QStringLiteral("%1 on paper").arg(name))) << c << true;
    }
}

void GraphLabelsTest::labelsOfABlockNeverMeet() {
    QFETCH(Case, block);
    QFETCH(bool, paper);
    // The personal panel's picture at 1024 x 768, or A4 less 5 mm margins at 300 dpi.
    const QSize size = paper ? QSize(2362, 3390) : QSize(747, 613);
    const GraphSurface surface = paper ? paperSurface(QSizeF(size), 300, msGothic)
                                       : screenSurface(QSizeF(size), 1, 6, msGothic);
    PaintRecorder recorder(size, paper ? 300 : 96);
    {
        QPainter painter(&recorder);
        paintGraphBlock(painter, surface,
                        layoutGraphBlock(blockOf(block), surface, 0.05 * surface.height()));
    }
    const auto& texts = recorder.texts;
    QVERIFY(texts.size() >= 10);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        for (std::size_t j = i + 1; j < texts.size(); ++j) {
            QVERIFY2(!texts[i].rect.intersects(texts[j].rect),
                     qPrintable(texts[i].text + QStringLiteral(" / ") + texts[j].text));
        }
    }
    const double bestPen = graphPenWidth(surface, GraphPen::BestLine);
    for (const PaintRecorder::Line& line : recorder.lines) {
        if (!qFuzzyCompare(line.pen.widthF(), bestPen)) {
            continue;
        }
        for (const PaintRecorder::Text& text : texts) {
            // Sampled along the line, a pen's half width around each point.
            for (int k = 0; k <= 50; ++k) {
                const QPointF p = line.line.pointAt(k / 50.0);
                const QRectF dot(p - QPointF(bestPen / 2, bestPen / 2), QSizeF(bestPen, bestPen));
                QVERIFY2(!text.rect.intersects(dot), qPrintable(text.text));
            }
        }
    }
    for (const QString& expected : block.shown) {
        QVERIFY2(std::any_of(texts.begin(), texts.end(),
                             [&](const PaintRecorder::Text& t) { return t.text == expected; }),
                 qPrintable(expected));
    }
    // The heading, cut short where it has to be, still starts with the name (the painter
    // may hand a text over in pieces of one script each).
    QVERIFY2(texts.front().text.startsWith(block.name.left(2)), qPrintable(texts.front().text));
}

QTEST_MAIN(GraphLabelsTest)
#include "test_graph_labels.moc"
