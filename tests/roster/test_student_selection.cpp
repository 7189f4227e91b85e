// The name list screen driven with real key and mouse events: opening, choosing a pupil,
// the display modes and the grade filter, leaving for the launcher, the second copy.

#include "RosterTestFiles.h"
#include "app/JapaneseFonts.h"
#include "app/ScreenHost.h"
#include "app/SeasonColor.h"
#include "app/VersionDialog.h"
#include "result/SoundCues.h"
#include "roster/ColumnText.h"
#include "roster/GradeRules.h"
#include "roster/SelectionActions.h"
#include "roster/StudentSelection.h"

#include <QComboBox>
#include <QDir>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

using namespace rostertest;

namespace {

const QString secondCopyText = QStringLiteral(
    "このプログラムと同じプログラムがすでに起動され、完全に終了されていません。同じプログラムを"
    "完全に終了させてから実行してください。");

// A school with four pupils and the teacher, shown in the one top-level window.
struct School {
    TestInstallation inst;
    ScreenHost host;
    int levelMenuOpened = 0;

    School() {
        AppState& s = inst.state;
        s.host = &host;
        s.profile.programTitle = QStringLiteral("ミルネア");
        s.config.schoolYearStartMonth = 4;
        s.config.seasonColor = colorLong(0, 192, 192);
        s.routes.openLevelMenu = [this] { ++levelMenuOpened; };
        s.sounds.cues[間違い音2].name = QStringLiteral("間違い音2");
        s.sounds.cues[間違い音2].files[1] = QStringLiteral("wrong.wav");
        s.sounds.cues[間違い音2].fileCount = QStringLiteral("1");
        setLevelOneCriteria(s);
        // School year 2026: 2013 is 中1, 2014 小6, 2020 幼3.
        writeRoster(inst, rosterLine(1, 2013, "あおき") + rosterLine(2, 2014, "いとう") +
                              rosterLine(3, 2020, "うえだ") + rosterLine(5, 2013, "山田先生") +
                              rosterLine(4999, 1990, "先生"));
        const QDate today(2026, 12, 9);
        writeResults(inst, resultRecord(today, QTime(9, 0), 1, 1, 15) +
                               resultRecord(today, QTime(9, 3), 1, 1, 15) +
                               resultRecord(today.addDays(-3), QTime(9, 0), 1, 1, 30) +
                               resultRecord(today, QTime(9, 5), 3, 1, 15));
        host.resize(1024, 768);
        host.show();
    }

    StudentSelection* open() {
        openStudentSelection(inst.state);
        return qobject_cast<StudentSelection*>(host.current());
    }

    int wrongSounds() const {
        return static_cast<int>(
            std::count_if(inst.env.played.begin(), inst.env.played.end(),
                          [](const QString& p) { return p.contains("wrong.wav"); }));
    }
};

// Rows: 0 header, 1 先生 (1990), 2 あおき, 3 山田先生 (2013), 4 いとう (2014), 5 うえだ (2020).
constexpr int rowTeacher = 1;
constexpr int rowAoki = 2;
constexpr int rowYamada = 3;
constexpr int rowUeda = 5;

QStringList itemsOf(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) {
        items << list->item(i)->text();
    }
    return items;
}

void pressDown(StudentSelection* screen, int times) {
    for (int i = 0; i < times; ++i) {
        QTest::keyClick(screen->List1, Qt::Key_Down);
    }
}

int slashColumn(const QString& line) {
    return columnsOf(line.left(line.indexOf(QLatin1Char('/'))));
}

} // namespace

class StudentSelectionTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { mapJapaneseFonts(); }
    void openingShowsTheList();
    void choosingANameAndConfirming();
    void otherWaysToConfirm();
    void confirmWithoutANameSoundsWrong();
    void leavingForTheLauncher_data();
    void leavingForTheLauncher();
    void secondCopyIsRefused();
    void displayModesAndPreSchoolShift();
    void gradeFilterNarrowsTheList();
    void rosterProblemsAreShownOnce();
    void damagedRecordsAreNotToldToPupils();
    void returningShowsFreshFigures();
    void titleOpensTheVersionDialog();
    void columnsLineUpOnScreen();
};

void StudentSelectionTest::openingShowsTheList() {
    School school;
    school.inst.state.pupil.gradeFilter = QStringLiteral("中学生全体"); // left by the level menu
    StudentSelection* screen = school.open();
    QVERIFY(screen);
    QCOMPARE(school.inst.env.seeds.size(), std::size_t(1));
    QVERIFY(screen->Option1[1]->isChecked());
    QCOMPARE(screen->List1->count(), 6);
    QCOMPARE(screen->List1->item(0)->text(), QStringLiteral("－－－－－－"));
    QCOMPARE(screen->List1->currentRow(), 0);
    QCOMPARE(screen->Label1->text(), QStringLiteral("名前を選びなさい"));
    QVERIFY(!screen->Label2->isVisible() && !screen->Picture5->isVisible());
    QVERIFY(screen->Command14->isVisible() && screen->Command7->isVisible());
    QVERIFY(!screen->Command1->isVisible()); // printing is not offered
    QCOMPARE(school.host.windowTitle(), QStringLiteral("ミルネア"));
    QCOMPARE(screen->Combo1->count(), 12);
    QCOMPARE(screen->Combo1->currentText(), QStringLiteral("全学年"));
    QCOMPARE(school.inst.state.pupil.gradeFilter, QStringLiteral("全学年"));
    QCOMPARE(screen->palette().color(QPalette::Window), QColor(0, 192, 192));
    // Mode 1: today's points and total points; あおき ran twice today (11 each) and once
    // three days ago (5).
    QCOMPARE(screen->List1->item(rowAoki)->text(), QStringLiteral("中1 あおき　　　  22/     27"));

    school.inst.state.profile.printEnabled = 1;
    QVERIFY(school.open()->Command1->isVisible());
}

void StudentSelectionTest::choosingANameAndConfirming() {
    School school;
    school.inst.env.setNow(QDateTime(QDate(2026, 12, 9), QTime(10, 0, 0, 600)));
    StudentSelection* screen = school.open();
    pressDown(screen, rowAoki);
    QCOMPARE(screen->Label1->text(), QStringLiteral("中1 あおき"));
    QCOMPARE(screen->Label2->text(), QStringLiteral("1"));
    QTest::keyClick(screen->List1, Qt::Key_Up);
    QTest::keyClick(screen->List1, Qt::Key_Up);
    QCOMPARE(screen->Label1->text(), QStringLiteral("名前を選びなさい"));
    const QRect rect = screen->List1->visualItemRect(screen->List1->item(rowUeda));
    QTest::mouseClick(screen->List1->viewport(), Qt::LeftButton, {}, rect.center());
    QCOMPARE(screen->Label1->text(), QStringLiteral("幼3 うえだ"));
    pressDown(screen, 1);                       // off the end: stays on the last line
    QTest::keyClick(screen->Combo1, Qt::Key_1); // the screen sees every key first
    QCOMPARE(school.levelMenuOpened, 1);
    const CurrentPupil& pupil = school.inst.state.pupil;
    QCOMPARE(pupil.pupilIndex, 3);
    QCOMPARE(pupil.pupilName, pupil.rosterNames[3]);
    QCOMPARE(pupil.pupilName.trimmed(), QStringLiteral("うえだ"));
    QCOMPARE(pupil.pupilGroup, QStringLiteral("幼３"));
    QCOMPARE(pupil.loginTime, 36001);                  // 10:00:00.6 to the nearest second
    QCOMPARE(school.inst.state.profile.levelCount, 1); // the level profile was stored
    QVERIFY(screen->Command14->isHidden() && screen->Picture5->isVisible());
    QTest::keyClick(screen->List1, Qt::Key_1); // O.K. is gone: "1" does nothing more
    QCOMPARE(school.levelMenuOpened, 1);
    QCOMPARE(school.wrongSounds(), 0);
}

void StudentSelectionTest::otherWaysToConfirm() {
    const QList<int> keys = {Qt::Key_Return, Qt::Key_Space, Qt::Key_Enter};
    for (int key : keys) {
        School school;
        StudentSelection* screen = school.open();
        pressDown(screen, rowTeacher);
        QTest::keyClick(screen->List1, Qt::Key(key));
        QCOMPARE(school.levelMenuOpened, 1);
        // The teacher's entry keeps its exact name; a name that merely holds 先生 is a
        // pupil of its own.
        QCOMPARE(school.inst.state.pupil.pupilIndex, 4999);
        QCOMPARE(school.inst.state.pupil.pupilName.trimmed(), QStringLiteral("先生"));
        QCOMPARE(school.inst.state.pupil.pupilGroup, QString()); // past school age
    }
    School school;
    StudentSelection* screen = school.open();
    // A double-click through the window, as the platform delivers it.
    QVERIFY(QTest::qWaitForWindowExposed(&school.host));
    const QRect rect = screen->List1->visualItemRect(screen->List1->item(rowYamada));
    const QPoint at = screen->List1->viewport()->mapTo(&school.host, rect.center());
    QTest::mouseDClick(school.host.windowHandle(), Qt::LeftButton, {}, at);
    QCOMPARE(school.levelMenuOpened, 1);
    QCOMPARE(school.inst.state.pupil.pupilIndex, 5);
    QCOMPARE(school.inst.state.pupil.pupilName.trimmed(), QStringLiteral("山田先生"));
}

void StudentSelectionTest::confirmWithoutANameSoundsWrong() {
    School school;
    StudentSelection* screen = school.open();
    QTest::keyClick(screen->List1, Qt::Key_1);
    QTest::mouseClick(screen->Command14, Qt::LeftButton);
    QCOMPARE(school.wrongSounds(), 2);
    QCOMPARE(school.levelMenuOpened, 0);
    QVERIFY(screen->Command14->isVisible());

    writeRoster(school.inst, QString()); // an empty roster: the header alone
    screen = school.open();
    QCOMPARE(itemsOf(screen->List1), QStringList{QStringLiteral("－－－－－－")});
    QTest::keyClick(screen->List1, Qt::Key_Down);
    QTest::keyClick(screen->List1, Qt::Key_Return);
    QCOMPARE(school.wrongSounds(), 3);
    QCOMPARE(school.levelMenuOpened, 0);
}

void StudentSelectionTest::leavingForTheLauncher_data() {
    QTest::addColumn<bool>("launcherFolder");
    QTest::addColumn<bool>("launcherStarts");
    QTest::addColumn<bool>("byKey");
    QTest::addRow("launcher started") << true << true << true;
    QTest::addRow("launcher missing in 起動") << true << false << false;
    QTest::addRow("drill installed alone") << false << false << false;
}

void StudentSelectionTest::leavingForTheLauncher() {
    QFETCH(bool, launcherFolder);
    QFETCH(bool, launcherStarts);
    QFETCH(bool, byKey);
    School school;
    const QString folder = school.inst.programFolder();
    const QChar sep = QDir::separator();
    const QString launcherFolderPath = folder.left(folder.size() - 1) + sep + ".." + sep + "起動";
    if (launcherFolder) {
        QVERIFY(QDir().mkpath(launcherFolderPath));
    } else {
        // One line on standard error says why the program ends without the launcher.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("起動.*ない")));
    }
    school.inst.env.processStarts = launcherStarts;
    StudentSelection* screen = school.open();
    if (byKey) {
        QTest::keyClick(screen->List1, Qt::Key_0);
    } else {
        QTest::mouseClick(screen->Command7, Qt::LeftButton);
    }

    if (!launcherFolder) {
        QVERIFY(school.inst.env.processes.empty());
        QVERIFY(school.inst.env.messages.empty());
        QCOMPARE(school.inst.env.endedWith, 0);
        return;
    }
    QCOMPARE(school.inst.env.processes.size(), std::size_t(1));
    const FakeEnvironment::Process& started = school.inst.env.processes.front();
    QCOMPARE(started.program, launcherFolderPath + sep + "プログラムメニューc");
    QCOMPARE(started.arguments, QStringList{QStringLiteral("001")});
    if (launcherStarts) {
        QCOMPARE(school.inst.env.endedWith, 0);
        QVERIFY(school.inst.env.messages.empty());
        return;
    }
    // A family installation without its launcher is broken: the pupil is told.
    QCOMPARE(school.inst.env.messages.size(), std::size_t(1));
    const FakeEnvironment::Message& message = school.inst.env.messages.front();
    QVERIFY(message.text.contains(launcherPath(school.inst.state.layout)));
    QVERIFY(school.inst.env.endedWith > 0);
}

void StudentSelectionTest::secondCopyIsRefused() {
    School school;
    school.inst.env.otherCopyRunning = true;
    QVERIFY(!school.open());
    QCOMPARE(school.inst.env.messages.size(), std::size_t(1));
    const FakeEnvironment::Message& message = school.inst.env.messages.front();
    QCOMPARE(message.title, QStringLiteral("注意"));
    QCOMPARE(message.text, secondCopyText);
    QCOMPARE(message.icon, MessageIcon::Critical);
    QVERIFY(school.inst.env.endedWith > 0);
    QCOMPARE(school.inst.state.pupil.rosterLineCount, 0); // the refused copy read nothing
}

void StudentSelectionTest::displayModesAndPreSchoolShift() {
    School school;
    StudentSelection* screen = school.open();
    QListWidget* list = screen->List1;
    const QStringList aoki = {"中1 あおき　　　  2回/    3回", "中1 あおき　　　  22/     27",
                              "中1 あおき　　　  22/  2回", "中1 あおき　　　     27/    3回"};
    for (int mode : {0, 2, 3, 1}) {
        QTest::mouseClick(screen->Option1[mode], Qt::LeftButton);
        QCOMPARE(screen->rosterDisplayMode(), mode);
        QCOMPARE(list->item(rowAoki)->text(), aoki[mode]);
        QCOMPARE(list->currentRow(), 0);
        // The pre-school line's figures start two full-width columns further right in the
        // modes with a run count.
        QCOMPARE(slashColumn(list->item(rowUeda)->text()) -
                     slashColumn(list->item(rowAoki)->text()),
                 mode == 1 ? 0 : 4);
    }
    QCOMPARE(list->item(rowTeacher)->text(), QStringLiteral("大+ 先生　　　　  　/       "));
}

void StudentSelectionTest::gradeFilterNarrowsTheList() {
    School school;
    StudentSelection* screen = school.open();
    school.host.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&school.host));
    screen->Combo1->setFocus();
    QTest::keyClick(screen->Combo1, Qt::Key_Down); // 全学年 -> 中学生全体
    QCOMPARE(school.inst.state.pupil.gradeFilter, QStringLiteral("中学生全体"));
    QCOMPARE(itemsOf(screen->List1), (QStringList{"－－－－－－", "中1 あおき　　　  22/     27",
                                                  "中1 山田先生　　  　/       "}));
    QCOMPARE(QApplication::focusWidget(), screen->List1);
    pressDown(screen, 2);
    QTest::keyClick(screen->List1, Qt::Key_1);
    QCOMPARE(school.inst.state.pupil.pupilIndex, 5);
}

void StudentSelectionTest::rosterProblemsAreShownOnce() {
    School school;
    writeRoster(school.inst, rosterLine(1, 2013, "あおき") + QStringLiteral("2,2013,0,0\r\n") +
                                 rosterLine(7000, 2013, "範囲外"));
    StudentSelection* screen = school.open();
    QCOMPARE(school.inst.env.messages.size(), std::size_t(1));
    const QString text = school.inst.env.messages.front().text;
    QVERIFY(text.contains(rosterPath(school.inst)));
    QVERIFY(text.contains(QStringLiteral("2行目")) && text.contains(QStringLiteral("3行目")));
    QCOMPARE(screen->List1->count(), 2);                   // the header and あおき
    QTest::mouseClick(screen->Option1[0], Qt::LeftButton); // a rebuild does not repeat it
    QCOMPARE(school.inst.env.messages.size(), std::size_t(1));

    QVERIFY(QFile::remove(rosterPath(school.inst)));
    screen = school.open();
    QCOMPARE(school.inst.env.messages.size(), std::size_t(2));
    QVERIFY(school.inst.env.messages.back().text.contains(rosterPath(school.inst)));
    QCOMPARE(itemsOf(screen->List1), QStringList{QStringLiteral("－－－－－－")});
    QCOMPARE(school.inst.env.endedWith, -1); // the program carries on
}

void StudentSelectionTest::damagedRecordsAreNotToldToPupils() {
    School school;
    const QDate today(2026, 12, 9);
    QFile results(resultsPath(school.inst));
    QVERIFY(results.open(QIODevice::Append));
    results.write(resultRecord(today, QTime(9, 10), 2, 1, -5) +            // negative seconds
                  resultRecord(today.addDays(1), QTime(9, 10), 2, 1, 15)); // tomorrow
    results.close();
    StudentSelection* screen = school.open();
    // The start shows the pupils nothing: the teacher is told on the level menu.
    QVERIFY(school.inst.env.messages.empty());
    QCOMPARE(school.inst.state.stats.damagedRecords(), 2);
    // いとう's figures are those of no run at all: the -5 s run would have earned 68 points.
    QCOMPARE(school.inst.state.stats.statTotalRuns[Statistics::cell(1, 2)], 0);
    QCOMPARE(school.inst.state.stats.statTotalPoints[Statistics::cell(1, 2)], 0);
    QTest::mouseClick(screen->Option1[0], Qt::LeftButton);
    QVERIFY(school.inst.env.messages.empty());
}

void StudentSelectionTest::returningShowsFreshFigures() {
    School school;
    StudentSelection* screen = school.open();
    QTest::keyClick(screen->Combo1, Qt::Key_Down);
    pressDown(screen, 1);
    QTest::keyClick(screen->List1, Qt::Key_1);
    QCOMPARE(school.levelMenuOpened, 1);
    // A run at the level menu, then "戻る(0)" brings the name list back afresh.
    QFile results(resultsPath(school.inst));
    QVERIFY(results.open(QIODevice::Append));
    results.write(resultRecord(QDate(2026, 12, 9), QTime(10, 30), 1, 1, 15));
    results.close();
    screen = school.open();
    QVERIFY(screen->Command14->isVisible());
    QCOMPARE(screen->Combo1->currentText(), QStringLiteral("全学年"));
    QCOMPARE(school.inst.state.pupil.gradeFilter, QStringLiteral("全学年"));
    QCOMPARE(screen->List1->item(rowAoki)->text(), QStringLiteral("中1 あおき　　　  33/     38"));
}

void StudentSelectionTest::titleOpensTheVersionDialog() {
    School school;
    StudentSelection* screen = school.open();
    QTest::mouseClick(screen->Option1[0], Qt::LeftButton);
    screen->Combo1->setFocus();
    QTest::keyClick(screen->Combo1, Qt::Key_Down); // 全学年 -> 中学生全体
    QCOMPARE(school.inst.state.pupil.gradeFilter, QStringLiteral("中学生全体"));
    pressDown(screen, 1);
    bool seen = false;
    QRect dialogRect;
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<frmver*>(QApplication::activeModalWidget());
        seen = dialog != nullptr;
        if (dialog) {
            dialogRect = dialog->frameGeometry();
            QTest::mouseClick(dialog->Command1, Qt::LeftButton);
        }
    });
    QTest::mouseClick(screen->Label4, Qt::LeftButton);
    QVERIFY(seen);
    const QPoint centre = screen->mapToGlobal(screen->rect().center());
    QVERIFY((dialogRect.center() - centre).manhattanLength() <= 4);
    // Closing the dialog brings the screen back to the active state: mode 1, the prompt.
    QVERIFY(screen->Option1[1]->isChecked());
    QCOMPARE(screen->Label1->text(), QStringLiteral("名前を選びなさい"));
    // The level menu would start from the whole school; the box still shows the grade.
    QCOMPARE(school.inst.state.pupil.gradeFilter, QStringLiteral("全学年"));
    QCOMPARE(screen->Combo1->currentText(), QStringLiteral("中学生全体"));
}

void StudentSelectionTest::columnsLineUpOnScreen() {
    School school;
    QString roster;
    const QStringList names = {
        "髙橋　一郎", "﨑山",       "ｶﾀｶﾅ",   "Ann 花子", "寿限無寿限無五劫の擦り切れ",
        "田中",       "鈴木　花子", "ひまり", "佐藤"};
    const QList<int> years = {2012, 2013, 2008, 2014, 2015, 2019, 2020, 2021, 1990};
    QByteArray records;
    for (int i = 0; i < names.size(); ++i) {
        roster += rosterLine(i + 1, years[i], names[i]);
        for (int run = 0; run < i * 7 % 12; ++run) {
            records += resultRecord(QDate(2026, 12, 9 - run % 3), QTime(9, run), i + 1, 1, 12 + i);
        }
    }
    writeRoster(school.inst, roster);
    writeResults(school.inst, records);
    StudentSelection* screen = school.open();
    QVERIFY(QTest::qWaitForWindowExposed(&school.host));
    QCOMPARE(school.host.size(), QSize(1024, 768));

    // A fixed-pitch font: full-width characters are two half-width ones.
    const QFontMetrics metrics(screen->List1->font());
    const int half = metrics.horizontalAdvance(QStringLiteral("a"));
    QCOMPARE(metrics.horizontalAdvance(QStringLiteral("あ")), 2 * half);
    QCOMPARE(metrics.horizontalAdvance(QStringLiteral("ｶ")), half);

    const QString dir = QStringLiteral(MIRUNEA_ARTIFACTS_DIR);
    QDir().mkpath(dir);
    for (int mode : {1, 0}) {
        QTest::mouseClick(screen->Option1[mode], Qt::LeftButton);
        // The "/" of every line stands at the same place (pre-school lines two full-width
        // columns further in the modes with run counts).
        const QString first = screen->List1->item(1)->text();
        const int schoolSlash = metrics.horizontalAdvance(first.left(first.indexOf('/')));
        for (int row = 2; row < screen->List1->count(); ++row) {
            const QString line = screen->List1->item(row)->text();
            const bool shifted = line.startsWith(QStringLiteral("幼")) && mode == 0;
            QCOMPARE(metrics.horizontalAdvance(line.left(line.indexOf('/'))),
                     schoolSlash + (shifted ? 4 * half : 0));
        }
        QVERIFY(school.host.grab().save(dir +
                                        QStringLiteral("/roster-name-list-mode%1.png").arg(mode)));
    }
}

QTEST_MAIN(StudentSelectionTest)
#include "test_student_selection.moc"
