// Day numbers, fractions of a day and the Japanese era date text.
#include "support/TestInstallation.h"
#include "text/DayNumber.h"
#include "text/EraDate.h"

#include <QFile>
#include <QTest>

class DatesTest : public QObject {
    Q_OBJECT

private slots:
    void dayNumbers() {
        const QList<QPair<QDate, int>> known = {
            {QDate(1899, 12, 30), 0}, {QDate(1899, 12, 29), -1},   {QDate(1900, 2, 28), 60},
            {QDate(1900, 3, 1), 61},  {QDate(2026, 12, 9), 46365}, {QDate(2004, 6, 5), 38143}};
        for (const auto& [date, number] : known) {
            QCOMPARE(dayNumber(date), number);
            QCOMPARE(dateOfDayNumber(number), date);
        }
        QCOMPARE(dateOfDayNumber(46365.999), QDate(2026, 12, 9));
        QCOMPARE(dateOfDayNumber(-1.5), QDate(1899, 12, 29)); // whole part towards zero
        QVERIFY(!dateOfDayNumber(std::numeric_limits<double>::quiet_NaN()).isValid());
    }

    // The sample results list each record's day number and fraction with the date and
    // time they stand for.
    void daysAndTimesOfTheSampleResults() {
        QFile file(TestInstallation::fixturePath(u"results-sample.expected.txt"_qs));
        QVERIFY(file.open(QIODevice::ReadOnly));
        int records = 0;
        for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
            const QStringList fields = line.split(u'|');
            if (fields.size() < 5 || !fields[0].front().isDigit())
                continue;
            ++records;
            const QDate date = QDate::fromString(fields[2], u"yyyy/MM/dd"_qs);
            QCOMPARE(dayNumber(date), fields[1].toInt());
            QCOMPARE(dateOfDayNumber(fields[1].toDouble()), date);
            QCOMPARE(timeOfDayFraction(fields[3].toDouble()).toString(u"H:mm:ss"_qs), fields[4]);
        }
        QCOMPARE(records, 7);
    }

    void fractionsOfADay() {
        QCOMPARE(dayFraction(QTime(12, 0)), 0.5);
        QCOMPARE(dayFraction(QTime(9, 5, 7)), 32707.0 / 86400.0);
        QVERIFY(dayFraction(QTime(23, 59, 59, 999)) < 1.0);
        QCOMPARE(timeOfDayFraction(dayFraction(QTime(9, 5, 7))), QTime(9, 5, 7));
        QCOMPARE(timeOfDayFraction(0.9999999), QTime(23, 59, 59)); // not the next midnight
        QCOMPARE(timeOfDayFraction(46359.5), QTime(12, 0));        // a date in front is ignored
        QCOMPARE(secondsSinceMidnight(QTime(9, 5, 7, 250)), 32707.25);
    }

    void eras_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("era");
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("text");
        QTest::newRow("before 明治")
            << QDate(1868, 10, 22) << QString() << 0 << u"1868年 10月 22日（木）"_qs;
        QTest::newRow("明治 begins")
            << QDate(1868, 10, 23) << u"明治"_qs << 1 << u"明治1年 10月 23日（金）"_qs;
        QTest::newRow("明治 ends")
            << QDate(1912, 7, 29) << u"明治"_qs << 45 << u"明治45年 7月 29日（月）"_qs;
        QTest::newRow("大正 begins")
            << QDate(1912, 7, 30) << u"大正"_qs << 1 << u"大正1年 7月 30日（火）"_qs;
        QTest::newRow("大正 ends")
            << QDate(1926, 12, 24) << u"大正"_qs << 15 << u"大正15年 12月 24日（金）"_qs;
        QTest::newRow("昭和 begins")
            << QDate(1926, 12, 25) << u"昭和"_qs << 1 << u"昭和1年 12月 25日（土）"_qs;
        QTest::newRow("昭和 ends")
            << QDate(1989, 1, 7) << u"昭和"_qs << 64 << u"昭和64年 1月 07日（土）"_qs;
        QTest::newRow("平成 begins")
            << QDate(1989, 1, 8) << u"平成"_qs << 1 << u"平成1年 1月 08日（日）"_qs;
        QTest::newRow("平成 16") << QDate(2004, 6, 5) << u"平成"_qs << 16
                                 << u"平成16年 6月 05日（土）"_qs;
        QTest::newRow("平成 ends")
            << QDate(2019, 4, 30) << u"平成"_qs << 31 << u"平成31年 4月 30日（火）"_qs;
        QTest::newRow("令和 begins")
            << QDate(2019, 5, 1) << u"令和"_qs << 1 << u"令和1年 5月 01日（水）"_qs;
        QTest::newRow("令和 8") << QDate(2026, 12, 9) << u"令和"_qs << 8
                                << u"令和8年 12月 09日（水）"_qs;
        QTest::newRow("invalid date") << QDate() << QString() << 0 << QString();
    }
    void eras() {
        QFETCH(QDate, date);
        QFETCH(QString, era);
        QFETCH(int, year);
        QFETCH(QString, text);
        QCOMPARE(eraYearOf(date).name, era);
        QCOMPARE(eraYearOf(date).year, year);
        QCOMPARE(eraDateText(date), text);
    }

    void weekdays() {
        QString week;
        for (int day = 6; day <= 12; ++day) // Sunday 6 December 2026 to Saturday the 12th
            week += japaneseWeekday(QDate(2026, 12, day));
        QCOMPARE(week, u"日月火水木金土"_qs);
    }
};

QTEST_GUILESS_MAIN(DatesTest)
#include "test_dates.moc"
