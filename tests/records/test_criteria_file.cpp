// The criteria file: reading the sample, the bad files that stop the start-up, and the
// atomic save that writes the exact layout back.

#include "records/CriteriaFile.h"
#include "support/TestInstallation.h"
#include "text/Cp932.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <unistd.h>

namespace {

QString criteriaPath(const TestInstallation& inst) {
    return inst.drillDataFolder() + QStringLiteral("タイム回数データ.txt");
}

QByteArray cp932(const QString& text) {
    return encodeCp932(text).value_or(QByteArray());
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString levelLine(int target) {
    return QStringLiteral("%1,%2,100,5,1,0,0,7,1,,,\r\n").arg(target).arg(target + 10);
}

} // namespace

class CriteriaFileTest : public QObject {
    Q_OBJECT

private slots:
    void readsTheSampleFile();
    void headerOnlyKeepsThePreviousValues();
    void missingOrShortFilesStopTheStart_data();
    void missingOrShortFilesStopTheStart();
    void readsOnlyTheFirst35Levels();
    void wholeNumberFieldsAreRoundedAndBounded();
    void savesTheExactLayoutAndReloads();
    void saveReplacesTheFileAsAWhole();
    void saveRefusesWhatCannotBeReadBack();
};

void CriteriaFileTest::readsTheSampleFile() {
    TestInstallation inst;
    inst.copyFixture(QStringLiteral("criteria-cp932.txt"), criteriaPath(inst));
    QVERIFY(loadCriteria(inst.state));
    const CriteriaTable& t = inst.state.criteria;
    QCOMPARE(t[1].targetSeconds, 60);
    QCOMPARE(t[1].minimumSeconds, 90);
    QCOMPARE(t[1].clearPoints, 100);
    QCOMPARE(t[1].clearCount, 5);
    QCOMPARE(t[1].pointFactor, 1.5f);
    QCOMPARE(t[1].overuseRuns, 20.0);
    QCOMPARE(t[1].overusePoints, 0.0);
    QCOMPARE(t[1].judgeDays, 7.0);
    QCOMPARE(t[1].overuseDays, 1.0);
    QCOMPARE(t[1].spare1, 0.0);
    QCOMPARE(t[2].clearPoints, 9999);
    QCOMPARE(t[2].overuseRuns, 0.0); // empty fields are 0
    QCOMPARE(t[2].overusePoints, 0.0);
    QCOMPARE(t[2].judgeDays, 14.0);
    QCOMPARE(t[3].targetSeconds, 30); // " 30 " padded with blanks
    QCOMPARE(t[3].pointFactor, 1.3f); // the 32-bit value, a little below 1.3
    QVERIFY(double(t[3].pointFactor) < 1.3);
    QCOMPARE(t[3].overusePoints, 500.0);
    QCOMPARE(t[3].spare1, 1.0);
    QCOMPARE(t[3].spare2, 2.0);
    QCOMPARE(t[3].spare3, 3.0);
    QCOMPARE(t[4].targetSeconds, 0); // beyond the file: untouched
    QCOMPARE(inst.env.messages.size(), std::size_t{0});
}

void CriteriaFileTest::headerOnlyKeepsThePreviousValues() {
    TestInstallation inst;
    inst.state.criteria[1].targetSeconds = 77;
    inst.state.criteria[2].pointFactor = 2.5f;
    inst.writeBytes(criteriaPath(inst), cp932(criteriaHeaderLine() + QStringLiteral("\r\n")));
    QVERIFY(loadCriteria(inst.state));
    QCOMPARE(inst.state.criteria[1].targetSeconds, 77);
    QCOMPARE(inst.state.criteria[2].pointFactor, 2.5f);

    // One level line replaces slot 1 only.
    inst.writeBytes(criteriaPath(inst),
                    cp932(criteriaHeaderLine() + QStringLiteral("\r\n") + levelLine(40)));
    QVERIFY(loadCriteria(inst.state));
    QCOMPARE(inst.state.criteria[1].targetSeconds, 40);
    QCOMPARE(inst.state.criteria[2].pointFactor, 2.5f);
}

void CriteriaFileTest::missingOrShortFilesStopTheStart_data() {
    QTest::addColumn<bool>("present");
    QTest::addColumn<QByteArray>("content");
    const QString header = criteriaHeaderLine() + QStringLiteral("\r\n");
    QTest::newRow("missing") << false << QByteArray();
    QTest::newRow("ends inside the header")
        << true << cp932(QStringLiteral("目標Time,最低Time\r\n"));
    QTest::newRow("ends inside a level line")
        << true << cp932(header + levelLine(60) + QStringLiteral("45,70,9999,3,1\r\n"));
    QTest::newRow("a value too big for its field")
        << true << cp932(header + QStringLiteral("60,90,100,40000,1,0,0,7,1,,,\r\n"));
    QTest::newRow("a factor too big for 32 bits")
        << true
        << cp932(header + QStringLiteral("60,90,100,4,1") + QString(60, QLatin1Char('0')) +
                 QStringLiteral(",0,0,7,1,,,\r\n"));
    QTest::newRow("not CP932") << true << (cp932(header) + QByteArray("60,\x81\x20,\r\n"));
}

void CriteriaFileTest::missingOrShortFilesStopTheStart() {
    QFETCH(bool, present);
    QFETCH(QByteArray, content);
    TestInstallation inst;
    if (present) {
        inst.writeBytes(criteriaPath(inst), content);
    }
    inst.state.criteria[1].targetSeconds = 11;
    QVERIFY(!loadCriteria(inst.state));
    QCOMPARE(inst.env.endedWith, 1);
    QCOMPARE(inst.env.messages.size(), std::size_t{1});
    QVERIFY2(inst.env.messages[0].text.contains(QStringLiteral("タイム回数データ.txt")),
             qPrintable(inst.env.messages[0].text));
    QCOMPARE(inst.state.criteria[1].targetSeconds, 11); // nothing half-read
}

void CriteriaFileTest::readsOnlyTheFirst35Levels() {
    TestInstallation inst;
    QString text = criteriaHeaderLine() + QStringLiteral("\r\n");
    for (int level = 1; level <= 37; ++level) {
        text += levelLine(level);
    }
    inst.writeBytes(criteriaPath(inst), cp932(text));
    QVERIFY(loadCriteria(inst.state));
    QCOMPARE(inst.env.endedWith, -1); // the program goes on ...
    QCOMPARE(inst.state.criteria[35].targetSeconds, 35);
    QCOMPARE(inst.state.criteria[1].targetSeconds, 1);
    QCOMPARE(inst.env.messages.size(), std::size_t{1}); // ... after saying so
    QVERIFY(inst.env.messages[0].text.contains(criteriaPath(inst)));
    QVERIFY(inst.env.messages[0].text.contains(QStringLiteral("35")));

    const CriteriaParse parse = parseCriteria(text, CriteriaTable{});
    QVERIFY(parse.ok);
    QVERIFY(parse.extraLines);
    QCOMPARE(parse.levels, 35);
}

void CriteriaFileTest::wholeNumberFieldsAreRoundedAndBounded() {
    const QString header = criteriaHeaderLine() + QStringLiteral("\r\n");
    CriteriaParse parse = parseCriteria(
        header + QStringLiteral("44.5,45.5,-3,32767,\"2\",x,1-2, 7 ,1.25,,,\r\n"), CriteriaTable{});
    QVERIFY2(parse.ok, qPrintable(parse.error));
    QCOMPARE(parse.table[1].targetSeconds, 44); // halves go to the even neighbour
    QCOMPARE(parse.table[1].minimumSeconds, 46);
    QCOMPARE(parse.table[1].clearPoints, -3);
    QCOMPARE(parse.table[1].clearCount, 32767);  // the largest 16-bit count
    QCOMPARE(parse.table[1].pointFactor, 2.0f);  // quoted field without its quotes
    QCOMPARE(parse.table[1].overuseRuns, 0.0);   // no digits
    QCOMPARE(parse.table[1].overusePoints, 1.0); // reading stops at "-"
    QCOMPARE(parse.table[1].judgeDays, 7.0);
    QCOMPARE(parse.table[1].overuseDays, 1.25);
    parse =
        parseCriteria(header + QStringLiteral("60,90,100,32768,1,0,0,7,1,,,\r\n"), CriteriaTable{});
    QVERIFY(!parse.ok);
    QVERIFY(parse.error.contains(QStringLiteral("ｸﾘｱ回数")));
    QVERIFY(parse.error.contains(QStringLiteral("2 行目")));
}

void CriteriaFileTest::savesTheExactLayoutAndReloads() {
    TestInstallation inst;
    inst.copyFixture(QStringLiteral("criteria-cp932.txt"), criteriaPath(inst));
    QVERIFY(loadCriteria(inst.state));
    const std::vector<QStringList> rows = {
        QStringLiteral("60,90,100,5,1.5,20,0,7,1,,,").split(QLatin1Char(',')),
        QStringLiteral("45,70,9999,3,1,,,14,0,,,").split(QLatin1Char(',')),
        QStringLiteral("25,40,120,10,1.3,0,500,30,7,1,2,3").split(QLatin1Char(',')),
    };
    QVERIFY(saveCriteria(inst.state, rows));
    const QByteArray expected = cp932(
        QStringLiteral("目標Time,最低Time,ｸﾘｱﾎﾟｲﾝﾄ,ｸﾘｱ回数,ﾎﾟｲﾝﾄ倍率,禁回,禁点,判期間,禁期間,,,"
                       "\r\n60,90,100,5,1.5,20,0,7,1,,,\r\n45,70,9999,3,1,,,14,0,,,\r\n"
                       "25,40,120,10,1.3,0,500,30,7,1,2,3\r\n"));
    QCOMPARE(readAll(criteriaPath(inst)), expected);
    // The running program uses the saved values at once.
    QCOMPARE(inst.state.criteria[3].targetSeconds, 25);
    QCOMPARE(inst.state.criteria[3].pointFactor, 1.3f);
    QCOMPARE(inst.env.messages.size(), std::size_t{0});
    // Saved again from what was read, the file is the same.
    QVERIFY(saveCriteria(inst.state, rows));
    QCOMPARE(readAll(criteriaPath(inst)), expected);
}

void CriteriaFileTest::saveReplacesTheFileAsAWhole() {
    TestInstallation inst;
    inst.copyFixture(QStringLiteral("criteria-cp932.txt"), criteriaPath(inst));
    const QByteArray old = readAll(criteriaPath(inst));
    // A second name of the old file: a file rewritten in place would change under it too.
    const QString keep = inst.root() + QStringLiteral("/old-criteria.txt");
    QVERIFY(::link(QFile::encodeName(criteriaPath(inst)).constData(),
                   QFile::encodeName(keep).constData()) == 0);
    QVERIFY(saveCriteria(inst.state, {QStringLiteral("50,60,70,2,1,0,0,7,7,,,").split(',')}));
    QCOMPARE(readAll(keep), old);
    QVERIFY(readAll(criteriaPath(inst)) != old);
    // Nothing is left beside it.
    QCOMPARE(QDir(inst.drillDataFolder()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("タイム回数データ.txt")});
}

void CriteriaFileTest::saveRefusesWhatCannotBeReadBack() {
    struct Case {
        const char* why;
        std::vector<QStringList> rows;
    };
    const QStringList good = QStringLiteral("50,60,70,2,1,0,0,7,7,,,").split(',');
    QStringList comma = good;
    comma[1] = QStringLiteral("6,0");
    QStringList quote = good;
    quote[2] = QStringLiteral("\"7\"");
    QStringList lineBreak = good;
    lineBreak[11] = QStringLiteral("1\r\n2");
    QStringList notCp932 = good;
    notCp932[0] = QStringLiteral("😀");
    const std::vector<Case> cases = {
        {"comma", {good, comma}},
        {"quote", {quote}},
        {"line break", {lineBreak}},
        {"eleven cells", {good.mid(0, 11)}},
        {"36 levels", std::vector<QStringList>(36, good)},
        {"not CP932", {notCp932}},
    };
    for (const Case& c : cases) {
        TestInstallation inst;
        inst.copyFixture(QStringLiteral("criteria-cp932.txt"), criteriaPath(inst));
        const QByteArray old = readAll(criteriaPath(inst));
        QVERIFY2(!saveCriteria(inst.state, c.rows), c.why);
        QCOMPARE(readAll(criteriaPath(inst)), old);
        QCOMPARE(inst.env.messages.size(), std::size_t{1});
        QVERIFY(inst.env.messages[0].text.contains(QStringLiteral("タイム回数データ.txt")));
        QCOMPARE(inst.env.endedWith, -1); // the teacher can correct it and save again
    }
}

QTEST_GUILESS_MAIN(CriteriaFileTest)
#include "test_criteria_file.moc"
