// Reading the roster file: the sample file, listing rules, the per-pupil and per-line
// tables, and what a broken file gives.

#include "RosterTestFiles.h"
#include "roster/RosterFile.h"

#include <QFile>
#include <QtTest>

using namespace rostertest;

namespace {

// The listed lines as loadRoster hands them on.
struct Listing {
    QList<int> pupils;
    QStringList labels;
    QList<int> grades;
    QList<int> stages;
};

RosterReport load(AppState& state, Listing* listing = nullptr) {
    return loadRoster(state, [&](const ListedPupil& p) {
        if (listing) {
            listing->pupils << p.entry.pupilNo;
            listing->labels << p.shortLabel;
            listing->grades << p.gradeIndex;
            listing->stages << p.stage;
        }
    });
}

QList<int> linePupils(const CurrentPupil& pupil) {
    QList<int> pupils;
    for (int k = 1; k <= pupil.rosterLineCount; ++k) {
        pupils << pupil.rosterLinePupil[static_cast<std::size_t>(k)];
    }
    return pupils;
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
    void groupsAreSetForGradesZeroToTen();
    void gradeTurnsOnFirstApril();
    void textsAreCutAndPadded();
    void blankLinesAndMissingLastLineEnd();
    void missingFileGivesAnEmptyList();
    void malformedLinesAreSkipped();
    void undecodableLineIsSkipped();
    void moreThan5000LinesStops();
    void unlistedLinesDoNotTakeAPosition();
};

void RosterFileTest::readsTheSampleFile() {
    TestInstallation inst;
    inst.copyFixture(QStringLiteral("roster-cp932.txt"), rosterPath(inst));
    inst.state.config.schoolYearStartMonth = 4;

    Listing listing;
    const RosterReport report = load(inst.state, &listing);
    QVERIFY2(report.clean(), qPrintable(rosterReportText(report)));

    // Each expected line: pupilNo|birthYear|reservedNo1|reservedNo2|name|status|text1|text2
    QFile expectedFile(TestInstallation::fixturePath(QStringLiteral("roster-cp932.expected.txt")));
    QVERIFY(expectedFile.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(expectedFile.readAll()).split(QLatin1Char('\n'));
    QList<int> listed;
    int rows = 0;
    for (const QString& line : lines.mid(1)) {
        if (line.trimmed().isEmpty()) {
            continue;
        }
        const QStringList f = line.split(QLatin1Char('|'));
        QCOMPARE(f.size(), 8);
        const int no = f[0].toInt();
        ++rows;
        QCOMPARE(inst.state.pupil.rosterNames[no], padded(f[4]));
        QCOMPARE(int(inst.state.pupil.rosterBirthYears[no]), f[1].toInt());
        if (f[5].toInt() == 0) {
            listed << no;
            const RosterEntry& e = inst.state.pupil.rosterEntries[listed.size()];
            QCOMPARE(int(e.pupilNo), no);
            QCOMPARE(int(e.birthYear), f[1].toInt());
            QCOMPARE(int(e.reservedNo1), f[2].toInt());
            QCOMPARE(int(e.reservedNo2), f[3].toInt());
            QCOMPARE(e.name, padded(f[4]));
            QCOMPARE(e.reservedText1, padded(f[6]));
            QCOMPARE(e.reservedText2, padded(f[7]));
        }
    }
    QCOMPARE(rows, 7);
    QCOMPARE(listing.pupils, listed);
    QCOMPARE(linePupils(inst.state.pupil), listed);
    QCOMPARE(inst.state.pupil.rosterLineCount, listed.size());
    // The teacher's line is named exactly "先生" once trimmed.
    QCOMPARE(inst.state.pupil.rosterNames[4999].trimmed(), QStringLiteral("先生"));
}

void RosterFileTest::statusTwoFollowsTheFlag() {
    TestInstallation inst;
    writeRoster(inst, rosterLine(1, 2012, "一") + rosterLine(2, 2012, "二", 2) +
                          rosterLine(3, 2012, "三", 1) + rosterLine(4, 2012, "四", 3) +
                          rosterLine(5, 2012, "五", 2) + rosterLine(6, 2012, "六"));
    inst.state.config.showStatus2Pupils = 0;
    load(inst.state);
    QCOMPARE(linePupils(inst.state.pupil), (QList<int>{1, 6}));
    // Lines that are not listed still give their pupil's name and year.
    for (int no : {2, 3, 4, 5}) {
        QVERIFY(!inst.state.pupil.rosterNames[no].trimmed().isEmpty());
        QCOMPARE(int(inst.state.pupil.rosterBirthYears[no]), 2012);
    }

    inst.state.config.showStatus2Pupils = 1;
    load(inst.state);
    QCOMPARE(linePupils(inst.state.pupil), (QList<int>{1, 2, 5, 6}));
    QCOMPARE(inst.state.pupil.rosterEntries[2].name.trimmed(), QStringLiteral("二"));

    inst.state.config.showStatus2Pupils = 2; // only 1 lets them show
    load(inst.state);
    QCOMPARE(linePupils(inst.state.pupil), (QList<int>{1, 6}));
}

void RosterFileTest::groupsAreSetForGradesZeroToTen() {
    TestInstallation inst; // 9 December 2026: school year 2026
    inst.state.config.schoolYearStartMonth = 4;
    writeRoster(inst, rosterLine(1, 2020, "幼三") + rosterLine(2, 2021, "幼二") +
                          rosterLine(3, 2014, "小六") + rosterLine(4, 2011, "中三") +
                          rosterLine(5, 2010, "高一") + rosterLine(6, 2009, "高二") +
                          rosterLine(7, 2005, "大") + rosterLine(8, 2019, "小一", 1));
    for (int no = 1; no <= 8; ++no) {
        inst.state.pupil.rosterGroups[no] = QStringLiteral("前");
    }
    Listing listing;
    load(inst.state, &listing);
    const auto& groups = inst.state.pupil.rosterGroups;
    QCOMPARE(groups[1], QStringLiteral("幼３"));
    QCOMPARE(groups[2], QStringLiteral("前")); // index -1 has no full-width label
    QCOMPARE(groups[3], QStringLiteral("小６"));
    QCOMPARE(groups[4], QStringLiteral("中３"));
    QCOMPARE(groups[5], QStringLiteral("高１"));
    QCOMPARE(groups[6], QStringLiteral("前")); // 高2 keeps what it had
    QCOMPARE(groups[7], QStringLiteral("前"));
    QCOMPARE(groups[8], QStringLiteral("小１")); // unlisted lines still get theirs
    QCOMPARE(listing.labels, (QStringList{"幼3", "幼2", "小6", "中3", "高1", "高2", "大+"}));
    QCOMPARE(listing.grades, (QList<int>{0, -1, 6, 9, 10, 11, 15}));
    QCOMPARE(listing.stages, (QList<int>{-6, -7, 6, 3, 1, 2, 6}));
}

void RosterFileTest::gradeTurnsOnFirstApril() {
    TestInstallation inst;
    inst.state.config.schoolYearStartMonth = 4;
    writeRoster(inst, rosterLine(1, 2011, "進級"));
    inst.env.setNow(QDateTime(QDate(2024, 3, 31), QTime(18, 0)));
    Listing before;
    load(inst.state, &before);
    QCOMPARE(inst.state.pupil.schoolYear, 2023);
    QCOMPARE(before.labels, QStringList{"小6"});
    QCOMPARE(inst.state.pupil.rosterGroups[1], QStringLiteral("小６"));

    inst.env.setNow(QDateTime(QDate(2024, 4, 1), QTime(8, 0)));
    Listing after;
    load(inst.state, &after);
    QCOMPARE(inst.state.pupil.schoolYear, 2024);
    QCOMPARE(after.labels, QStringList{"中1"});
    QCOMPARE(inst.state.pupil.rosterGroups[1], QStringLiteral("中１"));
}

void RosterFileTest::textsAreCutAndPadded() {
    TestInstallation inst;
    const QString longName = QStringLiteral("寿限無寿限無五劫の擦り切れ海砂利水魚の水行末雲来末");
    QCOMPARE(longName.size(), 25);
    writeRoster(inst, QStringLiteral("7,2012,1,2,\"%1\",0,\"%2\",x\r\n").arg(longName, longName));
    QVERIFY(load(inst.state).clean());
    const RosterEntry& e = inst.state.pupil.rosterEntries[1];
    QCOMPARE(e.name, longName.left(20));
    QCOMPARE(e.reservedText1, longName.left(20));
    QCOMPARE(e.reservedText2, padded("x"));
    QCOMPARE(inst.state.pupil.rosterNames[7], longName.left(20));
}

void RosterFileTest::blankLinesAndMissingLastLineEnd() {
    TestInstallation inst;
    writeRoster(inst, QStringLiteral("\r\n") + rosterLine(1, 2012, "一") +
                          QStringLiteral("\r\n  \r\n") +
                          QStringLiteral("2,2012,0,0,\"二\",0,\"\",\"\""));
    const RosterReport report = load(inst.state);
    QVERIFY2(report.clean(), qPrintable(rosterReportText(report)));
    QCOMPARE(linePupils(inst.state.pupil), (QList<int>{1, 2}));
}

void RosterFileTest::missingFileGivesAnEmptyList() {
    TestInstallation inst;
    writeRoster(inst, rosterLine(1, 2012, "一") + rosterLine(2, 2012, "二"));
    load(inst.state);
    QCOMPARE(inst.state.pupil.rosterLineCount, 2);
    QVERIFY(QFile::remove(rosterPath(inst)));

    Listing listing;
    const RosterReport report = load(inst.state, &listing);
    QVERIFY(!report.clean());
    QVERIFY(report.fileError.contains(rosterPath(inst)));
    QVERIFY(rosterReportText(report).contains(rosterPath(inst)));
    QVERIFY(listing.pupils.isEmpty());
    QCOMPARE(inst.state.pupil.rosterLineCount, 0);
    QCOMPARE(int(inst.state.pupil.rosterEntries[1].pupilNo), 0);
    QVERIFY(inst.state.pupil.rosterEntries[1].name.isEmpty());
    QCOMPARE(inst.state.pupil.rosterLinePupil[2], 0);
    // The per-pupil tables keep the last names they had.
    QCOMPARE(inst.state.pupil.rosterNames[2].trimmed(), QStringLiteral("二"));
}

void RosterFileTest::malformedLinesAreSkipped() {
    TestInstallation inst;
    writeRoster(inst, rosterLine(1, 2012, "一") +                            // 1
                          QStringLiteral("2,2013,0,0,\"短い\",0,\"\"\r\n") + // 2: seven values
                          rosterLine(3, 70000, "大きい") +                   // 3: 16 bits
                          rosterLine(5001, 2013, "範囲外") +                 // 4: pupil number
                          rosterLine(-1, 2013, "負") +                       // 5: pupil number
                          rosterLine(6, 2013, "六") +                        // 6
                          QStringLiteral("7,2013,0,0,山田,太郎,0,\"\",\"\"\r\n") + // 7: nine
                          QStringLiteral("8,2013,0,0,\"末尾\",0,\"\",\"\",\r\n") + // 8: trailing ,
                          QStringLiteral("9,2013,0,-32769,\"九\",0,\"\",\"\"\r\n") + // 9: 16 bits
                          QStringLiteral("10,2013,0,32767,\"十\",40000,\"\",\"\"\r\n") +  // 10
                          QStringLiteral("11,2013,-32768,32767,\"端\",0,\"\",\"\"\r\n")); // 11
    Listing listing;
    const RosterReport report = load(inst.state, &listing);
    QCOMPARE(listing.pupils, (QList<int>{1, 6, 8, 11}));
    QCOMPARE(linePupils(inst.state.pupil), listing.pupils);
    QList<int> skipped;
    for (const RosterProblem& p : report.skipped) {
        skipped << p.line;
    }
    QCOMPARE(skipped, (QList<int>{2, 3, 4, 5, 7, 9, 10}));
    QCOMPARE(int(inst.state.pupil.rosterEntries[4].reservedNo1), -32768);

    const QString text = rosterReportText(report);
    QVERIFY(text.contains(rosterPath(inst)));
    for (int line : skipped) {
        QVERIFY2(text.contains(QStringLiteral("%1行目").arg(line)), qPrintable(text));
    }
    // Nothing of a skipped line reached a table.
    for (const QString& name : inst.state.pupil.rosterNames) {
        QVERIFY(!name.contains(QStringLiteral("範囲外")) &&
                !name.contains(QStringLiteral("大きい")));
    }
    QCOMPARE(inst.state.pupil.rosterNames.size(), std::size_t(5001));
}

void RosterFileTest::undecodableLineIsSkipped() {
    TestInstallation inst;
    QByteArray bytes = cp932(rosterLine(1, 2012, "一"));
    bytes += QByteArray("2,2012,0,0,\"\x81\",0,\"\",\"\"\r\n"); // a lead byte without its trail
    bytes += cp932(rosterLine(3, 2012, "三"));
    inst.writeBytes(rosterPath(inst), bytes);
    const RosterReport report = load(inst.state);
    QCOMPARE(linePupils(inst.state.pupil), (QList<int>{1, 3}));
    QCOMPARE(report.skipped.size(), std::size_t(1));
    QCOMPARE(report.skipped.front().line, 2);
    QVERIFY(rosterReportText(report).contains(QStringLiteral("2行目")));
}

void RosterFileTest::moreThan5000LinesStops() {
    TestInstallation inst;
    QString text;
    for (int line = 1; line <= 5003; ++line) {
        if (line == 3) {
            text += rosterLine(3, 2012, "退会", 1); // not listed: takes no position
        } else if (line == 5003) {
            text += rosterLine(4000, 2012, "最後");
        } else {
            text += rosterLine(line % 5001, 2012, QStringLiteral("生徒%1").arg(line));
        }
    }
    writeRoster(inst, text);
    const RosterReport report = load(inst.state);
    QCOMPARE(inst.state.pupil.rosterLineCount, 5000);
    QCOMPARE(report.stoppedAtLine, 5002);                // the 5001st listed line
    QCOMPARE(inst.state.pupil.rosterLinePupil[5000], 0); // file line 5001: pupil 0
    QCOMPARE(inst.state.pupil.rosterEntries[5000].name.trimmed(), QStringLiteral("生徒5001"));
    QCOMPARE(inst.state.pupil.rosterNames[4000].trimmed(), QStringLiteral("生徒4000"));
    const QString message = rosterReportText(report);
    QVERIFY(message.contains(rosterPath(inst)));
    QVERIFY(message.contains(QStringLiteral("5002行目")));
    QVERIFY(message.contains(QStringLiteral("5000")));
}

void RosterFileTest::unlistedLinesDoNotTakeAPosition() {
    TestInstallation inst;
    QString text;
    for (int no = 1; no <= 5000; ++no) {
        text += rosterLine(no, 2012, QStringLiteral("生徒%1").arg(no));
    }
    text += rosterLine(0, 1990, "休会", 1);
    writeRoster(inst, text);
    const RosterReport report = load(inst.state);
    QVERIFY2(report.clean(), qPrintable(rosterReportText(report)));
    QCOMPARE(inst.state.pupil.rosterLineCount, 5000);
    QCOMPARE(inst.state.pupil.rosterNames[0].trimmed(), QStringLiteral("休会"));
}

QTEST_GUILESS_MAIN(RosterFileTest)
#include "test_roster_file.moc"
