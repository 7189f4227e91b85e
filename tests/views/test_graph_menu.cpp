// The result graph from the level menu, driven by mouse clicks: "個人ﾀｲﾑ", "グラフ", the
// level and pupil choosers that redraw at once, and "印刷" read back from the PDF.
#include "../roster/RosterTestFiles.h"
#include "app/JapaneseFonts.h"
#include "records/ResultsFile.h"
#include "support/GraphSpots.h"
#include "support/MenuSchool.h"
#include "support/PdfText.h"
#include "support/WaitProbe.h"
#include "views/GraphPicture.h"
#include "views/LevelMenu.h"

#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

constexpr int pupil = 42;
constexpr int other = 7;

QString artefacts() {
    const QString folder = QStringLiteral(MIRUNEA_ARTIFACTS_DIR "/graph_menu");
    QDir().mkpath(folder);
    return folder;
}

struct Menu : MenuSchool {
    Menu() : MenuSchool(4, [](int i) { return QStringLiteral("ﾚﾍﾞﾙ%1").arg(i); }) {
        AppState& s = t.state;
        s.config.schoolCode = QStringLiteral("12345");
        s.pupil.pupilGroup = QStringLiteral("小３");
        s.pupil.schoolYear = 2026;
        s.pupil.rosterLineCount = 2;
        s.pupil.rosterLinePupil[1] = pupil;
        s.pupil.rosterLinePupil[2] = other;
        s.pupil.rosterNames[pupil] = QStringLiteral("山田太郎").leftJustified(20);
        s.pupil.rosterNames[other] = QStringLiteral("佐藤花子").leftJustified(20);
        s.pupil.rosterBirthYears[pupil] = 2017;
        s.pupil.rosterBirthYears[other] = 2015;
        rostertest::writeRoster(
            t, rostertest::rosterLine(pupil, 2017, QStringLiteral("山田太郎")) +
                   rostertest::rosterLine(other, 2015, QStringLiteral("佐藤花子")));
        t.env.printFolder = artefacts();
    }

    void run(int daysAgo, int who, int level, int seconds) {
        recordRun(daysAgo, who, level, seconds);
    }

    void click(const QString& name) {
        QWidget* w = find<QWidget>(name);
        QVERIFY2(w->isVisible() && w->isEnabled(), qPrintable(name));
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
    }
    void clickLine(const QString& list, int row) {
        auto* l = find<QListWidget>(list);
        QVERIFY2(l->isVisible(), qPrintable(list));
        const QRect r = l->visualItemRect(l->item(row));
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, r.center());
    }
    GraphPicture* picture() { return find<GraphPicture>(QStringLiteral("Picture12")); }
};

// Red and blue dots of the picture, counted as spots of their colour.
std::pair<int, int> dotCounts(const QImage& picture) {
    const Spots spots = spotsOf(picture);
    return {int(spots.red.size()), int(spots.blue.size())};
}

} // namespace

class GraphMenuTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { mapJapaneseFonts(); }
    void graphButtonDrawsPrintsAndFollowsTheChoosers();
    void inputWhileTheGraphIsDrawnIsRefused();
};

void GraphMenuTest::graphButtonDrawsPrintsAndFollowsTheChoosers() {
    Menu m;
    for (int seconds : {50, 45, 47, 40}) {
        m.run(3, pupil, 1, seconds);
    }
    m.run(2, pupil, 2, 60);
    m.run(1, pupil, 4, 30);
    m.run(2, other, 1, 35);
    m.run(1, other, 1, 38);
    m.open();

    m.click(QStringLiteral("Option2_2")); // 個人ﾀｲﾑ
    m.click(QStringLiteral("Command17")); // グラフ
    QVERIFY(m.find<QWidget>(QStringLiteral("Picture11"))->isVisible());
    auto* levels = m.find<QListWidget>(QStringLiteral("List3"));
    QCOMPARE(levels->selectedItems().size(), 3);
    // Levels 1 to 3: three bests and a slower run at level 1, one run at level 2.
    QCOMPARE(dotCounts(m.picture()->picture()), std::make_pair(4, 1));
    QVERIFY(m.picture()->grab().save(artefacts() + QStringLiteral("/graph-button.png")));

    m.click(QStringLiteral("Command21_1")); // 印刷
    QCOMPARE(m.t.env.printed.size(), std::size_t(1));
    const QString sheet = pdfTextWithoutSpaces(m.t.env.printed[0]);
    for (const QString& expected :
         {QStringLiteral("山田太郎"), QStringLiteral("ミルネアﾚﾍﾞﾙ1"), QStringLiteral("回数4回"),
          QStringLiteral("順位2位"), QStringLiteral("最高40秒/35秒"),
          QStringLiteral("平均45秒/43秒"), QStringLiteral("ミルネアﾚﾍﾞﾙ3")}) {
        QVERIFY2(sheet.contains(expected), qPrintable(expected + QStringLiteral(" in ") + sheet));
    }

    // Choosing level 4 as well redraws at once: the fourth block starts the picture again.
    m.clickLine(QStringLiteral("List3"), 3);
    QCOMPARE(dotCounts(m.picture()->picture()), std::make_pair(1, 0));
    m.clickLine(QStringLiteral("List3"), 3);
    QCOMPARE(dotCounts(m.picture()->picture()), std::make_pair(4, 1));

    // Another pupil, chosen in the pupil chooser, is drawn at once and printed on a sheet
    // of their own.
    m.click(QStringLiteral("Command25"));
    auto* pupils = m.find<QListWidget>(QStringLiteral("List2"));
    int row = -1;
    for (int i = 0; i < pupils->count(); ++i) {
        if (pupils->item(i)->text().endsWith(QStringLiteral("/%1").arg(other))) {
            row = i;
        }
    }
    QVERIFY(row >= 0);
    m.clickLine(QStringLiteral("List2"), row);
    QCOMPARE(dotCounts(m.picture()->picture()), std::make_pair(1, 1));
    m.click(QStringLiteral("Command24_1"));
    QCOMPARE(m.t.env.printed.size(), std::size_t(2));
    const QString second = pdfTextWithoutSpaces(m.t.env.printed[1]);
    QVERIFY2(second.contains(QStringLiteral("佐藤花子")) &&
                 second.contains(QStringLiteral("回数2回")) &&
                 second.contains(QStringLiteral("順位1位")) &&
                 !second.contains(QStringLiteral("山田太郎")),
             qPrintable(second));
}

void GraphMenuTest::inputWhileTheGraphIsDrawnIsRefused() {
    Menu m;
    for (int seconds : {50, 45, 47, 40}) {
        m.run(3, pupil, 1, seconds);
    }
    m.run(2, pupil, 2, 60);
    m.open();
    m.click(QStringLiteral("Option2_2"));
    // Every control is clicked, every key pressed and the window asked to close from
    // inside the graph's steps that let window events run: none of it may act.
    WaitProbe probe(m.host, m.t.state);
    probe.limit = 3;
    m.click(QStringLiteral("Command17"));
    QVERIFY(probe.probes >= 1);
    QCOMPARE(probe.unguarded, 0);
    QVERIFY(probe.screens.contains(QStringLiteral("seisekitime1")));
    QVERIFY(screenTrouble(m.host, m.t.state).isEmpty());
    QVERIFY(m.find<QWidget>(QStringLiteral("Picture11"))->isVisible());
    QCOMPARE(dotCounts(m.picture()->picture()), std::make_pair(4, 1));
    QVERIFY(m.t.env.printed.empty());
}

QTEST_MAIN(GraphMenuTest)
#include "test_graph_menu.moc"
