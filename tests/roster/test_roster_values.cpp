// What the roster reader says of values it cannot use as written: each broken variant is
// fed through the real reader and must be named (file, line, value) while the other
// lines are still listed with their right numbers.

#include "RosterTestFiles.h"
#include "roster/RosterFile.h"
#include "roster/RosterList.h"

#include <QtTest>

using namespace rostertest;

class RosterValuesTest : public QObject {
    Q_OBJECT

private slots:
    void brokenValuesAreNamed_data();
    void brokenValuesAreNamed();
    void theRulesThemselves();
};

void RosterValuesTest::brokenValuesAreNamed_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<int>>("listed");
    QTest::addColumn<QString>("kind");     // "skipped", "doubtful", "file" or "clean"
    QTest::addColumn<int>("line");         // the line the word names
    QTest::addColumn<QString>("fragment"); // what the word must hold

    const QByteArray one = cp932(rosterLine(1, 2012, "一"));
    const QByteArray three = cp932(rosterLine(3, 2014, "三"));
    auto between = [&](const QString& line) { return one + cp932(line) + three; };

    QTest::newRow("header line") << cp932("番号,生まれ年,予備1,予備2,名前,状態,メモ1,メモ2\r\n") +
                                        one + three
                                 << QList<int>{1, 3} << "skipped" << 1 << "番号「番号」";
    QTest::newRow("pupil number 0") << between(rosterLine(0, 2013, "零")) << QList<int>{1, 3}
                                    << "skipped" << 2 << "「0」が 1～5000";
    QTest::newRow("pupil number abc") << between("abc,2013,0,0,\"英字\",0,\"\",\"\"\r\n")
                                      << QList<int>{1, 3} << "skipped" << 2 << "「abc」";
    QTest::newRow("full-width pupil number") << between("４２,2013,0,0,\"全角\",0,\"\",\"\"\r\n")
                                             << QList<int>{1, 3} << "skipped" << 2 << "半角";
    QTest::newRow("pupil number 5001") << between(rosterLine(5001, 2013, "大")) << QList<int>{1, 3}
                                       << "skipped" << 2 << "「5001」";
    QTest::newRow("number used twice")
        << one + cp932(rosterLine(2, 2013, "二")) + cp932(rosterLine(1, 2014, "一の二"))
        << QList<int>{1, 2, 1} << "doubtful" << 3 << "番号 1 が 1 行目と 3 行目";
    QTest::newRow("birth year 0") << between(rosterLine(2, 0, "零年")) << QList<int>{1, 2, 3}
                                  << "doubtful" << 2 << "生まれ年 0 は";
    QTest::newRow("birth year 3000") << between(rosterLine(2, 3000, "未来")) << QList<int>{1, 2, 3}
                                     << "doubtful" << 2 << "生まれ年 3000 は";
    QTest::newRow("teacher's adult year")
        << between(rosterLine(4999, 1980, "先生")) << QList<int>{1, 4999, 3} << "clean" << 0 << "";
    QTest::newRow("youngest and oldest pupils")
        << between(rosterLine(2, 2023, "幼マイナス3")) + cp932(rosterLine(4, 2005, "大+3"))
        << QList<int>{1, 2, 3, 4} << "clean" << 0 << "";
    QTest::newRow("end-of-file mark")
        << one + three + QByteArray("\x1a") << QList<int>{1, 3} << "clean" << 0 << "";
    QTest::newRow("end-of-file mark before junk")
        << one + QByteArray("\x1a\x82\xff,,\r\n") << QList<int>{1} << "clean" << 0 << "";
    QTest::newRow("empty file") << QByteArray() << QList<int>{} << "file" << 0 << "が空です";
    QTest::newRow("blank lines only")
        << QByteArray("\r\n  \r\n\x1a") << QList<int>{} << "file" << 0 << "が空です";
    QTest::newRow("undecodable byte")
        << one + QByteArray("2,2013,0,0,\"\x82\",0,\"\",\"\"\r\n") + three << QList<int>{1, 3}
        << "skipped" << 2 << "13 バイト目";
}

void RosterValuesTest::brokenValuesAreNamed() {
    QFETCH(QByteArray, bytes);
    QFETCH(QList<int>, listed);
    QFETCH(QString, kind);
    QFETCH(int, line);
    QFETCH(QString, fragment);

    TestInstallation inst; // 9 December 2026, school year 2026
    inst.state.config.schoolYearStartMonth = 4;
    inst.writeBytes(rosterPath(inst), bytes);

    // The name list the pupils see: only the listed pupils, with their own numbers.
    const RosterList list = buildRosterList(inst.state, runsTodayAndTotal, "全学年");
    QList<int> shown;
    for (const QString& entry : list.numberList) {
        shown << pupilNoOfNumberEntry(entry);
    }
    std::sort(shown.begin(), shown.end());
    QList<int> expected = listed;
    std::sort(expected.begin(), expected.end());
    QCOMPARE(shown, expected);
    QVERIFY(!shown.contains(0));

    const RosterReport& report = list.report;
    const QString text = rosterReportText(report);
    if (kind == "clean") {
        QVERIFY2(report.clean(), qPrintable(text));
        return;
    }
    QVERIFY2(text.contains(rosterPath(inst)), qPrintable(text));
    QVERIFY2(text.contains(fragment), qPrintable(text));
    if (kind == "file") {
        QVERIFY(report.fileError.contains(fragment));
        return;
    }
    const std::vector<RosterProblem>& problems =
        kind == "skipped" ? report.skipped : report.doubtful;
    QCOMPARE(problems.size(), std::size_t(1));
    QCOMPARE(problems.front().line, line);
    QVERIFY2(problems.front().what.contains(fragment), qPrintable(problems.front().what));
    QVERIFY(text.contains(QStringLiteral("%1行目").arg(line)));
}

void RosterValuesTest::theRulesThemselves() {
    // The lenient reading stays: blanks, a trailing fraction or text after the digits.
    for (const char* text : {"1", " 42 ", "5000", "7.4", "12abc"}) {
        QVERIFY2(checkPupilNumber(QString::fromUtf8(text)).ok, text);
    }
    for (const char* text : {"", "0", "-3", "5001", "0.4", "x1", "１"}) {
        const ValueVerdict verdict = checkPupilNumber(QString::fromUtf8(text));
        QVERIFY2(!verdict.ok && verdict.message.contains(QString::fromUtf8(text)), text);
    }
    QVERIFY(checkBirthYear(2023, 2026, "幼").ok);  // grade index -3
    QVERIFY(!checkBirthYear(2024, 2026, "幼").ok); // -4
    QVERIFY(checkBirthYear(2005, 2026, "大").ok);  // 15
    QVERIFY(!checkBirthYear(2004, 2026, "大").ok); // 16
    QVERIFY(checkBirthYear(1960, 2026, "山田先生").ok);
}

QTEST_GUILESS_MAIN(RosterValuesTest)
#include "test_roster_values.moc"
