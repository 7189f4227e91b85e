// The result graph on the demo school, through the program's own start-up and screens: a
// pupil picks their name, chooses "個人ﾀｲﾑ" and "グラフ" and prints the sheet; the printed
// figures are checked against the demo's results file read straight from its bytes.
#include "app/AppState.h"
#include "app/Firstfrm.h"
#include "app/JapaneseFonts.h"
#include "app/ScreenHost.h"
#include "app/ScreenRoutes.h"
#include "makedemo/DemoInstallation.h"
#include "roster/StudentSelection.h"
#include "support/FakeEnvironment.h"
#include "text/DayNumber.h"
#include "views/GraphPicture.h"
#include "views/LevelMenu.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <algorithm>
#include <cmath>

namespace {

const QDate today(2026, 12, 9);
constexpr int pupilNo = 16; // a demo pupil with runs at the first levels
const QString pupilName = QStringLiteral("田中　ひなた");

struct Run {
    double day = 0;
    int pupil = 0;
    int level = 0;
    int seconds = 0;
};

std::vector<Run> runsOf(const QString& path) {
    QFile file(path);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    std::vector<Run> runs;
    for (qsizetype at = 0; at + 44 <= bytes.size(); at += 44) {
        const char* p = bytes.constData() + at;
        runs.push_back({qFromLittleEndian<double>(p), qFromLittleEndian<qint16>(p + 16),
                        qFromLittleEndian<qint16>(p + 18), qFromLittleEndian<qint32>(p + 20)});
    }
    return runs;
}

QString pdfText(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    p.waitForFinished(60000);
    QString text = QString::fromUtf8(p.readAllStandardOutput());
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    return text.remove(QChar(0x3000));
}

} // namespace

class GraphDemoTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { mapJapaneseFonts(); }
    void aPupilPrintsTheirGraphWithTrueFigures();
};

void GraphDemoTest::aPupilPrintsTheirGraphWithTrueFigures() {
    QTemporaryDir dir;
    const DemoInstallation demo = demoInstallationAt(dir.path(), today);
    QString error;
    QVERIFY2(layOutDemoInstallation(demo, &error), qPrintable(error));
    FakeEnvironment env;
    env.setNow(QDateTime(today, QTime(21, 40)));
    env.printFolder = QStringLiteral(MIRUNEA_ARTIFACTS_DIR "/graph_demo");
    AppState state;
    ScreenHost host;
    state.env = &env;
    state.host = &host;
    wireScreens(state);
    host.resize(1024, 768);
    host.show();

    Firstfrm splash(state, demo.programFolder);
    splash.load();
    env.advance(100);
    auto* names = qobject_cast<StudentSelection*>(host.current());
    QVERIFY(names);
    int row = -1;
    for (int i = 1; i < names->List1->count(); ++i) {
        if (names->List1->item(i)->text().contains(pupilName)) {
            row = i;
        }
    }
    QVERIFY(row > 0);
    for (int i = 0; i < row; ++i) {
        QTest::keyClick(host.windowHandle(), Qt::Key_Down);
    }
    QTest::keyClick(host.windowHandle(), Qt::Key_Return);
    QVERIFY(qobject_cast<seisekitime1*>(host.current()));
    QCOMPARE(state.pupil.pupilIndex, pupilNo);

    const auto click = [&](const QString& name) {
        auto* w = host.current()->findChild<QWidget*>(name);
        QVERIFY2(w && w->isVisible() && w->isEnabled(), qPrintable(name));
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
    };
    click(QStringLiteral("Option2_2")); // 個人ﾀｲﾑ
    click(QStringLiteral("Command17")); // グラフ
    auto* picture = host.current()->findChild<GraphPicture*>(QStringLiteral("Picture12"));
    QVERIFY(picture && picture->isVisible());
    QDir().mkpath(env.printFolder);
    QVERIFY(host.grab().save(env.printFolder + QStringLiteral("/demo-graph-screen.png")));
    click(QStringLiteral("Command21_1")); // 印刷
    QCOMPARE(env.printed.size(), std::size_t(1));
    const QString sheet = pdfText(env.printed[0]);
    QVERIFY2(sheet.contains(QStringLiteral("田中ひなた")), qPrintable(sheet));

    // The figures of the levels charted (1 to 3, as many as are offered), from the results
    // file itself.
    const std::vector<Run> runs =
        runsOf(demo.drillDataFolder + QStringLiteral("成績累積データ.dat"));
    QVERIFY(runs.size() < 20000); // the whole file is the newest records
    const double now = dayNumber(today) + (21 * 60 + 40) / 1440.0;
    int charted = 0;
    const int levels = std::min(3, state.profile.levelCount);
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
