// The built program, run twice on one PC: the second copy is refused while the first
// runs, and a copy that was killed does not keep its successor out.
#include "makedemo/DemoInstallation.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <memory>
#include <vector>

namespace {

const QString refusalLine = QStringLiteral(
    "mirunea: [注意] このプログラムと同じプログラムがすでに起動され、完全に終了されていません。"
    "同じプログラムを完全に終了させてから実行してください。");

constexpr int generousMs = 60000;

// One running copy of the program and what it has written to its standard error.
struct Copy {
    QProcess process;
    QString errors;

    QString pid() const { return QString::number(process.processId()); }
    bool running() const { return process.state() == QProcess::Running; }
    void collect() { errors += QString::fromUtf8(process.readAllStandardError()); }

    // Every message box of the program is also a line on standard error.
    bool showedAMessage() {
        collect();
        return errors.contains(QStringLiteral("mirunea: ["));
    }

    // Waits for a whole line of standard error; false when the copy ends first or the
    // time runs out.
    bool waitForLine(const QString& text) {
        const QDeadlineTimer deadline(generousMs);
        for (;;) {
            collect();
            if (errors.split(QLatin1Char('\n')).contains(text)) {
                return true;
            }
            if (!running() || deadline.hasExpired()) {
                return false;
            }
            process.waitForReadyRead(
                static_cast<int>(std::min<qint64>(deadline.remainingTime(), 1000)));
        }
    }
};

// Copies of the program started on one demo installation, with a temporary folder of
// their own, so the single-instance lock is theirs alone. Every copy still running is
// killed when the test ends, however it ends.
struct Classroom {
    QTemporaryDir dir;
    DemoInstallation demo;
    QString tempFolder;
    QString program;
    std::vector<std::unique_ptr<Copy>> copies;
    bool ready = false;

    Classroom() {
        demo = demoInstallationAt(dir.path(), QDate::currentDate());
        QString error;
        if (!layOutDemoInstallation(demo, &error)) {
            qWarning("%s", qPrintable(error));
            return;
        }
        tempFolder = dir.filePath(QStringLiteral("tmp"));
        // The program finds its installation from the folder it lies in.
        program = demo.programFolder + QStringLiteral("mirunea");
        ready = QDir().mkpath(tempFolder) && QFile::copy(QStringLiteral(MIRUNEA_PATH), program) &&
                QFile::setPermissions(program, QFile::permissions(QStringLiteral(MIRUNEA_PATH)));
    }

    ~Classroom() {
        for (const auto& copy : copies) {
            if (copy->process.state() != QProcess::NotRunning) {
                copy->process.kill();
                copy->process.waitForFinished(generousMs);
            }
        }
    }

    Copy& start() {
        copies.push_back(std::make_unique<Copy>());
        QProcess& process = copies.back()->process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("TMPDIR"), tempFolder);
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(demo.programFolder);
        process.setProgram(program);
        process.setReadChannel(QProcess::StandardError);
        process.start();
        if (!process.waitForStarted(generousMs)) {
            qWarning("the program did not start: %s", qPrintable(process.errorString()));
        }
        return *copies.back();
    }

    // The process the lock file names, or an empty text while there is none.
    QString lockHolder() const {
        QFile file(QDir(tempFolder).filePath(QStringLiteral("mirunea.lock")));
        if (!file.open(QIODevice::ReadOnly)) {
            return {};
        }
        return QString::fromUtf8(file.readLine()).trimmed();
    }

    // Waits until the lock file names the copy; false when the copy ends or shows a
    // message first, or the time runs out.
    bool waitUntilHolding(Copy& copy) const {
        const QDeadlineTimer deadline(generousMs);
        while (lockHolder() != copy.pid()) {
            if (!copy.running() || copy.showedAMessage() || deadline.hasExpired()) {
                return false;
            }
            // Wakes on the copy's output, or looks at the lock again a little later.
            copy.process.waitForReadyRead(50);
        }
        return true;
    }
};

} // namespace

class TwoCopiesTest : public QObject {
    Q_OBJECT

private slots:
    void secondCopyIsRefusedAndAKilledCopyLeavesNoStuckLock();
};

void TwoCopiesTest::secondCopyIsRefusedAndAKilledCopyLeavesNoStuckLock() {
    Classroom room;
    QVERIFY(room.ready);

    Copy& first = room.start();
    QVERIFY2(room.waitUntilHolding(first), qPrintable(first.errors));
    const QString firstPid = first.pid();

    // The second copy says why it will not run; its message box then waits for the
    // pupil, so it is ended here.
    Copy& second = room.start();
    QVERIFY2(second.waitForLine(refusalLine), qPrintable(second.errors));
    second.process.kill();
    QVERIFY(second.process.waitForFinished(generousMs));
    QVERIFY(first.running());
    QCOMPARE(room.lockHolder(), firstPid);
    QVERIFY2(!first.showedAMessage(), qPrintable(first.errors));

    // The first copy dies without tidying up: its lock file stays behind, naming it.
    first.process.kill();
    QVERIFY(first.process.waitForFinished(generousMs));
    QCOMPARE(first.process.exitStatus(), QProcess::CrashExit);
    QCOMPARE(room.lockHolder(), firstPid);

    // The next copy takes the lock over and runs.
    Copy& third = room.start();
    QVERIFY2(room.waitUntilHolding(third), qPrintable(third.errors));
    QVERIFY(third.pid() != firstPid);
    QVERIFY(third.running());
}

QTEST_MAIN(TwoCopiesTest)
#include "test_two_copies.moc"
