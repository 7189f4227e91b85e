// A pupil's whole visit on the demo school, through the program's own start-up and
// screens, driven only by keys typed into the program's window: the name list, the level
// menu, a run of ten answers, the result screen, back to the menu and to the name list.
// What is checked is what the pupil reads on the screens and the record the run leaves
// in the results file.
#include "app/AppState.h"
#include "app/Firstfrm.h"
#include "app/JapaneseFonts.h"
#include "app/ScreenHost.h"
#include "app/ScreenRoutes.h"
#include "drill/MainFrm.h"
#include "drill/Problem.h"
#include "makedemo/DemoInstallation.h"
#include "result/ResultScreen.h"
#include "result/SoundCues.h"
#include "roster/StudentSelection.h"
#include "support/DemoClassroom.h"
#include "views/LevelMenu.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <algorithm>
#include <cstring>

namespace {

using namespace demoschool;

// Ten answers, one every three seconds: the run takes 30 s against level 1's target of
// 60 s, worth ((60 - 30) / 60)^3 x 50 + 5 = 11.25, that is 11 points, times 1.
constexpr int thinkMs = 3000;
constexpr int runSeconds = 30;
constexpr int runPoints = 11;

int dayNumberOf(const QDate& date) {
    return static_cast<int>(QDate(1899, 12, 30).daysTo(date));
}

// The pupil's counted runs today (times below 6000 s) at the levels from..to.
int runsToday(const std::vector<Run>& runs, int from, int to) {
    return static_cast<int>(std::count_if(runs.begin(), runs.end(), [&](const Run& r) {
        return r.day == dayNumberOf(today) && r.pupil == pupilNo && r.level >= from &&
               r.level <= to && r.seconds < 6000;
    }));
}

int bestAtLevel1(const std::vector<Run>& runs, int firstPupil, int lastPupil) {
    int best = 99999;
    for (const Run& r : runs) {
        if (r.level == 1 && r.pupil >= firstPupil && r.pupil <= lastPupil) {
            best = std::min(best, r.seconds);
        }
    }
    return best;
}

// The 44 bytes a run of this visit must leave: day number, time of day in whole seconds
// as a fraction of the day, pupil, level, seconds, the school code, the two constant
// texts, and a fresh slot's unused bytes.
QByteArray expectedRecord(const QTime& recordedAt) {
    QByteArray r(44, '\0');
    auto* out = reinterpret_cast<uchar*>(r.data());
    qToLittleEndian<double>(double(dayNumberOf(today)), out);
    const int seconds = recordedAt.hour() * 3600 + recordedAt.minute() * 60 + recordedAt.second();
    qToLittleEndian<double>(seconds / 86400.0, out + 8);
    qToLittleEndian<qint16>(pupilNo, out + 16);
    qToLittleEndian<qint16>(1, out + 18);
    qToLittleEndian<qint32>(runSeconds, out + 20);
    std::memcpy(out + 24, "27183", 5);
    std::memcpy(out + 29, "     ", 5);
    std::memcpy(out + 34, "0    ", 5);
    return r;
}

// The two numbers of a figure text such as "3回/45点" or "最近7日=4回 / 50点"; a dash
// text (no run) reads as none.
struct Figures {
    int runs = 0;
    int points = 0;
};

Figures figuresOf(const QString& text, bool afterEquals = false) {
    const QString body = afterEquals ? text.section(QLatin1Char('='), 1) : text;
    static const QRegularExpression pattern(QStringLiteral(R"(^(\d+)回\s*/\s*(\d+)点$)"));
    const QRegularExpressionMatch m = pattern.match(body);
    if (!m.hasMatch()) {
        return {};
    }
    return {m.captured(1).toInt(), m.captured(2).toInt()};
}

// How often one of the files the sound table names for the cue was played.
int plays(const DemoClassroom& room, int cue) {
    const SoundCue& c = room.state.sounds.cues[static_cast<std::size_t>(cue)];
    int n = 0;
    for (const QString& path : room.env.played) {
        for (int i = 1; i <= c.fileCount.toInt(); ++i) {
            const QString file = c.files[static_cast<std::size_t>(i)] + QStringLiteral(".wav");
            n += QFileInfo(path).fileName() == file ? 1 : 0;
        }
    }
    return n;
}

struct ListedPoints {
    int today = 0;
    int total = 0;
};

// Display mode 1 shows today's points and the points of all time after the name.
ListedPoints pointsOnLine(const QString& line) {
    const QString after = line.mid(line.indexOf(pupilName) + pupilName.size());
    return {after.section(QLatin1Char('/'), 0, 0).trimmed().toInt(),
            after.section(QLatin1Char('/'), 1).trimmed().toInt()};
}

// The blank of the problem on show, worked out from the three terms the screen shows:
// box 1 : box 2 = box 3 : box 4, so box 1 x box 4 = box 2 x box 3.
int blankFromTheScreen(const DemoClassroom& room, int* blankBox) {
    int terms[5] = {};
    *blankBox = 0;
    for (int box = 1; box <= 4; ++box) {
        const QString caption = room.text(QStringLiteral("lblBunsuu(%1)").arg(box));
        if (caption.isEmpty()) {
            *blankBox = box;
        } else {
            terms[box] = caption.toInt();
        }
    }
    switch (*blankBox) {
    case 1:
        return terms[2] * terms[3] / terms[4];
    case 2:
        return terms[1] * terms[4] / terms[3];
    case 3:
        return terms[1] * terms[4] / terms[2];
    case 4:
        return terms[2] * terms[3] / terms[1];
    default:
        return -1;
    }
}

} // namespace

class EndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { mapJapaneseFonts(); }
    void aPupilsVisitFromTheNameListBackToTheNameList();
};

void EndToEndTest::aPupilsVisitFromTheNameListBackToTheNameList() {
    DemoClassroom room;
    const QByteArray resultsBefore = room.resultsFile();
    QVERIFY(resultsBefore.size() >= 100 * 44);
    const std::vector<Run> before = runsOf(resultsBefore);
    const int dayRunsBefore = runsToday(before, 1, 35);
    const int levelRunsBefore = runsToday(before, 1, 1);
    QVERIFY2(dayRunsBefore > 0, "the demo pupil has run today");

    // Start-up as the program makes it: the splash takes the date and the season's
    // colour, and 100 ms later runs the initialisation (folders, configuration, criteria,
    // sounds) and opens the name list.
    room.startUp();
    QVERIFY(!room.splash->isVisible());
    QVERIFY(room.env.messages.empty());
    QCOMPARE(room.state.layout.dataRoot, room.demo.dataRoot);
    StudentSelection* names = room.current<StudentSelection>();
    QVERIFY(names);
    QCOMPARE(room.host.windowTitle(), QStringLiteral("ミルネア"));
    QCOMPARE(names->Label4->text(), QStringLiteral("ミルネア"));
    QCOMPARE(names->List1->item(0)->text(), QStringLiteral("－－－－－－"));
    QCOMPARE(names->Label1->text(), QStringLiteral("名前を選びなさい"));
    QVERIFY(names->Option1[1]->isChecked()); // today's points / points of all time
    // December's colour, taken by the splash, behind every screen.
    QCOMPARE(names->palette().color(QPalette::Window), QColor(192, 255, 192));
    const int row = rowOfPupil(names->List1);
    QVERIFY(row > 0);
    const ListedPoints listedBefore = pointsOnLine(names->List1->item(row)->text());
    QVERIFY(listedBefore.today > 0 && listedBefore.total > listedBefore.today);

    // The pupil walks down to their name and confirms with Enter.
    for (int i = 0; i < row; ++i) {
        room.press(Qt::Key_Down);
    }
    QCOMPARE(names->List1->currentRow(), row);
    QVERIFY2(names->Label1->text().endsWith(pupilName), qPrintable(names->Label1->text()));
    room.press(Qt::Key_Return);

    seisekitime1* menu = room.current<seisekitime1>();
    QVERIFY(menu);
    QVERIFY(menu->menuReady());
    QCOMPARE(room.state.pupil.pupilIndex, pupilNo);
    QVERIFY(room.text("Label12").endsWith(QLatin1Char(' ') + pupilName));
    QCOMPARE(room.text("Label13"), demoSchoolName + QStringLiteral(":16"));
    QCOMPARE(room.text("Label17"), QStringLiteral("起動後0分"));
    QCOMPARE(room.text("Label3_1"), QStringLiteral("レベル１"));
    QCOMPARE(room.text("Label7_1"), QStringLiteral("目標=60秒 5回/25点(×1)"));
    QCOMPARE(room.text("Label18"), QStringLiteral("本日総回数＝%1回").arg(dayRunsBefore));
    const Figures todayBefore = figuresOf(room.text("Label14_1"));
    const Figures totalBefore = figuresOf(room.text("Label15_1"));
    const Figures recentBefore = figuresOf(room.text("Label8_1"), true);
    QCOMPARE(todayBefore.runs, levelRunsBefore);
    QVERIFY(room.text("Label8_1").startsWith(QStringLiteral("最近7日=")));
    QVERIFY(totalBefore.runs >= recentBefore.runs && recentBefore.runs >= todayBefore.runs);
    auto* start1 = menu->findChild<QPushButton*>(QStringLiteral("Command4_1"));
    QVERIFY(start1 && start1->isEnabled());

    // "1" starts level 1.
    room.type(QStringLiteral("1"));
    QVERIFY(room.current<MainFrm>());
    MainFrm* drill = room.current<MainFrm>();
    QCOMPARE(room.text("sLabel7"), pupilName);
    QCOMPARE(room.text("sLabel8"), QStringLiteral("レベル１"));
    QCOMPARE(room.text("sLabel14"), demoSchoolName);
    QCOMPARE(room.text("sLabel9"), QStringLiteral("10"));
    QCOMPARE(room.text("sLabel10"), QStringLiteral("0"));
    QCOMPARE(room.text("sLabel12"), QString::number(runsToday(before, 1, 15) + 1));
    QCOMPARE(room.text("sLabel11"), QString::number(levelRunsBefore + 1));

    for (int answer = 1; answer <= 10; ++answer) {
        room.env.advance(thinkMs);
        int blankBox = 0;
        const int blank = blankFromTheScreen(room, &blankBox);
        QVERIFY2(blankBox != 0, "one term box is blank");
        const Problem& problem = drill->engine().problem();
        QCOMPARE(blankBox, problem.blankIndex);
        QCOMPARE(blank, termValues(problem)[blankBox]);
        room.type(QString::number(blank));
        QCOMPARE(room.text(QStringLiteral("lblBunsuu(%1)").arg(blankBox)), QString::number(blank));
        room.press(Qt::Key_Space);
        QCOMPARE(room.text("sLabel9"), QString::number(10 - answer));
    }
    QCOMPARE(room.text("sLabel10"), QString::number(runSeconds));
    QCOMPARE(plays(room, 正解音2), 10);
    QCOMPARE(plays(room, 間違い音2), 0);
    QVERIFY(room.shown("lblsss1"));
    QCOMPARE(room.text("lblsss1"), QStringLiteral("成績記録中"));

    // The run's record, appended after every earlier record left as it was.
    const QByteArray resultsAfter = room.resultsFile();
    QCOMPARE(resultsAfter.size(), resultsBefore.size() + 44);
    QCOMPARE(resultsAfter.left(resultsBefore.size()), resultsBefore);
    const QByteArray record = resultsAfter.right(44);
    const QByteArray expected = expectedRecord(visit.addSecs(runSeconds));
    QCOMPARE(record.toHex(' '), expected.toHex(' '));

    // One second later the result screen.
    room.env.advance(999);
    QCOMPARE(room.current<MainFrm>(), drill);
    room.env.advance(1);
    QVERIFY(room.current<FrmSyuuryou>());
    QCOMPARE(room.host.windowTitle(), QStringLiteral("終了"));
    QCOMPARE(room.text("Label15"), QStringLiteral("ミルネア"));
    QCOMPARE(room.text("Label16"), QStringLiteral("レベル１"));
    QCOMPARE(room.text("Label17"), pupilName);
    QCOMPARE(room.text("Label18"), QStringLiteral("今の成績：30秒"));
    QCOMPARE(room.text("Label19"), QStringLiteral("獲得ポイント：11点×1→11点"));
    QCOMPARE(room.text("Label14"), QStringLiteral("（%1回目)").arg(dayRunsBefore + 1));
    QCOMPARE(room.text("Label13"),
             QStringLiteral(" (このレベル　%1回目)").arg(levelRunsBefore + 1));
    const int schoolBest = bestAtLevel1(before, 1, 1000);
    const int ownBest = bestAtLevel1(before, pupilNo, pupilNo);
    if (schoolBest > runSeconds) {
        QCOMPARE(room.text("Label20"), QStringLiteral("！！！最高新記録！！！"));
    } else if (ownBest > runSeconds) {
        QCOMPARE(room.text("Label20"), QStringLiteral("新記録おめでとう"));
    } else {
        QVERIFY(!room.shown("Label20"));
    }
    QVERIFY(!room.shown("Command4"));
    room.env.advance(500);
    QVERIFY(room.shown("Command4"));
    auto* toMenu = room.host.current()->findChild<QPushButton*>(QStringLiteral("Command4"));
    QCOMPARE(toMenu->text(), QStringLiteral("メニューへ"));
    QCOMPARE(room.host.focusWidget(), toMenu); // where the window sends Enter
    room.saveGrab(QStringLiteral("end-to-end-result.png"));

    // Enter on "メニューへ": a fresh level menu whose figures include the run.
    room.press(Qt::Key_Return);
    menu = room.current<seisekitime1>();
    QVERIFY(menu);
    QVERIFY(menu->menuReady());
    const Figures todayAfter = figuresOf(room.text("Label14_1"));
    const Figures totalAfter = figuresOf(room.text("Label15_1"));
    const Figures recentAfter = figuresOf(room.text("Label8_1"), true);
    QCOMPARE(todayAfter.runs, todayBefore.runs + 1);
    QCOMPARE(todayAfter.points, todayBefore.points + runPoints);
    QCOMPARE(totalAfter.runs, totalBefore.runs + 1);
    QCOMPARE(totalAfter.points, totalBefore.points + runPoints);
    QCOMPARE(recentAfter.runs, recentBefore.runs + 1);
    QCOMPARE(recentAfter.points, recentBefore.points + runPoints);
    QCOMPARE(room.text("Label18"), QStringLiteral("本日総回数＝%1回").arg(dayRunsBefore + 1));
    room.saveGrab(QStringLiteral("end-to-end-level-menu.png"));

    // "0" (戻る(0)): the name list again, with today's figures including the run.
    QCOMPARE(menu->findChild<QPushButton*>(QStringLiteral("Command1"))->text(),
             QStringLiteral("戻る(0)"));
    room.type(QStringLiteral("0"));
    names = room.current<StudentSelection>();
    QVERIFY(names);
    QCOMPARE(names->Label1->text(), QStringLiteral("名前を選びなさい"));
    QVERIFY(names->Command14->isVisible());
    QCOMPARE(names->Combo1->currentText(), QStringLiteral("全学年"));
    QVERIFY(names->Option1[1]->isChecked());
    const int rowAgain = rowOfPupil(names->List1);
    QCOMPARE(rowAgain, row);
    const ListedPoints listedAfter = pointsOnLine(names->List1->item(rowAgain)->text());
    QCOMPARE(listedAfter.today, listedBefore.today + runPoints);
    QCOMPARE(listedAfter.total, listedBefore.total + runPoints);
    room.saveGrab(QStringLiteral("end-to-end-name-list.png"));

    QVERIFY(room.env.messages.empty());
    QCOMPARE(room.env.endedWith, -1);
    QCOMPARE(room.resultsFile().size(), resultsBefore.size() + 44);
}

QTEST_MAIN(EndToEndTest)
#include "test_end_to_end.moc"
