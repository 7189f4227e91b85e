// The level menu driven through real key and mouse events, over a results file on disk.
#include "app/JapaneseFonts.h"
#include "records/ResultsFile.h"
#include "support/MenuSchool.h"
#include "views/LevelMenu.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

namespace {

constexpr int pupil = 42;

struct Menu : MenuSchool {
    int runsStarted = 0;
    int startedLevel = 0;
    int selectionsOpened = 0;

    explicit Menu(int levels = 1) : MenuSchool(levels, levelNameWithWideDigit) {
        AppState& s = t.state;
        s.profile.explanationAvailable[1] = 1;
        s.config.schoolCode = QStringLiteral("12345");
        s.config.seasonColor = 192 | (255 << 8) | (192 << 16);
        s.pupil.pupilGroup = QStringLiteral("小３");
        s.pupil.loginTime = 9 * 3600 + 45 * 60; // the fake clock reads 10:00
        s.routes.startRun = [this] {
            ++runsStarted;
            startedLevel = t.state.run.levelNo;
        };
        s.routes.openStudentSelection = [this] { ++selectionsOpened; };
    }

    void run(int daysAgo, int level, int seconds, int pupilNo = pupil) {
        recordRun(daysAgo, pupilNo, level, seconds);
    }

    QString text(const QString& labelName) { return find<QLabel>(labelName)->text(); }
    bool shown(const QString& name) { return !find<QWidget>(name)->isHidden(); }
    QPushButton* start(int level) {
        return find<QPushButton>(QStringLiteral("Command4_%1").arg(level));
    }

    std::vector<FakeEnvironment::Message>& messages() { return t.env.messages; }
};

void saveGrab(QWidget* widget, const QString& name) {
    const QString folder = QStringLiteral(MIRUNEA_ARTIFACTS_DIR);
    QDir().mkpath(folder);
    QVERIFY(widget->grab().save(folder + QLatin1Char('/') + name));
}

} // namespace

class TestLevelMenu : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { mapJapaneseFonts(); }

    void showsTheHeaderAndThePupilsFigures() {
        Menu m;
        m.run(0, 1, 30);    // 5 points x 1.5 = 7
        m.run(0, 1, 45);    // 4 x 1.5 = 6
        m.run(0, 1, 99999); // timed out: no run, no points
        m.run(3, 1, 40);    // 5 x 1.5 = 7
        m.run(8, 1, 20);    // 11 x 1.5 = 16, outside the 7 days
        m.run(0, 1, 20, 7); // another pupil
        seisekitime1* menu = m.open();
        QVERIFY(menu);
        QVERIFY(menu->menuReady());
        QVERIFY(!m.shown(QStringLiteral("Picture2")));

        QCOMPARE(m.text("Label11"), QStringLiteral("ミルネア"));
        QCOMPARE(m.text("Label12"), QStringLiteral("小３ 山田太郎"));
        QCOMPARE(m.text("Label13"), QStringLiteral("ミルネア塾　本校:42"));
        QCOMPARE(m.text("Label17"), QStringLiteral("起動後15分"));
        QCOMPARE(m.text("Label18"), QStringLiteral("本日総回数＝2回"));
        QCOMPARE(m.t.state.run.totalRuns, 2);
        QCOMPARE(m.find<QComboBox>("Combo1")->currentText(), QStringLiteral("全学年"));
        QCOMPARE(m.find<QComboBox>("Combo1")->count(), 12);

        QCOMPARE(m.text("Label1_1"), QStringLiteral("1"));
        QCOMPARE(m.text("Label3_1"), QStringLiteral("レベル１"));
        QCOMPARE(m.start(1)->text(), QStringLiteral("ｽﾀｰﾄ(&1)"));
        QCOMPARE(m.text("Label7_1"), QStringLiteral("目標=40秒 3回/100点(×1.5)"));
        QCOMPARE(m.text("Label8_1"), QStringLiteral("最近7日=3回 / 20点"));
        QCOMPARE(m.text("Label9_1"), QStringLiteral("今日"));
        QCOMPARE(m.text("Label10_1"), QStringLiteral("今まで"));
        QCOMPARE(m.text("Label14_1"), QStringLiteral("2回/13点"));
        QCOMPARE(m.text("Label15_1"), QStringLiteral("4回/36点"));
        QVERIFY(m.shown("Command30_1"));
        QVERIFY(m.start(1)->isEnabled());
        QVERIFY(m.find<QPushButton>("Command1")->isEnabled());
        QCOMPARE(m.t.state.views.periodChoice, 3);
        QCOMPARE(m.t.state.views.resultView, 1);
        saveGrab(m.host.current(), QStringLiteral("level-menu-one-level.png"));
    }

    void comingBackRefreshesEveryFigure() {
        Menu m;
        seisekitime1* menu = m.open();
        QCOMPARE(m.text("Label14_1"), QStringLiteral("-----"));
        QCOMPARE(m.text("Label8_1"), QStringLiteral("最近7日=0回 / 0点"));
        // A run recorded meanwhile (the result screen hands back to this menu).
        m.run(0, 1, 30);
        m.t.env.advance(5 * 60 * 1000);
        menu->activate();
        QCOMPARE(m.text("Label14_1"), QStringLiteral("1回/7点"));
        QCOMPARE(m.text("Label15_1"), QStringLiteral("1回/7点"));
        QCOMPARE(m.text("Label8_1"), QStringLiteral("最近7日=1回 / 7点"));
        QCOMPARE(m.text("Label18"), QStringLiteral("本日総回数＝1回"));
        QCOMPARE(m.text("Label17"), QStringLiteral("起動後20分"));
        QVERIFY(menu->menuReady());
    }

    void aPupilWithoutRunsSeesDashes() {
        Menu m;
        m.run(0, 1, 30, 7);
        m.open();
        QCOMPARE(m.text("Label14_1"), QStringLiteral("-----"));
        QCOMPARE(m.text("Label15_1"), QStringLiteral("------"));
        QCOMPARE(m.text("Label18"), QStringLiteral("本日総回数＝0回"));
    }

    void oneLevelColumnFillsTheWidth() {
        Menu m;
        seisekitime1* menu = m.open();
        QCOMPARE(menu->columnWidth(), 14592);
        QVERIFY(!m.shown("HScroll1"));
        // 2 % of the width in, 14592 twips wide: 20 .. 993 pixels at 1024 x 768.
        const QRect button = m.start(1)->geometry();
        QCOMPARE(button.left(), 20);
        QCOMPARE(button.right() + 1, 993);
        QCOMPARE(m.find<QLabel>("Label1_1")->width(), qRound(14592 / 5 / 15.0));
        // Everything shown lies inside the window.
        for (QWidget* w : menu->findChildren<QWidget*>()) {
            if (w->isVisibleTo(menu) && w->parentWidget() == menu) {
                QVERIFY2(menu->rect().contains(w->geometry()), qPrintable(w->objectName()));
            }
        }
    }

    void sixLevelsScroll() {
        Menu m(6);
        seisekitime1* menu = m.open();
        QCOMPARE(menu->columnWidth(), 3456);
        auto* bar = m.find<QScrollBar>("HScroll1");
        QVERIFY(m.shown("HScroll1"));
        QCOMPARE(bar->maximum(), 3);
        QVERIFY(m.host.findChild<QPushButton*>("Command30_1"));
        QVERIFY(!m.host.findChild<QPushButton*>("Command30_2"));
        QCOMPARE(m.find<QLabel>("Label1_2")->x(), qRound((307 + 3456) / 15.0));
        bar->setValue(3);
        QCOMPARE(menu->firstVisibleColumn(), 3);
        QCOMPARE(m.find<QLabel>("Label1_3")->x(), 20);
        QVERIFY(m.find<QLabel>("Label1_1")->x() >= menu->width());
        QVERIFY(m.find<QLabel>("Label1_2")->x() >= menu->width());
        QCOMPARE(m.start(4)->x(), qRound((307 + 3456) / 15.0));
        // The place survives a refresh and a resize.
        menu->activate();
        QCOMPARE(m.find<QLabel>("Label1_3")->x(), 20);
        m.host.resize(2048, 1536);
        QCOMPARE(m.find<QLabel>("Label1_3")->x(), 41);
        QVERIFY(m.find<QLabel>("Label1_1")->x() >= menu->width());
    }

    void keysStartOnlyOfferedLevels() {
        Menu m;
        seisekitime1* menu = m.open();
        QTest::keyClick(menu, '2');
        QTest::keyClick(menu, 'A');
        QTest::keyClick(menu, 'a');
        QTest::keyClick(menu, Qt::Key_A, Qt::ShiftModifier);
        QCOMPARE(m.runsStarted, 0);
        QVERIFY(menu->menuReady());

        // The keys work whichever control has the focus.
        QTest::keyClick(m.find<QComboBox>("Combo1"), '1');
        QCOMPARE(m.runsStarted, 1);
        QCOMPARE(m.startedLevel, 1);
        QCOMPARE(m.t.state.run.levelNo, 1);
        // The wait panel covers the menu while the run starts; keys are refused now.
        QVERIFY(m.shown("Picture2"));
        QVERIFY(!menu->menuReady());
        QTest::keyClick(menu, '1');
        QTest::keyClick(menu, '0');
        QCOMPARE(m.runsStarted, 1);
        QCOMPARE(m.selectionsOpened, 0);
    }

    void lettersStartLevelsTenToThirteen() {
        // Levels past the drill's problem forms are offered, and refused when started.
        Menu m(13);
        seisekitime1* menu = m.open();
        QTest::keyClick(menu, 'd'); // level 13
        QCOMPARE(m.messages().size(), std::size_t(1));
        QCOMPARE(m.messages()[0].text,
                 QStringLiteral("このレベルには問題がありません。先生を呼びなさい。"));
        QVERIFY(menu->menuReady());
        QTest::keyClick(menu, 'C');
        QTest::keyClick(menu, 'e'); // no level 14
        QCOMPARE(m.messages().size(), std::size_t(1));
        QCOMPARE(m.runsStarted, 0);
        QTest::keyClick(menu, '3');
        QCOMPARE(m.startedLevel, 3);
    }

    void theStartButtonAndTheNameStartALevel() {
        Menu m;
        seisekitime1* menu = m.open();
        QTest::mouseClick(m.start(1), Qt::LeftButton);
        QCOMPARE(m.runsStarted, 1);
        QCOMPARE(m.startedLevel, 1);

        menu->activate();
        m.t.state.run.levelNo = 0;
        QTest::mouseClick(m.find<QLabel>("Label3_1"), Qt::LeftButton);
        QCOMPARE(m.runsStarted, 2);
        QCOMPARE(m.t.state.run.levelNo, 1);

        // Alt and the digit: the button's access key, through the window system.
        menu->activate();
        m.host.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&m.host));
        QTest::keyClick(m.host.windowHandle(), Qt::Key_1, Qt::AltModifier);
        QCOMPARE(m.runsStarted, 3);
        menu->activate();
        QTest::keyClick(m.host.windowHandle(), Qt::Key_2, Qt::AltModifier);
        QTest::keyClick(m.host.windowHandle(), Qt::Key_1, Qt::ControlModifier);
        QCOMPARE(m.runsStarted, 3);
    }

    void backByKeyAndByButton() {
        Menu m;
        seisekitime1* menu = m.open();
        QTest::keyClick(menu, '0');
        QCOMPARE(m.selectionsOpened, 1);
        QVERIFY(m.shown("Picture2"));
        menu->activate();
        QTest::mouseClick(m.find<QPushButton>("Command1"), Qt::LeftButton);
        QCOMPARE(m.selectionsOpened, 2);
        QCOMPARE(m.runsStarted, 0);
    }

    void aLevelWithoutPositiveTimesIsRefused() {
        Menu m(2);
        m.t.state.criteria[1].minimumSeconds = 0;
        m.t.state.criteria[2].targetSeconds = -5;
        seisekitime1* menu = m.open();
        QTest::keyClick(menu, '1');
        QTest::mouseClick(m.start(2), Qt::LeftButton);
        QCOMPARE(m.runsStarted, 0);
        QCOMPARE(m.messages().size(), 2u);
        QCOMPARE(m.messages()[0].title, QStringLiteral("注意"));
        QVERIFY2(m.messages()[0].text.contains(QStringLiteral("レベル１")),
                 qPrintable(m.messages()[0].text));
        QVERIFY(m.messages()[1].text.contains(QStringLiteral("レベル２")));
        // The menu stays usable.
        QVERIFY(menu->menuReady());
        QVERIFY(!m.shown("Picture2"));
        m.t.state.criteria[1].minimumSeconds = 60;
        QTest::keyClick(menu, '1');
        QCOMPARE(m.startedLevel, 1);
    }

    void practiceLevelsRunForTenMinutesAndShowNoFigures() {
        Menu m(3);
        m.t.state.profile.allLevelsOpen = 0;
        m.t.state.profile.levelNames[2] = QStringLiteral("レベル３練習");
        m.t.state.criteria[2].targetSeconds = 0; // replaced for the run
        m.open();
        QCOMPARE(m.t.state.criteria[2].targetSeconds, 600);
        QCOMPARE(m.t.state.criteria[2].minimumSeconds, 600);
        QCOMPARE(m.t.state.criteria[1].targetSeconds, 40);
        for (const char* name :
             {"Label7_2", "Label8_2", "Label9_2", "Label10_2", "Label14_2", "Label15_2"}) {
            QVERIFY2(!m.shown(QString::fromLatin1(name)), name);
        }
        QVERIFY(m.shown("Label7_1"));
        QVERIFY(m.start(1)->isEnabled());
        QVERIFY(m.start(2)->isEnabled());
        QVERIFY(!m.start(3)->isEnabled());
        QTest::keyClick(m.host.current(), '3');
        QCOMPARE(m.runsStarted, 0);
        QTest::keyClick(m.host.current(), '2');
        QCOMPARE(m.startedLevel, 2);
    }

    void overPractiseShowsTheBanner() {
        Menu m(3);
        m.t.state.criteria[1].overuseRuns = 2;
        m.run(0, 1, 30);
        m.run(0, 1, 35);
        m.run(0, 2, 35);
        m.run(5, 1, 99999); // a timed-out run counts no run
        seisekitime1* menu = m.open();
        QVERIFY(m.shown("Text1_1"));
        QCOMPARE(m.text("Text1_1"), QStringLiteral("やりすぎ禁止"));
        QVERIFY(!m.shown("Text1_2"));
        QVERIFY(!m.start(1)->isEnabled());
        QVERIFY(m.start(2)->isEnabled());
        QCOMPARE(m.t.state.views.clearedAtMenu, 0);
        QTest::keyClick(menu, '1');
        QCOMPARE(m.runsStarted, 0);
        QTest::mouseClick(m.find<QLabel>("Label3_1"), Qt::LeftButton);
        QCOMPARE(m.runsStarted, 0);
        saveGrab(menu, QStringLiteral("level-menu-three-levels.png"));
        QTest::keyClick(menu, '2');
        QCOMPARE(m.startedLevel, 2);
    }

    void theTeacherButtonsFollowTheName() {
        struct Case {
            const char* name;
            int printEnabled;
            bool dataButton;
            bool printButton;
        };
        const Case cases[] = {
            {"先生", 0, true, false},      {"先生", 1, true, true},   {"先生２", 1, false, true},
            {"山田先生", 0, false, false}, {"山田", 1, false, false},
        };
        for (const Case& c : cases) {
            Menu m;
            m.t.state.pupil.pupilName = QString::fromUtf8(c.name) + QStringLiteral("   ");
            m.t.state.profile.printEnabled = c.printEnabled;
            m.open();
            QVERIFY2(m.shown("Command8") == c.dataButton, c.name);
            QVERIFY2(m.shown("Command27") == c.printButton, c.name);
        }
    }

    void theTeacherGate() {
        Menu m;
        m.t.state.pupil.pupilName = QStringLiteral("先生");
        const QString config = m.t.copyFixture(QStringLiteral("config-cp932.txt"),
                                               m.t.dataRoot() + QStringLiteral("共通データ.txt"));
        const QString keyFolder = QDir::toNativeSeparators(m.t.root() + "/key01");
        m.t.writeBytes(keyFolder + "/keypass.txt", "x");
        seisekitime1* menu = m.open();
        QVERIFY(!m.shown("Picture7"));

        QTest::mouseClick(m.find<QPushButton>("Command8"), Qt::LeftButton);
        QVERIFY(m.shown("Picture7"));
        auto* folder = m.find<QLineEdit>("Text2");
        QCOMPARE(folder->text(), QStringLiteral("A:\\"));

        // The stored medium is absent.
        QTest::mouseClick(m.find<QPushButton>("Command10_0"), Qt::LeftButton);
        QCOMPARE(m.messages().size(), 1u);
        QCOMPARE(m.messages()[0].title, QStringLiteral("注意"));
        QCOMPARE(m.messages()[0].text, QStringLiteral("キーフロッピーが見つかりません。"));
        QVERIFY(m.shown("Picture7"));

        // While the panel shows, no level starts.
        QTest::keyClick(menu, '1');
        QTest::mouseClick(m.start(1), Qt::LeftButton);
        QCOMPARE(m.runsStarted, 0);

        // Digits typed into the folder belong to the field, not to the menu.
        folder->clear();
        QTest::keyClicks(folder, keyFolder);
        QCOMPARE(folder->text(), keyFolder);
        QCOMPARE(m.selectionsOpened, 0);
        QCOMPARE(m.runsStarted, 0);

        QTest::mouseClick(m.find<QPushButton>("Command10_1"), Qt::LeftButton);
        QCOMPARE(m.messages().size(), 2u);
        QVERIFY2(m.messages()[1].text.contains(QStringLiteral("合格タイムデータ変更")),
                 qPrintable(m.messages()[1].text));
        QFile written(config);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray bytes = written.readAll();
        QVERIFY(bytes.contains("\r\n\"" + keyFolder.toUtf8() + "\"\r\n"));
        QVERIFY(!bytes.contains("A:\\"));
        QVERIFY(m.shown("Picture7"));

        QTest::mouseClick(m.find<QPushButton>("Command12"), Qt::LeftButton);
        QVERIFY(!m.shown("Picture7"));
        QTest::keyClick(menu, '1');
        QCOMPARE(m.runsStarted, 1);
    }

    // Records the counts skip (negative seconds, a date after today) are told to the
    // teacher alone, on the teacher panel, with their numbers and the way to mend them.
    void skippedRecordsAreToldToTheTeacherAlone_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("told");
        QTest::newRow("pupil") << QStringLiteral("山田太郎") << false;
        QTest::newRow("teacher") << QStringLiteral("先生") << true;
        QTest::newRow("a name with 先生 in it") << QStringLiteral("山田先生") << false;
    }

    void skippedRecordsAreToldToTheTeacherAlone() {
        QFETCH(QString, name);
        QFETCH(bool, told);
        Menu m;
        m.t.state.pupil.pupilName = name;
        m.t.copyFixture(QStringLiteral("config-cp932.txt"),
                        m.t.dataRoot() + QStringLiteral("共通データ.txt"));
        const QString keyFolder = QDir::toNativeSeparators(m.t.root() + "/key03");
        m.t.writeBytes(keyFolder + "/keypass.txt", "x");
        int maintenanceOpened = 0;
        m.t.state.routes.openRecordMaintenance = [&] { ++maintenanceOpened; };
        m.run(0, 1, 30);
        m.run(0, 1, -5); // record 2
        m.run(0, 1, 30);
        m.run(-1, 1, 20); // record 4, dated tomorrow
        m.open();
        QVERIFY(m.messages().empty());
        QCOMPARE(m.shown("Picture7"), told);
        if (!told) {
            return;
        }
        const QString notice = m.text("Label23");
        QVERIFY2(notice.contains(QStringLiteral("2 件")) &&
                     notice.contains(QStringLiteral("記録の番号: 2, 4\n")) &&
                     notice.contains(QStringLiteral("「データ変更」")),
                 qPrintable(notice));
        QVERIFY(m.find<QLabel>("Label23")->isVisible());
        // Closed and opened again, the panel still tells it.
        QTest::mouseClick(m.find<QPushButton>("Command12"), Qt::LeftButton);
        QVERIFY(!m.shown("Picture7"));
        QTest::mouseClick(m.find<QPushButton>("Command8"), Qt::LeftButton);
        QVERIFY(m.find<QLabel>("Label23")->isVisible());
        // "データ変更" with the key is the way to the records.
        auto* folder = m.find<QLineEdit>("Text2");
        folder->clear();
        QTest::keyClicks(folder, keyFolder);
        QTest::mouseClick(m.find<QPushButton>("Command10_0"), Qt::LeftButton);
        QCOMPARE(maintenanceOpened, 1);
        QVERIFY(m.messages().empty());
    }

    void theGateFailsWithItsOneMessageWhenTheConfigurationCannotBeRewritten() {
        Menu m;
        m.t.state.pupil.pupilName = QStringLiteral("先生");
        const QString config = m.t.copyFixture(QStringLiteral("config-cp932.txt"),
                                               m.t.dataRoot() + QStringLiteral("共通データ.txt"));
        const QString keyFolder = QDir::toNativeSeparators(m.t.root() + "/key02");
        m.t.writeBytes(keyFolder + "/keypass.txt", "x");
        m.open();
        QTest::mouseClick(m.find<QPushButton>("Command8"), Qt::LeftButton);
        auto* folder = m.find<QLineEdit>("Text2");
        folder->clear();
        QTest::keyClicks(folder, keyFolder);
        // The file goes away while the panel is open: the new folder cannot be stored.
        QVERIFY(QFile::remove(config));

        QTest::mouseClick(m.find<QPushButton>("Command10_0"), Qt::LeftButton);
        QCOMPARE(m.messages().size(), 1u);
        QCOMPARE(m.messages()[0].title, QStringLiteral("注意"));
        QCOMPARE(m.messages()[0].text, QStringLiteral("キーフロッピーが見つかりません。"));
        QVERIFY(!QFile::exists(config)); // nothing written in its place
        QVERIFY(m.shown("Picture7"));
    }
};

QTEST_MAIN(TestLevelMenu)
#include "test_level_menu.moc"
