// Record maintenance while its steps wait: another copy holds the results file, the data
// folder is out of reach, a message is on show. Whatever the teacher clicks or presses
// meanwhile, the screen outlives its own step, exactly one screen is left and the file
// holds what was acknowledged.

#include "MaintenanceRoom.h"
#include "RecordsTestSupport.h"
#include "app/ScreenHost.h"
#include "records/FileRetry.h"
#include "records/RecordMaintenanceScreen.h"
#include "roster/RosterTestFiles.h"
#include "support/TestInstallation.h"
#include "support/WaitProbe.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <cerrno>
#include <memory>

using rostertest::rosterLine;
using rostertest::writeRoster;

namespace {

struct Room : MaintenanceRoom {
    Room() {
        state.routes.openLevelMenu = [this] {
            showStandIn(state, QStringLiteral("LevelMenuStandIn"));
        };
        writeRoster(inst, rosterLine(12, 2017, QStringLiteral("山田　花子")) +
                              rosterLine(7, 2013, QStringLiteral("長谷川由美子")));
        writeRuns({12, 7, 12}, {41, 42, 43}, 1);
    }
};

} // namespace

class MaintenanceWaitsTest : public QObject {
    Q_OBJECT

private slots:
    void backWhileADeletionWaitsForAnotherCopy();
    void aDroppedDownChooserWaitsWithTheScreen();
    void everythingDuringEachWait_data();
    void everythingDuringEachWait();
};

// The teacher deletes a record while another PC holds the file, and clicks "戻る" while
// the deletion waits.
void MaintenanceWaitsTest::backWhileADeletionWaitsForAnotherCopy() {
    Room room;
    QPointer<RecordMaintenanceScreen> screen = room.open();
    room.doubleClickLine(0);
    QVERIFY(room.find(QStringLiteral("Frame1"))->isVisible());
    HeldResultsFile other(resultsFilePath(room.state));
    QVERIFY(other.holding());
    int turns = 0;
    ClockPump pump(room.env, RetryRules::busyWaitMs, [&] {
        if (++turns == 2) {
            room.click(QStringLiteral("Command4")); // 戻る, in the middle of the wait
        } else if (turns == 4) {
            other.release();
        }
    });
    room.env.answers.push_back(MessageAnswer::Ok); // 本当に消去しますか: OK
    room.click(QStringLiteral("Command3"));        // 消去
    QVERIFY(turns >= 4);
    QVERIFY(screen);
    QCOMPARE(room.records(), std::vector<ResultRecord>({room.written[1], room.written[2]}));
    QCOMPARE(screen->findChild<QListWidget*>(QStringLiteral("List1"))->count(), 2);
    const QString trouble = screenTrouble(room.host, room.state);
    QVERIFY2(trouble.isEmpty(), qPrintable(trouble));
    QCOMPARE(room.host.current(), screen.data()); // the click during the wait did nothing
    // Once the deletion is done, "戻る" leaves.
    room.click(QStringLiteral("Command4"));
    QVERIFY(screenTrouble(room.host, room.state).isEmpty());
    QCOMPARE(room.host.current()->objectName(), QStringLiteral("LevelMenuStandIn"));
}

// The pupil chooser was dropped down when the change began: a choice in its list while
// the change waits for another copy does not reach the chooser the change reads.
void MaintenanceWaitsTest::aDroppedDownChooserWaitsWithTheScreen() {
    Room room;
    room.open();
    room.doubleClickLine(0);
    auto* chooser = room.find<QComboBox>(QStringLiteral("Combo1"));
    const QString chosen = chooser->currentText();
    chooser->showPopup();
    QAbstractItemView* popupList = chooser->view();
    QVERIFY(popupList->isVisible());
    HeldResultsFile other(resultsFilePath(room.state));
    QVERIFY(other.holding());
    int turns = 0;
    ClockPump pump(room.env, RetryRules::busyWaitMs, [&] {
        if (++turns == 1) {
            const QModelIndex last = popupList->model()->index(chooser->count() - 1, 0);
            const QPoint at = popupList->visualRect(last).center();
            QTest::mouseClick(popupList->viewport(), Qt::LeftButton, {}, at);
            QTest::keyClick(popupList, Qt::Key_Down);
            QTest::keyClick(popupList, Qt::Key_Return);
        } else if (turns == 3) {
            other.release();
        }
    });
    room.click(QStringLiteral("Command2")); // 変更して記録, with the pupil as it stood
    QVERIFY(turns >= 3);
    QCOMPARE(chooser->currentText(), chosen);
    QCOMPARE(room.records(), room.written);
    chooser->hidePopup();
    QVERIFY(screenTrouble(room.host, room.state).isEmpty());
}

// Each step of the screen that waits, probed with everything a teacher could do.
void MaintenanceWaitsTest::everythingDuringEachWait_data() {
    QTest::addColumn<QString>("step");    // what the teacher starts
    QTest::addColumn<QString>("waitFor"); // busy: another copy; missing: the folder;
                                          // refused: the disk, once
    for (const char* step : {"list", "change", "delete"}) {
        for (const char* wait : {"busy", "missing"}) {
            if (QByteArray(step) == "list" && QByteArray(wait) == "busy") {
                continue; // reading takes no lock: another copy's append never holds it up
            }
            QTest::addRow("%s while %s", step, wait)
                << QString::fromLatin1(step) << QString::fromLatin1(wait);
        }
    }
    // A deletion retries a step the disk refused, under the lock, before it gives up.
    QTest::addRow("delete while a flush is refused")
        << QStringLiteral("delete") << QStringLiteral("refused");
}

void MaintenanceWaitsTest::everythingDuringEachWait() {
    QFETCH(QString, step);
    QFETCH(QString, waitFor);
    Room room;
    const QString path = resultsFilePath(room.state);
    const QString folder = room.inst.drillDataFolder();
    const QString away = room.inst.root() + QStringLiteral("/away");
    std::unique_ptr<HeldResultsFile> other;
    const auto beginWait = [&] {
        if (waitFor == QLatin1String("busy")) {
            other = std::make_unique<HeldResultsFile>(path);
            QVERIFY(other->holding());
        } else if (waitFor == QLatin1String("refused")) {
            room.env.fileFaults = [](FileStep step, int nth) {
                FileFault fault;
                if (step == FileStep::Flush && nth == 1) {
                    fault.errorNumber = EIO;
                }
                return fault;
            };
        } else {
            QVERIFY(QDir().rename(folder, away));
        }
    };
    const auto endWait = [&] {
        room.env.fileFaults = nullptr;
        if (other) {
            other->release();
        } else if (QDir(away).exists()) {
            QDir().rename(away, folder);
        }
    };

    if (step == QLatin1String("list")) {
        beginWait();
    }
    WaitProbe probe(room.host, room.state);
    probe.afterProbe = endWait;
    ClockPump pump(room.env, RetryRules::busyWaitMs);
    QPointer<RecordMaintenanceScreen> screen = room.open();
    room.env.answers.push_back(MessageAnswer::Ok);
    std::vector<ResultRecord> expected = room.written;
    if (step != QLatin1String("list")) {
        room.doubleClickLine(1);
        beginWait();
        if (step == QLatin1String("change")) {
            auto* seconds = room.find<QLineEdit>(QStringLiteral("Text1(1)"));
            seconds->setText(QStringLiteral("77"));
            expected[1].seconds = 77;
            room.click(QStringLiteral("Command2"));
        } else {
            expected.erase(expected.begin() + 1);
            room.click(QStringLiteral("Command3"));
        }
    }
    endWait();
    QVERIFY(probe.probes >= 1);
    QCOMPARE(probe.unguarded, 0);
    const QString trouble = screenTrouble(room.host, room.state);
    QVERIFY2(trouble.isEmpty(), qPrintable(trouble));
    // Nothing done during the waits acted: the same screen, and exactly the acknowledged
    // change in the file.
    QVERIFY(screen);
    QCOMPARE(room.host.current(), screen.data());
    QCOMPARE(room.records(), expected);
}

QTEST_MAIN(MaintenanceWaitsTest)
#include "test_maintenance_waits.moc"
