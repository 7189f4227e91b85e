// The criteria editor while a message of its own is on show: the results file it reads
// the distributions from cannot be read, and leaving with changes asks whether to save.
// Whatever the teacher clicks or presses at the window behind the message, exactly one
// screen is left and the criteria file holds what was acknowledged.

#include "RecordsTestSupport.h"
#include "app/ScreenHost.h"
#include "records/CriteriaEditor.h"
#include "records/CriteriaFile.h"
#include "support/TestInstallation.h"
#include "support/WaitProbe.h"
#include "text/Cp932.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

const QString criteriaText =
    QStringLiteral("目標Time,最低Time,ｸﾘｱﾎﾟｲﾝﾄ,ｸﾘｱ回数,ﾎﾟｲﾝﾄ倍率,禁回,禁点,判期間,禁期間,,,\r\n"
                   "60,90,100,5,1.5,20,0,7,1,,,\r\n"
                   "45,70,9999,3,1,,,14,0,,,\r\n");

struct Editor {
    TestInstallation inst;
    AppState& state = inst.state;
    FakeEnvironment& env = inst.env;
    ScreenHost host;

    Editor() {
        inst.writeBytes(criteriaPath(), encodeCp932(criteriaText).value());
        if (!loadCriteria(state)) {
            qFatal("the criteria file did not load");
        }
        state.host = &host;
        state.routes.openLevelMenu = [this] {
            showStandIn(state, QStringLiteral("LevelMenuStandIn"));
        };
        host.show();
    }
    QString criteriaPath() const {
        return inst.drillDataFolder() + QStringLiteral("タイム回数データ.txt");
    }
    CriteriaEditor* open() {
        openCriteriaEditor(state);
        return qobject_cast<CriteriaEditor*>(host.current());
    }
    QLineEdit* box() const {
        return host.current()->findChild<QLineEdit*>(QStringLiteral("Gridinputtext"));
    }
    QString trouble() { return screenTrouble(host, state); }
};

} // namespace

class EditorWaitsTest : public QObject {
    Q_OBJECT

private slots:
    void everythingWhileTheReadFailureIsShown();
    void everythingWhileLeavingAsksToSave_data();
    void everythingWhileLeavingAsksToSave();
};

void EditorWaitsTest::everythingWhileTheReadFailureIsShown() {
    Editor e;
    QDir().mkpath(resultsFilePath(e.state)); // a folder where the file should be
    WaitProbe probe(e.host, e.state);
    probe.watchSoundsAndMessages(e.env);
    QPointer<CriteriaEditor> editor = e.open();
    QTest::keyClick(e.box(), Qt::Key_Down);
    QCOMPARE(e.env.messages.size(), std::size_t{1});
    QVERIFY(probe.probes >= 1);
    QCOMPARE(probe.unguarded, 0);
    const QString trouble = e.trouble();
    QVERIFY2(trouble.isEmpty(), qPrintable(trouble));
    QCOMPARE(e.host.current(), editor.data());
    QCOMPARE(fileBytes(e.criteriaPath()), encodeCp932(criteriaText).value());
}

void EditorWaitsTest::everythingWhileLeavingAsksToSave_data() {
    QTest::addColumn<bool>("save");
    QTest::newRow("save") << true;
    QTest::newRow("do not save") << false;
}

void EditorWaitsTest::everythingWhileLeavingAsksToSave() {
    QFETCH(bool, save);
    Editor e;
    QPointer<CriteriaEditor> editor = e.open();
    QTest::keyClicks(e.box(), QStringLiteral("0")); // 60 becomes 600
    WaitProbe probe(e.host, e.state);
    probe.watchSoundsAndMessages(e.env);
    e.env.answers.push_back(save ? MessageAnswer::Yes : MessageAnswer::No);
    QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("Command4")), Qt::LeftButton);
    QCOMPARE(e.env.messages.size(), std::size_t{1});
    QVERIFY(probe.probes >= 1);
    QCOMPARE(probe.unguarded, 0);
    const QString trouble = e.trouble();
    QVERIFY2(trouble.isEmpty(), qPrintable(trouble));
    QCOMPARE(e.host.current()->objectName(), QStringLiteral("LevelMenuStandIn"));
    const QString saved =
        QString(criteriaText).replace(QStringLiteral("\r\n60,"), QStringLiteral("\r\n600,"));
    QCOMPARE(fileBytes(e.criteriaPath()), encodeCp932(save ? saved : criteriaText).value());
}

QTEST_MAIN(EditorWaitsTest)
#include "test_editor_waits.moc"
