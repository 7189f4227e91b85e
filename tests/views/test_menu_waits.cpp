// The level menu while its steps let window events run: the refresh (also while the data
// folder is out of reach), a start, the teacher gate with its messages. Whatever the
// pupil or teacher does meanwhile, exactly one screen is left; and a level the drill
// refuses leaves the menu usable.

#include "app/JapaneseFonts.h"
#include "drill/DrillRun.h"
#include "drill/MainFrm.h"
#include "records/FileRetry.h"
#include "records/RecordsTestSupport.h"
#include "support/MenuSchool.h"
#include "support/WaitProbe.h"
#include "views/LevelMenu.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

struct Menu : MenuSchool {
    AppState& state = t.state;

    explicit Menu(int levels = 1) : MenuSchool(levels) {
        state.config.schoolCode = QStringLiteral("12345");
        state.routes.startRun = [this] { startRun(state); };
        state.routes.openStudentSelection = [this] {
            showStandIn(state, QStringLiteral("NameListStandIn"));
        };
        state.routes.openRecordMaintenance = [this] {
            showStandIn(state, QStringLiteral("RecordMaintenanceStandIn"));
        };
        state.routes.openCriteriaEditor = [this] {
            showStandIn(state, QStringLiteral("CriteriaEditorStandIn"));
        };
        host.show();
    }
    // The level menu on the window as it stands, without asking for the focus.
    seisekitime1* open() {
        openLevelMenu(state);
        return qobject_cast<seisekitime1*>(host.current());
    }
    template <class W = QWidget> W* find(const QString& name) const {
        W* w = host.current()->findChild<W*>(name);
        if (!w) {
            qFatal("no control %s", qPrintable(name));
        }
        return w;
    }
    void click(const QString& name) { QTest::mouseClick(find<QPushButton>(name), Qt::LeftButton); }
    QString trouble() { return screenTrouble(host, state); }
};

} // namespace

class MenuWaitsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { mapJapaneseFonts(); }
    void refreshAndStartWithEverythingMeanwhile();
    void refreshWhileTheDataFolderIsOutOfReach();
    void aLevelWithoutAProblemFormLeavesTheMenuUsable();
    void theTeacherGateWithEverythingMeanwhile();
};

void MenuWaitsTest::refreshAndStartWithEverythingMeanwhile() {
    Menu m;
    WaitProbe probe(m.host, m.state);
    probe.watchSoundsAndMessages(m.t.env);
    QPointer<seisekitime1> menu = m.open();
    QVERIFY(probe.probes >= 1);
    QCOMPARE(probe.unguarded, 0);
    QString trouble = m.trouble();
    QVERIFY2(trouble.isEmpty(), qPrintable(trouble));
    QCOMPARE(m.host.current(), menu.data());
    QVERIFY(menu->menuReady());

    const int before = probe.probes;
    QTest::keyClick(menu, '1');
    QVERIFY(probe.probes > before);
    QCOMPARE(probe.unguarded, 0);
    trouble = m.trouble();
    QVERIFY2(trouble.isEmpty(), qPrintable(trouble));
    QVERIFY(qobject_cast<MainFrm*>(m.host.current()));
    QVERIFY(!menu);
}

void MenuWaitsTest::refreshWhileTheDataFolderIsOutOfReach() {
    Menu m;
    const QString folder = m.t.drillDataFolder();
    const QString away = m.t.root() + QStringLiteral("/away");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(QDir().rename(folder, away));
    WaitProbe probe(m.host, m.state);
    probe.afterProbe = [&] {
        if (QDir(away).exists()) {
            QDir().rename(away, folder);
        }
    };
    ClockPump pump(m.t.env, RetryRules::missingWaitMs);
    QPointer<seisekitime1> menu = m.open();
    QVERIFY(probe.probes >= 1);
    QCOMPARE(probe.unguarded, 0);
    const QString trouble = m.trouble();
    QVERIFY2(trouble.isEmpty(), qPrintable(trouble));
    QCOMPARE(m.host.current(), menu.data());
    QVERIFY(menu->menuReady());
    QVERIFY(m.t.env.messages.empty());
}

// A profile offering more levels than the drill has problem forms for.
void MenuWaitsTest::aLevelWithoutAProblemFormLeavesTheMenuUsable() {
    Menu m(4);
    QPointer<seisekitime1> menu = m.open();
    QVERIFY(m.find<QPushButton>(QStringLiteral("Command4_4"))->isEnabled());
    m.click(QStringLiteral("Command4_4"));
    QCOMPARE(m.t.env.messages.size(), std::size_t(1));
    QCOMPARE(m.t.env.messages[0].text,
             QStringLiteral("このレベルには問題がありません。先生を呼びなさい。"));
    const QString trouble = m.trouble();
    QVERIFY2(trouble.isEmpty(), qPrintable(trouble));
    QCOMPARE(m.host.current(), menu.data());
    QVERIFY(menu->menuReady());
    QVERIFY(m.find(QStringLiteral("Picture2"))->isHidden());
    // The menu still starts the levels that have problems.
    QTest::keyClick(menu, '2');
    QVERIFY(m.trouble().isEmpty());
    QVERIFY(qobject_cast<MainFrm*>(m.host.current()));
    QCOMPARE(m.state.run.levelNo, 2);
}

void MenuWaitsTest::theTeacherGateWithEverythingMeanwhile() {
    Menu m;
    m.state.pupil.pupilName = QStringLiteral("先生");
    WaitProbe probe(m.host, m.state);
    probe.watchSoundsAndMessages(m.t.env);
    probe.limit = 40;
    QPointer<seisekitime1> menu = m.open();
    // Without the shared configuration the panel says so, and the key is missing.
    m.click(QStringLiteral("Command8"));
    QVERIFY(m.find(QStringLiteral("Picture7"))->isVisible());
    m.click(QStringLiteral("Command10_0"));
    QCOMPARE(m.t.env.messages.size(), std::size_t(2));
    QCOMPARE(m.t.env.messages[1].text, QStringLiteral("キーフロッピーが見つかりません。"));
    QCOMPARE(probe.unguarded, 0);
    QString trouble = m.trouble();
    QVERIFY2(trouble.isEmpty(), qPrintable(trouble));
    QCOMPARE(m.host.current(), menu.data());
    QVERIFY(m.find(QStringLiteral("Picture7"))->isVisible());

    // With the configuration and a key, the gate opens the editor.
    m.t.copyFixture(QStringLiteral("config-cp932.txt"),
                    m.t.dataRoot() + QStringLiteral("共通データ.txt"));
    const QString key = m.t.root() + QStringLiteral("/key");
    m.t.writeBytes(key + QStringLiteral("/keypass.txt"), QByteArray());
    m.find<QLineEdit>(QStringLiteral("Text2"))->setText(QDir::toNativeSeparators(key));
    m.click(QStringLiteral("Command10_1"));
    QCOMPARE(probe.unguarded, 0);
    trouble = m.trouble();
    QVERIFY2(trouble.isEmpty(), qPrintable(trouble));
    QCOMPARE(m.host.current()->objectName(), QStringLiteral("CriteriaEditorStandIn"));
}

QTEST_MAIN(MenuWaitsTest)
#include "test_menu_waits.moc"
