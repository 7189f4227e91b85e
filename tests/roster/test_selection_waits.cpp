// The name list while its list builds let window events run (also while the data folder
// is out of reach) and while its wrong-answer cue plays: whatever the pupil does
// meanwhile, exactly one screen is left, and the name a pupil confirms afterwards is the
// one that goes on.

#include "RosterTestFiles.h"
#include "app/JapaneseFonts.h"
#include "app/ScreenHost.h"
#include "records/FileRetry.h"
#include "records/RecordsTestSupport.h"
#include "result/SoundCues.h"
#include "roster/StudentSelection.h"
#include "support/WaitProbe.h"

#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace rostertest;

namespace {

struct School {
    TestInstallation inst;
    AppState& state = inst.state;
    ScreenHost host;
    int levelMenus = 0;

    School() {
        state.host = &host;
        state.profile.programTitle = QStringLiteral("ミルネア");
        state.config.schoolYearStartMonth = 4;
        state.routes.openLevelMenu = [this] {
            ++levelMenus;
            showStandIn(state, QStringLiteral("LevelMenuStandIn"));
        };
        state.sounds.cues[間違い音2].name = QStringLiteral("間違い音2");
        state.sounds.cues[間違い音2].files[1] = QStringLiteral("wrong");
        state.sounds.cues[間違い音2].fileCount = QStringLiteral("1");
        setLevelOneCriteria(state);
        writeRoster(inst, rosterLine(1, 2013, "あおき") + rosterLine(2, 2014, "いとう"));
        const QDate today(2026, 12, 9);
        writeResults(inst, resultRecord(today, QTime(9, 0), 1, 1, 15));
        host.resize(1024, 768);
        host.show();
    }
    StudentSelection* open() {
        openStudentSelection(state);
        return qobject_cast<StudentSelection*>(host.current());
    }
    QString trouble() { return screenTrouble(host, state); }
};

} // namespace

class SelectionWaitsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { mapJapaneseFonts(); }
    void everythingDuringTheBuildsAndTheCue();
    void aBuildWhileTheDataFolderIsOutOfReach();
};

void SelectionWaitsTest::everythingDuringTheBuildsAndTheCue() {
    School s;
    WaitProbe probe(s.host, s.state);
    probe.watchSoundsAndMessages(s.inst.env);
    QPointer<StudentSelection> names = s.open();
    QVERIFY(names);
    QVERIFY(probe.probes >= 1);
    // Another display mode rebuilds the list, probed again.
    const int afterOpen = probe.probes;
    QTest::mouseClick(names->Option1[2], Qt::LeftButton);
    QVERIFY(probe.probes > afterOpen);
    // O.K. without a name: the wrong-answer cue, probed while it plays.
    names->List1->setCurrentRow(0);
    const int afterBuild = probe.probes;
    QTest::mouseClick(names->Command14, Qt::LeftButton);
    QVERIFY(probe.probes > afterBuild);
    QCOMPARE(probe.unguarded, 0);
    const QString trouble = s.trouble();
    QVERIFY2(trouble.isEmpty(), qPrintable(trouble));
    QCOMPARE(s.host.current(), names.data());
    QCOMPARE(s.levelMenus, 0);

    // Nothing of it stuck: the pupil picks a name and goes on.
    names->List1->setFocus();
    QTest::keyClick(names->List1, Qt::Key_Down);
    QTest::keyClick(names->List1, Qt::Key_Return);
    QVERIFY(s.trouble().isEmpty());
    QCOMPARE(s.levelMenus, 1);
    QCOMPARE(s.state.pupil.pupilIndex, 1);
}

void SelectionWaitsTest::aBuildWhileTheDataFolderIsOutOfReach() {
    School s;
    QPointer<StudentSelection> names = s.open();
    const QString folder = s.inst.drillDataFolder();
    const QString away = s.inst.root() + QStringLiteral("/away");
    QVERIFY(QDir().rename(folder, away));
    WaitProbe probe(s.host, s.state);
    int waits = 0;
    // Back after two of the five-second waits.
    ClockPump pump(s.inst.env, RetryRules::missingWaitMs, [&] {
        if (++waits == 2) {
            QDir().rename(away, folder);
        }
    });
    QTest::mouseClick(names->Option1[2], Qt::LeftButton);
    QVERIFY(waits >= 2);
    QVERIFY(probe.probes >= 1);
    QCOMPARE(probe.unguarded, 0);
    const QString trouble = s.trouble();
    QVERIFY2(trouble.isEmpty(), qPrintable(trouble));
    QCOMPARE(s.host.current(), names.data());
    QVERIFY(s.inst.env.messages.empty());
    QVERIFY(names->List1->count() > 2);
}

QTEST_MAIN(SelectionWaitsTest)
#include "test_selection_waits.moc"
