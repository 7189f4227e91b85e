// Day numbers, fractions of a day and the Japanese era date text.
#include "support/TestInstallation.h"
#include "text/DayNumber.h"
#include "text/EraDate.h"

#include <QFile>
#include <QTest>

namespace {

QStringList sampleRecords() {
    QFile file(TestInstallation::fixturePath(QStringLiteral("results-sample.expected.txt")));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing results-sample.expected.txt");
    QStringList records;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n'))
        if (!line.isEmpty() && line.front().isDigit())
            records << line;
    return records;
}

} // namespace

class DatesTest : public QObject {
    Q_OBJECT

private slots:
    void dayNumbers_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("number");
        QTest::newRow("day zero") << QDate(1899, 12, 30) << 0;
        QTest::newRow("day before") << QDate(1899, 12, 29) << -1;
        QTest::newRow("1900-02-28") << QDate(1900, 2, 28) << 60;
        QTest::newRow("1900-03-01") << QDate(1900, 3, 1) << 61; // 1900 had no 29 February
        QTest::newRow("2026-12-09") << QDate(2026, 12, 9) << 46365;
        QTest::newRow("2004-06-05") << QDate(2004, 6, 5) << 38143;
    }
    void dayNumbers() {
        QFETCH(QDate, date);
        QFETCH(int, number);
        QCOMPARE(dayNumber(date), number);
        QCOMPARE(dateOfDayNumber(number), date);
    }

    void dayNumbersOfTheSampleResults() {
        const QStringList records = sampleRecords();
        QCOMPARE(records.size(), 7);
        for (const QString& record : records) {
            const QStringList fields = record.split(u'|');
            const QDate date = QDate::fromString(fields[2], QStringLiteral("yyyy/MM/dd"));
            QCOMPARE(dayNumber(date), fields[1].toInt());
            QCOMPARE(dateOfDayNumber(fields[1].toDouble()), date);
        }
    }

    void theWholePartOfADayNumberIsTheDate() {
        QCOMPARE(dateOfDayNumber(46365.999), QDate(2026, 12, 9));
        QCOMPARE(dateOfDayNumber(-1.5), QDate(1899, 12, 29)); // towards zero
        QVERIFY(!dateOfDayNumber(std::numeric_limits<double>::quiet_NaN()).isValid());
        QCOMPARE(dayNumber(QDate()), 0);
    }

    void timesOfTheSampleResults() {
        for (const QString& record : sampleRecords()) {
            const QStringList fields = record.split(u'|');
            const double fraction = fields[3].toDouble();
            QCOMPARE(timeOfDayFraction(fraction).toString(QStringLiteral("H:mm:ss")), fields[4]);
        }
    }

    void fractionsOfADay() {
        QCOMPARE(dayFraction(QTime(0, 0)), 0.0);
        QCOMPARE(dayFraction(QTime(12, 0)), 0.5);
        QCOMPARE(dayFraction(QTime(6, 0)), 0.25);
        QCOMPARE(dayFraction(QTime(9, 5, 7)), 32707.0 / 86400.0);
        QVERIFY(dayFraction(QTime(23, 59, 59, 999)) < 1.0);
        QCOMPARE(timeOfDayFraction(dayFraction(QTime(9, 5, 7))), QTime(9, 5, 7));
        // 0.999988 of a day is 23:59:58.96, read to the second.
        QCOMPARE(timeOfDayFraction(0.999988), QTime(23, 59, 59));
        QCOMPARE(timeOfDayFraction(0.9999999), QTime(23, 59, 59)); // not the next midnight
        QCOMPARE(timeOfDayFraction(46359.5), QTime(12, 0));        // a date in front is ignored
        QCOMPARE(timeOfDayFraction(0), QTime(0, 0));
    }

    void clockReadingsAreSecondsSinceMidnight() {
        QCOMPARE(secondsSinceMidnight(QTime(0, 0)), 0.0);
        QCOMPARE(secondsSinceMidnight(QTime(9, 5, 7, 250)), 32707.25);
        QCOMPARE(secondsSinceMidnight(QTime(23, 59, 59, 999)), 86399.999);
    }

    void eras_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("era");
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("text");
        QTest::newRow("before 明治")
            << QDate(1868, 10, 22) << QString() << 0 << QStringLiteral("1868年 10月 22日（木）");
        QTest::newRow("明治 begins") << QDate(1868, 10, 23) << QStringLiteral("明治") << 1
                                     << QStringLiteral("明治1年 10月 23日（金）");
        QTest::newRow("明治 ends") << QDate(1912, 7, 29) << QStringLiteral("明治") << 45
                                   << QStringLiteral("明治45年 7月 29日（月）");
        QTest::newRow("大正 begins") << QDate(1912, 7, 30) << QStringLiteral("大正") << 1
                                     << QStringLiteral("大正1年 7月 30日（火）");
        QTest::newRow("大正 ends") << QDate(1926, 12, 24) << QStringLiteral("大正") << 15
                                   << QStringLiteral("大正15年 12月 24日（金）");
        QTest::newRow("昭和 begins") << QDate(1926, 12, 25) << QStringLiteral("昭和") << 1
                                     << QStringLiteral("昭和1年 12月 25日（土）");
        QTest::newRow("昭和 ends") << QDate(1989, 1, 7) << QStringLiteral("昭和") << 64
                                   << QStringLiteral("昭和64年 1月 07日（土）");
        QTest::newRow("平成 begins") << QDate(1989, 1, 8) << QStringLiteral("平成") << 1
                                     << QStringLiteral("平成1年 1月 08日（日）");
        QTest::newRow("平成 16") << QDate(2004, 6, 5) << QStringLiteral("平成") << 16
                                 << QStringLiteral("平成16年 6月 05日（土）");
        QTest::newRow("平成 ends") << QDate(2019, 4, 30) << QStringLiteral("平成") << 31
                                   << QStringLiteral("平成31年 4月 30日（火）");
        QTest::newRow("令和 begins") << QDate(2019, 5, 1) << QStringLiteral("令和") << 1
                                     << QStringLiteral("令和1年 5月 01日（水）");
        QTest::newRow("令和 8") << QDate(2026, 12, 9) << QStringLiteral("令和") << 8
                                << QStringLiteral("令和8年 12月 09日（水）");
        QTest::newRow("new year") << QDate(2027, 1, 1) << QStringLiteral("令和") << 9
                                  << QStringLiteral("令和9年 1月 01日（金）");
    }
    void eras() {
        QFETCH(QDate, date);
        QFETCH(QString, era);
        QFETCH(int, year);
        QFETCH(QString, text);
        const EraYear found = eraYearOf(date);
        QCOMPARE(found.name, era);
        QCOMPARE(found.year, year);
        QCOMPARE(eraDateText(date), text);
    }

    void weekdays() {
        QString week;
        for (int day = 6; day <= 12; ++day) // Sunday 6 December 2026 to Saturday the 12th
            week += japaneseWeekday(QDate(2026, 12, day));
        QCOMPARE(week, QStringLiteral("日月火水木金土"));
        QCOMPARE(japaneseWeekday(QDate()), QString());
        QCOMPARE(eraDateText(QDate()), QString());
    }
};

QTEST_GUILESS_MAIN(DatesTest)
#include "test_dates.moc"
