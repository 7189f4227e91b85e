// The result graph on the demo school, through the program's own start-up and screens: a
// pupil picks their name, chooses "個人ﾀｲﾑ" and "グラフ" and prints the sheet; the printed
// figures are checked against the demo's results file read straight from its bytes.
#include "app/JapaneseFonts.h"
#include "roster/StudentSelection.h"
#include "support/DemoClassroom.h"
#include "support/PdfText.h"
#include "text/DayNumber.h"
#include "views/GraphPicture.h"
#include "views/LevelMenu.h"

#include <QDir>
#include <QListWidget>
#include <QtTest>
#include <algorithm>
#include <cmath>

namespace {

using namespace demoschool;

} // namespace

class GraphDemoTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { mapJapaneseFonts(); }
    void aPupilPrintsTheirGraphWithTrueFigures();
};

void GraphDemoTest::aPupilPrintsTheirGraphWithTrueFigures() {
    DemoClassroom room;
    room.env.printFolder = QStringLiteral(MIRUNEA_ARTIFACTS_DIR "/graph_demo");
    room.startUp();
    auto* names = room.current<StudentSelection>();
    QVERIFY(names);
    const int row = rowOfPupil(names->List1);
    QVERIFY(row > 0);
    for (int i = 0; i < row; ++i) {
        room.press(Qt::Key_Down);
    }
    room.press(Qt::Key_Return);
    QVERIFY(room.current<seisekitime1>());
    QCOMPARE(room.state.pupil.pupilIndex, pupilNo);

    const auto click = [&](const QString& name) {
        auto* w = room.host.current()->findChild<QWidget*>(name);
        QVERIFY2(w && w->isVisible() && w->isEnabled(), qPrintable(name));
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
    };
    click(QStringLiteral("Option2_2")); // 個人ﾀｲﾑ
    click(QStringLiteral("Command17")); // グラフ
    auto* picture = room.host.current()->findChild<GraphPicture*>(QStringLiteral("Picture12"));
    QVERIFY(picture && picture->isVisible());
    QDir().mkpath(room.env.printFolder);
    QVERIFY(room.host.grab().save(room.env.printFolder + QStringLiteral("/demo-graph-screen.png")));
    click(QStringLiteral("Command21_1")); // 印刷
    QCOMPARE(room.env.printed.size(), std::size_t(1));
    const QString sheet = pdfTextWithoutSpaces(room.env.printed[0]);
    QVERIFY2(sheet.contains(QStringLiteral("田中ひなた")), qPrintable(sheet));

    // The figures of the levels charted (1 to 3, as many as are offered), from the results
    // file itself.
    const std::vector<Run> runs = runsOf(room.resultsFile());
    QVERIFY(runs.size() < 20000); // the whole file is the newest records
    const double now = dayNumber(today) + (21 * 60 + 40) / 1440.0;
    int charted = 0;
    const int levels = std::min(3, room.state.profile.levelCount);
    QVERIFY(levels >= 1);
    for (int level = 1; level <= levels; ++level) {
        std::vector<int> mine, school;
        int schoolBest = 99999;
        for (const Run& r : runs) {
            if (r.level != level || r.day <= now - 3650) {
                continue;
            }
            schoolBest = std::min(schoolBest, r.seconds);
            if (r.seconds < 1800) {
                school.push_back(r.seconds);
                if (r.pupil == pupilNo) {
                    mine.push_back(r.seconds);
                }
            }
        }
        charted += int(mine.size());
        const QString count = mine.empty() ? QString() : QString::number(mine.size());
        QVERIFY2(sheet.contains(QStringLiteral("回数%1回").arg(count)), qPrintable(sheet));
        if (mine.empty()) {
            continue;
        }
        long long sum = 0, schoolSum = 0;
        for (int s : mine) {
            sum += s;
        }
        for (int s : school) {
            schoolSum += s;
        }
        const QString best = QStringLiteral("最高%1秒/%2秒")
                                 .arg(*std::min_element(mine.begin(), mine.end()))
                                 .arg(schoolBest);
        const QString average =
            QStringLiteral("平均%1秒/%2秒")
                .arg(sum / (long long)mine.size())
                .arg((long long)std::floor(double(schoolSum) / double(school.size()) + 0.5));
        QVERIFY2(sheet.contains(best), qPrintable(best + QStringLiteral(" in ") + sheet));
        QVERIFY2(sheet.contains(average), qPrintable(average + QStringLiteral(" in ") + sheet));
    }
    QVERIFY2(charted > 0, "the demo pupil has runs to chart");
}

QTEST_MAIN(GraphDemoTest)
#include "test_graph_demo.moc"
