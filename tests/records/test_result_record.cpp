// The 44-byte record: layout against bytes written by hand and against the sample file
// written by the schools' PCs.

#include "RecordsTestSupport.h"
#include "support/TestInstallation.h"
#include "text/DayNumber.h"

#include <QTest>
#include <random>

class ResultRecordTest : public QObject {
    Q_OBJECT

private slots:
    void encodesAtTheFileOffsets();
    void readsTheSampleFileFieldForField();
    void rewritesTheSampleRecordsByteForByte();
    void schoolCodeIsCutAndPaddedToFiveBytes();
    void roundTripsAnyRecord();
};

void ResultRecordTest::encodesAtTheFileOffsets() {
    ResultRecord r;
    r.runDate = 46365;   // 2026/12/09
    r.runClock = 0.4375; // 10:30:00
    r.pupilNo = 258;     // 0x0102: tells the byte order
    r.level = -2;        // 0xFFFE: tells the sign
    r.seconds = 99999;   // 0x0001869F
    QVERIFY(r.setSchoolCode(QStringLiteral("12345")));

    // Written out by hand: two little-endian doubles, two shorts, a long, the texts and
    // five zero bytes.
    QByteArray hand;
    hand += QByteArray::fromHex("00000000a0a3e640"); // 46365.0
    hand += QByteArray::fromHex("000000000000dc3f"); // 0.4375
    hand += QByteArray::fromHex("0201");             // 258
    hand += QByteArray::fromHex("feff");             // -2
    hand += QByteArray::fromHex("9f860100");         // 99999
    hand += "12345";
    hand += "     ";
    hand += "0    ";
    hand += QByteArray(5, '\0');
    QCOMPARE(hand.size(), 44);

    const ResultRecordBytes bytes = encodeResultRecord(r);
    QCOMPARE(QByteArray(bytes.data(), 44).toHex(), hand.toHex());
    QCOMPARE(decodeResultRecord(hand.constData()), r);
}

void ResultRecordTest::readsTheSampleFileFieldForField() {
    const QByteArray bytes = TestInstallation::fixtureBytes(QStringLiteral("results-sample.dat"));
    QFile expectedFile(
        TestInstallation::fixturePath(QStringLiteral("results-sample.expected.txt")));
    QVERIFY(expectedFile.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(expectedFile.readAll()).split(QLatin1Char('\n'));

    const std::vector<ResultRecord> records = decodeAll(bytes);
    QCOMPARE(records.size(), std::size_t{7}); // and 20 bytes of a torn tail
    QCOMPARE(bytes.size() % 44, 20);
    int checked = 0;
    for (const QString& line : lines) {
        const QStringList f = line.split(QLatin1Char('|'));
        bool isRow = false;
        const int n = f.value(0).toInt(&isRow);
        if (!isRow || f.size() != 9) {
            continue;
        }
        const ResultRecord& r = records[static_cast<std::size_t>(n - 1)];
        QCOMPARE(r.runDate, f[1].toDouble());
        QCOMPARE(dateOfDayNumber(r.runDate).toString(QStringLiteral("yyyy/MM/dd")), f[2]);
        QCOMPARE(r.runClock, f[3].toDouble());
        QCOMPARE(timeOfDayFraction(r.runClock).toString(QStringLiteral("h:mm:ss")), f[4]);
        QCOMPARE(int(r.pupilNo), f[5].toInt());
        QCOMPARE(int(r.level), f[6].toInt());
        QCOMPARE(int(r.seconds), f[7].toInt());
        QCOMPARE(QByteArray(r.schoolCode.data(), 5).toHex(), f[8].toLatin1());
        QCOMPARE(QByteArray(r.spareText.data(), 5), QByteArray("     "));
        QCOMPARE(QByteArray(r.spareNumberText.data(), 5), QByteArray("0    "));
        ++checked;
    }
    QCOMPARE(checked, 7);
    // Record 4's code was cut inside a double-byte character: the whole ones still read.
    QCOMPARE(records[3].schoolCodeText(), QStringLiteral("ﾐﾙﾈｱ"));
    QCOMPARE(records[0].schoolCodeText(), QStringLiteral("12345"));
    QCOMPARE(records[2].schoolCodeText(), QStringLiteral("     "));
}

void ResultRecordTest::rewritesTheSampleRecordsByteForByte() {
    const QByteArray bytes = TestInstallation::fixtureBytes(QStringLiteral("results-sample.dat"));
    for (qsizetype at = 0; at + 44 <= bytes.size(); at += 44) {
        const ResultRecordBytes again =
            encodeResultRecord(decodeResultRecord(bytes.constData() + at));
        QCOMPARE(QByteArray(again.data(), 44), bytes.mid(at, 44));
    }
    // Whatever the unused slot holds survives a rewrite too.
    QByteArray odd = bytes.left(44);
    odd.replace(39, 5, "\x01\x02\x03\x04\x05");
    const ResultRecordBytes again = encodeResultRecord(decodeResultRecord(odd.constData()));
    QCOMPARE(QByteArray(again.data(), 44), odd);
}

void ResultRecordTest::schoolCodeIsCutAndPaddedToFiveBytes() {
    ResultRecord r;
    QVERIFY(r.setSchoolCode(QString()));
    QCOMPARE(QByteArray(r.schoolCode.data(), 5), QByteArray("     "));
    QVERIFY(r.setSchoolCode(QStringLiteral("7")));
    QCOMPARE(QByteArray(r.schoolCode.data(), 5), QByteArray("7    "));
    QVERIFY(r.setSchoolCode(QStringLiteral("1234567")));
    QCOMPARE(QByteArray(r.schoolCode.data(), 5), QByteArray("12345"));
    QVERIFY(r.setSchoolCode(QStringLiteral("髙橋塾"))); // FB FC 8B B4 8F 6D: cut to five
    QCOMPARE(QByteArray(r.schoolCode.data(), 5).toHex(), QByteArray("fbfc8bb48f"));
    QCOMPARE(r.schoolCodeText(), QStringLiteral("髙橋"));
    const ResultRecord before = r;
    QVERIFY(!r.setSchoolCode(QStringLiteral("😀"))); // not in CP932: refused, unchanged
    QCOMPARE(r, before);
}

void ResultRecordTest::roundTripsAnyRecord() {
    std::mt19937 random(44);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < 2000; ++i) {
        char raw[44];
        for (char& c : raw) {
            c = static_cast<char>(byte(random));
        }
        const ResultRecord r = decodeResultRecord(raw);
        const ResultRecordBytes again = encodeResultRecord(r);
        QCOMPARE(QByteArray(again.data(), 44), QByteArray(raw, 44));
    }
}

QTEST_GUILESS_MAIN(ResultRecordTest)
#include "test_result_record.moc"
