// Reading the roster file: the sample file, listing rules, the per-pupil and per-line
// tables, and what a broken file gives.

#include "RosterTestFiles.h"
#include "roster/RosterFile.h"

#include <QFile>
#include <QtTest>

using namespace rostertest;

namespace {

// Reads the roster; the pupil numbers of the listed lines, as handed on.
QList<int> load(AppState& state, RosterReport* report = nullptr, QStringList* labels = nullptr) {
    QList<int> pupils;
    const RosterReport r = loadRoster(state, [&](const ListedPupil& p) {
        pupils << p.entry.pupilNo;
        if (labels) {
            *labels << p.shortLabel;
        }
    });
    if (report) {
        *report = r;
    }
    // The per-line tables say the same.
    QList<int> lines;
    for (int k = 1; k <= state.pupil.rosterLineCount; ++k) {
        lines << state.pupil.rosterLinePupil[static_cast<std::size_t>(k)];
    }
    return lines == pupils ? pupils : QList<int>{-1};
}

QString padded(const QString& text) {
    return text + QString(20 - text.size(), QLatin1Char(' '));
}

} // namespace

class RosterFileTest : public QObject {
    Q_OBJECT

private slots:
    void readsTheSampleFile();
    void statusTwoFollowsTheFlag();
    void groupsAndTheFirstOfApril();
    void missingFileGivesAnEmptyList();
    void malformedLinesAreSkipped();
    void undecodableLineIsSkipped();
    void moreThan5000LinesStops();
};

void RosterFileTest::readsTheSampleFile() {
    TestInstallation inst;
    inst.copyFixture(QStringLiteral("roster-cp932.txt"), rosterPath(inst));
    RosterReport report;
    const QList<int> listed = load(inst.state, &report);
    QVERIFY2(report.clean(), qPrintable(rosterReportText(report)));

    // Each line: pupilNo|birthYear|reservedNo1|reservedNo2|name|status|text1|text2
    QFile expectedFile(TestInstallation::fixturePath(QStringLiteral("roster-cp932.expected.txt")));
    QVERIFY(expectedFile.open(QIODevice::ReadOnly));
    QList<int> expectedListed;
    for (const QString& line : QString::fromUtf8(expectedFile.readAll()).split('\n').mid(1)) {
        if (line.trimmed().isEmpty()) {
            continue;
        }
        const QStringList f = line.split(QLatin1Char('|'));
        const int no = f[0].toInt();
        QCOMPARE(inst.state.pupil.rosterNames[no], padded(f[4]));
        QCOMPARE(int(inst.state.pupil.rosterBirthYears[no]), f[1].toInt());
        if (f[5].toInt() == 0) {
            expectedListed << no;
            const RosterEntry& e = inst.state.pupil.rosterEntries[expectedListed.size()];
            QCOMPARE(QList<int>({e.pupilNo, e.birthYear, e.reservedNo1, e.reservedNo2}),
                     QList<int>({no, f[1].toInt(), f[2].toInt(), f[3].toInt()}));
            QCOMPARE(QStringList({e.name, e.reservedText1, e.reservedText2}),
                     QStringList({padded(f[4]), padded(f[6]), padded(f[7])}));
        }
    }
    QCOMPARE(listed, expectedListed);
    QCOMPARE(listed.size(), 5);
}

void RosterFileTest::statusTwoFollowsTheFlag() {
    TestInstallation inst;
    writeRoster(inst, rosterLine(1, 2012, "一") + rosterLine(2, 2012, "二", 2) +
                          rosterLine(3, 2012, "三", 1) + rosterLine(4, 2012, "四", 3) +
                          rosterLine(5, 2012, "五"));
    inst.state.config.showStatus2Pupils = 0;
    QCOMPARE(load(inst.state), (QList<int>{1, 5}));
    // Lines that are not listed still give their pupil's name and year.
    QCOMPARE(inst.state.pupil.rosterNames[4].trimmed(), QStringLiteral("四"));
    QCOMPARE(int(inst.state.pupil.rosterBirthYears[2]), 2012);
    inst.state.config.showStatus2Pupils = 1;
    QCOMPARE(load(inst.state), (QList<int>{1, 2, 5}));
    QCOMPARE(inst.state.pupil.rosterEntries[2].name.trimmed(), QStringLiteral("二"));
}

void RosterFileTest::groupsAndTheFirstOfApril() {
    TestInstallation inst; // 9 December 2026: school year 2026
    inst.state.config.schoolYearStartMonth = 4;
    writeRoster(inst, rosterLine(1, 2020, "幼三") + rosterLine(2, 2021, "幼二") +
                          rosterLine(3, 2014, "小六") + rosterLine(4, 2010, "高一") +
                          rosterLine(5, 2009, "高二") + rosterLine(6, 2019, "小一", 1));
    for (int no = 1; no <= 6; ++no) {
        inst.state.pupil.rosterGroups[no] = QStringLiteral("前");
    }
    QStringList labels;
    load(inst.state, nullptr, &labels);
    QCOMPARE(labels, (QStringList{"幼3", "幼2", "小6", "高1", "高2"}));
    QCOMPARE(QStringList(inst.state.pupil.rosterGroups.begin() + 1,
                         inst.state.pupil.rosterGroups.begin() + 7),
             (QStringList{"幼３", "前", "小６", "高１", "前", "小１"}));

    // The 2011 cohort moves up on 1 April.
    writeRoster(inst, rosterLine(1, 2011, "進級"));
    inst.env.setNow(QDateTime(QDate(2024, 3, 31), QTime(18, 0)));
    labels.clear();
    load(inst.state, nullptr, &labels);
    QCOMPARE(labels, QStringList{"小6"});
    QCOMPARE(inst.state.pupil.rosterGroups[1], QStringLiteral("小６"));
    inst.env.setNow(QDateTime(QDate(2024, 4, 1), QTime(8, 0)));
    labels.clear();
    load(inst.state, nullptr, &labels);
    QCOMPARE(labels, QStringList{"中1"});
    QCOMPARE(inst.state.pupil.rosterGroups[1], QStringLiteral("中１"));
}

void RosterFileTest::missingFileGivesAnEmptyList() {
    TestInstallation inst;
    writeRoster(inst, rosterLine(1, 2012, "一") + rosterLine(2, 2012, "二"));
    QCOMPARE(load(inst.state).size(), 2);
    QVERIFY(QFile::remove(rosterPath(inst)));

    RosterReport report;
    QCOMPARE(load(inst.state, &report), QList<int>{});
    QVERIFY(report.fileError.contains(rosterPath(inst)));
    QVERIFY(rosterReportText(report).contains(rosterPath(inst)));
    QVERIFY(inst.state.pupil.rosterEntries[1].name.isEmpty());
    // The per-pupil tables keep the last names they had.
    QCOMPARE(inst.state.pupil.rosterNames[2].trimmed(), QStringLiteral("二"));
}

void RosterFileTest::malformedLinesAreSkipped() {
    TestInstallation inst;
    const QString longName = QStringLiteral("寿限無寿限無五劫の擦り切れ海砂利水魚の水行末雲来末");
    writeRoster(inst, rosterLine(1, 2012, longName) +                        // 1
                          QStringLiteral("2,2013,0,0,\"短い\",0,\"\"\r\n") + // 2: seven values
                          rosterLine(3, 70000, "大きい") +                   // 3: 16 bits
                          rosterLine(5001, 2013, "範囲外") +                 // 4: pupil number
                          rosterLine(-1, 2013, "負") +                       // 5: pupil number
                          QStringLiteral("7,2013,0,0,山田,太郎,0,\"\",\"\"\r\n") +  // 6: nine
                          QStringLiteral("8,2013,0,0,\"末尾\",0,\"\",\"\",\r\n") +  // 7: trailing ,
                          QStringLiteral("9,2013,0,0,\"九\",40000,\"\",\"\"\r\n") + // 8: status
                          QStringLiteral("11,2013,-32768,32767,\"端\",0,\"\",\"\"\r\n")); // 9
    RosterReport report;
    QCOMPARE(load(inst.state, &report), (QList<int>{1, 8, 11}));
    QList<int> skipped;
    for (const RosterProblem& p : report.skipped) {
        skipped << p.line;
    }
    QCOMPARE(skipped, (QList<int>{2, 3, 4, 5, 6, 8}));
    QCOMPARE(int(inst.state.pupil.rosterEntries[3].reservedNo1), -32768);
    QCOMPARE(inst.state.pupil.rosterNames[1], longName.left(20)); // 25 characters cut to 20

    const QString text = rosterReportText(report);
    QVERIFY(text.contains(rosterPath(inst)));
    for (int line : skipped) {
        QVERIFY2(text.contains(QStringLiteral("%1行目").arg(line)), qPrintable(text));
    }
    // Nothing of a skipped line reached a table.
    for (const QString& name : inst.state.pupil.rosterNames) {
        QVERIFY(!name.contains(QStringLiteral("範囲外")) && !name.contains(QStringLiteral("山田")));
    }
}

void RosterFileTest::undecodableLineIsSkipped() {
    TestInstallation inst;
    QByteArray bytes = cp932(rosterLine(1, 2012, "一"));
    bytes += QByteArray("2,2012,0,0,\"\x81\",0,\"\",\"\"\r\n"); // a lead byte without its trail
    bytes += cp932(rosterLine(3, 2012, "三"));
    inst.writeBytes(rosterPath(inst), bytes);
    RosterReport report;
    QCOMPARE(load(inst.state, &report), (QList<int>{1, 3}));
    QCOMPARE(report.skipped.size(), std::size_t(1));
    QCOMPARE(report.skipped.front().line, 2);
}

void RosterFileTest::moreThan5000LinesStops() {
    TestInstallation inst;
    QString text;
    for (int line = 1; line <= 5003; ++line) {
        if (line == 3) {
            text += rosterLine(3, 2012, "退会", 1); // not listed: takes no position
        } else {
            text += rosterLine((line - 1) % 5000 + 1, 2012, QStringLiteral("生徒%1").arg(line));
        }
    }
    writeRoster(inst, text);
    RosterReport report;
    const QList<int> listed = load(inst.state, &report);
    QCOMPARE(listed.size(), 5000);
    QCOMPARE(listed.last(), 1); // file line 5001, pupil 1 again
    QCOMPARE(report.stoppedAtLine, 5002);
    QCOMPARE(inst.state.pupil.rosterNames[2].trimmed(), QStringLiteral("生徒2")); // 5002 unread
    const QString message = rosterReportText(report);
    QVERIFY(message.contains(rosterPath(inst)) && message.contains(QStringLiteral("5002行目")));

    // 5000 listed lines and an unlisted one after them fit; the unlisted line's number is
    // still one a listed line holds, and that is told.
    text.clear();
    for (int line = 1; line <= 5000; ++line) {
        text += rosterLine(line, 2012, QStringLiteral("生徒%1").arg(line));
    }
    writeRoster(inst, text + rosterLine(4000, 2012, "休会", 1));
    QCOMPARE(load(inst.state, &report).size(), 5000);
    QVERIFY(report.skipped.empty() && report.stoppedAtLine == 0);
    QCOMPARE(report.doubtful.size(), std::size_t(1));
    QCOMPARE(report.doubtful.front().line, 5001);
    QCOMPARE(inst.state.pupil.rosterNames[4000].trimmed(), QStringLiteral("休会"));
}

QTEST_GUILESS_MAIN(RosterFileTest)
#include "test_roster_file.moc"
