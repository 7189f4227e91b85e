// Lenient numbers and the fixed-width columns of the result lists.
#include "text/FixedWidth.h"
#include "text/LenientNumber.h"

#include <QTest>
#include <cmath>

class NumbersTest : public QObject {
    Q_OBJECT

private slots:
    void lenientNumbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("point at the end") << u"12."_qs << 12.0;
        QTest::newRow("leading zero") << u"012"_qs << 12.0;
        QTest::newRow("minus inside") << u"1-2"_qs << 1.0;
        QTest::newRow("blanks inside") << u" 1 2"_qs << 12.0;
        QTest::newRow("letters") << u"abc"_qs << 0.0;
        QTest::newRow("empty") << QString() << 0.0;
        QTest::newRow("signs") << u" - 5"_qs << -5.0;
        QTest::newRow("plus") << u"+5"_qs << 5.0;
        QTest::newRow("two signs") << u"--5"_qs << 0.0;
        QTest::newRow("second point stops") << u"1 2 . 5.3"_qs << 12.5;
        QTest::newRow("letters after") << u"3.25abc"_qs << 3.25;
        QTest::newRow("point first") << u"-.5"_qs << -0.5;
        QTest::newRow("point alone") << u"."_qs << 0.0;
        QTest::newRow("no exponent") << u"1e3"_qs << 1.0;
        QTest::newRow("full-width digits") << u"１２"_qs << 0.0;
        QTest::newRow("tab and line end") << u"\t7\r\n"_qs << 7.0;
        QTest::newRow("rounded once") << u"0.1000000000000000055511151231257827"_qs << 0.1;
    }
    void lenientNumbers() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(lenientNumber(text), value);
    }

    void startsWithNumberAsTheReadingDoes() {
        for (const char16_t* yes : {u"12", u" -3", u"+ 4", u".5", u"- .5", u"1-2", u"0"}) {
            QVERIFY2(startsWithNumber(yes), qPrintable(QString::fromUtf16(yes)));
        }
        for (const char16_t* no : {u"", u"  ", u"-", u".", u"abc", u"１２", u"x12"}) {
            QVERIFY2(!startsWithNumber(no), qPrintable(QString::fromUtf16(no)));
        }
    }

    void extremes() {
        QVERIFY(!std::signbit(lenientNumber(u"-0.000"_qs)));
        const QString huge = u"1"_qs + QString(400, u'0');
        QVERIFY(std::isinf(lenientNumber(huge)));
        QCOMPARE(lenientInt(huge), std::numeric_limits<int>::max());
        QCOMPARE(lenientInt(u"-99999999999"_qs), std::numeric_limits<int>::min());
    }

    void lenientWholeNumbers() {
        const QList<QPair<QString, int>> cases = {{u" 45 "_qs, 45}, {u"1.4"_qs, 1},
                                                  {u"1.6"_qs, 2},   {u"2.5"_qs, 2},
                                                  {u"3.5"_qs, 4},   {u"-2.5"_qs, -2}};
        for (const auto& [text, value] : cases)
            QCOMPARE(lenientInt(text), value);
    }

    void fixedWidthFields() {
        QCOMPARE(rightField(12, 5), u"   12"_qs);
        QCOMPARE(rightField(123456, 5), u"23456"_qs);
        QCOMPARE(rightField(-12, 4), u" -12"_qs);
        QCOMPARE(rightField(u"髙橋"_qs, 3), u" 髙橋"_qs);
        QCOMPARE(rightField(u"abc"_qs, 0), QString());
        QCOMPARE(leftField(u"ab"_qs, 4), u"ab  "_qs);
        QCOMPARE(leftField(u"abcdef"_qs, 3), u"abc"_qs);
        QCOMPARE(nameField(u"髙橋"_qs, 4), u"髙橋　　"_qs);
        QCOMPARE(nameField(u"寿限無寿限無"_qs, 4), u"寿限無寿"_qs);
        QCOMPARE(nameField(u"先生"_qs, -1), QString());
    }
};

QTEST_GUILESS_MAIN(NumbersTest)
#include "test_numbers.moc"
