// Seeded random input for the readers of the results file, the criteria file and the
// item stream under them, a fixed number of rounds each, so a run does the same work on a
// busy machine as on an idle one. Run under the sanitizers, any read or write out of
// bounds ends the test; the checks below hold whatever the input.

#include "RecordsTestSupport.h"
#include "records/CriteriaFile.h"
#include "support/TestInstallation.h"
#include "text/ItemReader.h"

#include <QTest>
#include <limits>
#include <random>

namespace {

// Rounds per reader. Each criteria-file round lays out a whole installation, so it
// takes fewer.
constexpr int resultsFileRounds = 300;
constexpr int criteriaTextRounds = 2000;
constexpr int criteriaFileRounds = 100;
constexpr int itemStreamRounds = 2000;

template <typename T> T pick(std::mt19937& random, std::initializer_list<T> values) {
    std::uniform_int_distribution<std::size_t> at(0, values.size() - 1);
    return *(values.begin() + at(random));
}

// A record that is valid, nearly valid or nonsense, field by field.
ResultRecord randomRecord(std::mt19937& random) {
    std::uniform_int_distribution<int> any16(-32768, 32767);
    std::uniform_int_distribution<int> coin(0, 3);
    ResultRecord r;
    r.runDate = pick(random, {46365.0, 46300.0, -1.0, 0.0, 1e300, -1e300,
                              std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::infinity(), 46365.5});
    r.runClock =
        pick(random, {0.0, 0.5, 0.99999, -3.0, 7.0, std::numeric_limits<double>::quiet_NaN()});
    r.pupilNo = static_cast<std::int16_t>(
        coin(random) ? pick(random, {0, 1, 1000, 1001, 5000, 5001, -1}) : any16(random));
    r.level = static_cast<std::int16_t>(coin(random) ? pick(random, {0, 1, 2, 35, 36, -1, 99})
                                                     : any16(random));
    r.seconds = pick(random, {0, 1, 29, 30, 31, 5999, 6000, 99998, 99999, -1, -1234,
                              std::numeric_limits<std::int32_t>::min(),
                              std::numeric_limits<std::int32_t>::max()});
    return r;
}

QByteArray randomResultsFile(std::mt19937& random) {
    std::uniform_int_distribution<int> count(0, 60);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> coin(0, 4);
    QByteArray bytes;
    const int records = count(random);
    for (int i = 0; i < records; ++i) {
        if (coin(random) == 0) {
            for (int b = 0; b < 44; ++b) {
                bytes.append(static_cast<char>(byte(random)));
            }
        } else {
            const ResultRecordBytes one = encodeResultRecord(randomRecord(random));
            bytes.append(one.data(), 44);
        }
    }
    const int tail = std::uniform_int_distribution<int>(0, 43)(random);
    for (int b = 0; b < tail; ++b) {
        bytes.append(static_cast<char>(byte(random)));
    }
    return bytes;
}

QString randomCriteriaText(std::mt19937& random, const QString& seed) {
    static const QString pieces[] = {QStringLiteral(","),
                                     QStringLiteral("\r\n"),
                                     QStringLiteral("\n"),
                                     QStringLiteral("\r"),
                                     QStringLiteral("\""),
                                     QStringLiteral(" "),
                                     QStringLiteral("9"),
                                     QStringLiteral("."),
                                     QStringLiteral("-"),
                                     QStringLiteral("1e5"),
                                     QStringLiteral("99999999999999999999"),
                                     QStringLiteral("目標"),
                                     QStringLiteral("\t"),
                                     QStringLiteral("0.5"),
                                     QString(QChar(0)),
                                     QString(QChar(0xD800)),
                                     QStringLiteral("32768"),
                                     QString(400, QLatin1Char('9'))};
    QString text = seed;
    std::uniform_int_distribution<int> edits(0, 12);
    const int n = edits(random);
    for (int i = 0; i < n; ++i) {
        const int at = std::uniform_int_distribution<int>(0, int(text.size()))(random);
        switch (std::uniform_int_distribution<int>(0, 2)(random)) {
        case 0:
            text.insert(at, pieces[std::uniform_int_distribution<int>(0, 17)(random)]);
            break;
        case 1:
            text.remove(at, std::uniform_int_distribution<int>(1, 8)(random));
            break;
        default:
            text.truncate(at);
            break;
        }
    }
    // Sometimes many more lines than the table has room for.
    if (std::uniform_int_distribution<int>(0, 20)(random) == 0) {
        for (int i = 0; i < 40; ++i) {
            text += QStringLiteral("1,2,3,4,5,6,7,8,9,10,11,12\r\n");
        }
    }
    return text;
}

QString randomItemText(std::mt19937& random) {
    static const QChar alphabet[] = {QLatin1Char(','),  QLatin1Char('"'),  QLatin1Char('\r'),
                                     QLatin1Char('\n'), QLatin1Char(' '),  QLatin1Char('a'),
                                     QLatin1Char('1'),  QLatin1Char('\t'), QChar(0x3000),
                                     QChar(0xD800),     QChar(0xDC00),     QChar(0)};
    const int length = std::uniform_int_distribution<int>(0, 80)(random);
    QString text;
    for (int i = 0; i < length; ++i) {
        text += alphabet[std::uniform_int_distribution<int>(0, 11)(random)];
    }
    return text;
}

} // namespace

class FuzzReadersTest : public QObject {
    Q_OBJECT

private slots:
    void resultsFiles();
    void criteriaTexts();
    void criteriaFileBytes();
    void itemStreams();
};

void FuzzReadersTest::resultsFiles() {
    std::mt19937 random(20261209);
    TestInstallation inst;
    for (int level = 1; level <= 35; ++level) {
        LevelCriteria& c = inst.state.criteria[static_cast<std::size_t>(level)];
        c.targetSeconds = pick(random, {0, 30, -5, 2000000000});
        c.pointFactor = pick(random, {1.0f, 1.3f, -2.0f, 3e38f});
        c.judgeDays = pick(random, {0.0, 7.0, -1.0, 1e308});
        c.overuseDays = pick(random, {1.0, 30.0});
    }
    const QString path = inst.drillDataFolder() + QStringLiteral("成績累積データ.dat");
    for (int round = 0; round < resultsFileRounds; ++round) {
        const QByteArray bytes = randomResultsFile(random);
        inst.writeBytes(path, bytes);
        QVERIFY(countResults(inst.state));
        const Statistics& s = inst.state.stats;
        QCOMPARE(s.statTotalRuns.size(), std::size_t(Statistics::cells));
        QCOMPARE(s.schoolBestSeconds.size(), std::size_t(Statistics::levels));
        QVERIFY(s.loadedResults.size() <= std::size_t(bytes.size() / 44));
        for (const LoadedResult& r : s.loadedResults) {
            QVERIFY(r.level >= 1 && r.level <= 35 && r.pupilNo >= 1 && r.pupilNo <= 5000);
            QVERIFY(r.runDate >= 0);
        }
        ResultsTail tail;
        QVERIFY(readResultsTail(inst.state, 7, tail, QStringLiteral("Command5")));
        QVERIFY(tail.records.size() <= 7);
        QCOMPARE(fileBytes(path), bytes); // readers never change the file
    }
    QCOMPARE(inst.env.messages.size(), std::size_t{0});
}

void FuzzReadersTest::criteriaTexts() {
    std::mt19937 random(4242);
    const QString seed =
        criteriaHeaderLine() +
        QStringLiteral("\r\n60,90,100,5,1.5,20,0,7,1,,,\r\n45,70,9999,3,1,,,14,0,,,"
                       "\r\n 30 ,40,120,10,1.3,0,500,30,7,1,2,3\r\n");
    CriteriaTable previous{};
    previous[10].targetSeconds = 123;
    for (int round = 0; round < criteriaTextRounds; ++round) {
        const CriteriaParse parse = parseCriteria(randomCriteriaText(random, seed), previous);
        if (parse.ok) {
            QVERIFY(parse.levels >= 0 && parse.levels <= 35);
            QVERIFY(parse.error.isEmpty());
            if (parse.levels < 10) {
                QCOMPARE(parse.table[10].targetSeconds, 123);
            }
            for (const LevelCriteria& c : parse.table) {
                QVERIFY(std::isfinite(c.pointFactor) && std::isfinite(c.judgeDays));
                QVERIFY(c.clearCount >= -32768 && c.clearCount <= 32767);
            }
        } else {
            QVERIFY(!parse.error.isEmpty());
        }
    }
}

void FuzzReadersTest::criteriaFileBytes() {
    std::mt19937 random(77);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < criteriaFileRounds; ++round) {
        TestInstallation inst;
        QByteArray bytes = TestInstallation::fixtureBytes(QStringLiteral("criteria-cp932.txt"));
        const int flips = std::uniform_int_distribution<int>(0, 6)(random);
        for (int i = 0; i < flips; ++i) {
            bytes[std::uniform_int_distribution<int>(0, int(bytes.size()) - 1)(random)] =
                static_cast<char>(byte(random));
        }
        inst.writeBytes(inst.drillDataFolder() + QStringLiteral("タイム回数データ.txt"), bytes);
        const bool loaded = loadCriteria(inst.state);
        QCOMPARE(loaded, inst.env.endedWith == -1);
        if (!loaded) {
            QVERIFY(inst.env.messages.at(0).text.contains(QStringLiteral("タイム回数データ.txt")));
        }
    }
}

void FuzzReadersTest::itemStreams() {
    std::mt19937 random(9);
    for (int round = 0; round < itemStreamRounds; ++round) {
        const QString text = randomItemText(random);
        ItemReader reader(text);
        int items = 0;
        for (;;) {
            const bool atEnd = reader.atEnd();
            const std::optional<Item> item = reader.next();
            if (!item) {
                break;
            }
            QVERIFY2(!atEnd, "an item after the reader said it was at the end");
            QVERIFY(item->text.size() <= text.size());
            QVERIFY(item->line >= 1);
            ++items;
            QVERIFY2(items <= text.size() + 1, "the reader does not advance");
        }
        QVERIFY(!reader.next()); // stays at the end
    }
}

QTEST_GUILESS_MAIN(FuzzReadersTest)
#include "test_fuzz_readers.moc"
