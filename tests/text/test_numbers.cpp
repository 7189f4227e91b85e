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
        QTest::newRow("point at the end") << QStringLiteral("12.") << 12.0;
        QTest::newRow("leading zero") << QStringLiteral("012") << 12.0;
        QTest::newRow("minus inside") << QStringLiteral("1-2") << 1.0;
        QTest::newRow("blanks inside") << QStringLiteral(" 1 2") << 12.0;
        QTest::newRow("letters") << QStringLiteral("abc") << 0.0;
        QTest::newRow("empty") << QString() << 0.0;
        QTest::newRow("negative") << QStringLiteral("-5") << -5.0;
        QTest::newRow("plus") << QStringLiteral("+5") << 5.0;
        QTest::newRow("blank after the sign") << QStringLiteral(" - 5") << -5.0;
        QTest::newRow("two signs") << QStringLiteral("--5") << 0.0;
        QTest::newRow("second point stops") << QStringLiteral("1.5.3") << 1.5;
        QTest::newRow("blanks around the point") << QStringLiteral("1 2 . 5") << 12.5;
        QTest::newRow("letters after") << QStringLiteral("3.25abc") << 3.25;
        QTest::newRow("sign after") << QStringLiteral("5-") << 5.0;
        QTest::newRow("point first") << QStringLiteral(".5") << 0.5;
        QTest::newRow("minus point") << QStringLiteral("-.5") << -0.5;
        QTest::newRow("point alone") << QStringLiteral(".") << 0.0;
        QTest::newRow("sign alone") << QStringLiteral("-") << 0.0;
        QTest::newRow("no exponent") << QStringLiteral("1e3") << 1.0;
        QTest::newRow("full-width digits") << QStringLiteral("１２") << 0.0;
        QTest::newRow("tab and line end") << QStringLiteral("\t7\r\n") << 7.0;
        QTest::newRow("comma stops") << QStringLiteral("1,5") << 1.0;
        QTest::newRow("timed out") << QStringLiteral("99999") << 99999.0;
        QTest::newRow("many digits")
            << QStringLiteral("0.1000000000000000055511151231257827") << 0.1;
    }
    void lenientNumbers() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(lenientNumber(text), value);
    }

    void zeroIsNeverNegative() {
        QVERIFY(!std::signbit(lenientNumber(QStringLiteral("-0"))));
        QVERIFY(!std::signbit(lenientNumber(QStringLiteral("-0.000"))));
    }

    void hugeValuesStayInRange() {
        const QString huge = QStringLiteral("1") + QString(400, u'0');
        QVERIFY(std::isinf(lenientNumber(huge)));
        QCOMPARE(lenientInt(huge), std::numeric_limits<int>::max());
        QCOMPARE(lenientInt(QStringLiteral("-99999999999")), std::numeric_limits<int>::min());
    }

    void lenientWholeNumbers() {
        QCOMPARE(lenientInt(QStringLiteral(" 45 ")), 45);
        QCOMPARE(lenientInt(QStringLiteral("1.4")), 1);
        QCOMPARE(lenientInt(QStringLiteral("1.6")), 2);
        QCOMPARE(lenientInt(QStringLiteral("2.5")), 2);
        QCOMPARE(lenientInt(QStringLiteral("3.5")), 4);
        QCOMPARE(lenientInt(QStringLiteral("-2.5")), -2);
        QCOMPARE(lenientInt(QStringLiteral("abc")), 0);
    }

    void rightFields() {
        QCOMPARE(rightField(12, 5), QStringLiteral("   12"));
        QCOMPARE(rightField(123456, 5), QStringLiteral("23456"));
        QCOMPARE(rightField(12345, 5), QStringLiteral("12345"));
        QCOMPARE(rightField(-12, 4), QStringLiteral(" -12"));
        QCOMPARE(rightField(99999, 3), QStringLiteral("999"));
        QCOMPARE(rightField(QStringLiteral("髙橋"), 3), QStringLiteral(" 髙橋"));
        QCOMPARE(rightField(QStringLiteral("abc"), 0), QString());
    }

    void leftFields() {
        QCOMPARE(leftField(QStringLiteral("ab"), 4), QStringLiteral("ab  "));
        QCOMPARE(leftField(QStringLiteral("abcdef"), 3), QStringLiteral("abc"));
        QCOMPARE(leftField(QString(), 2), QStringLiteral("  "));
        QCOMPARE(leftField(QStringLiteral("x"), -1), QString());
    }

    void nameFields() {
        QCOMPARE(nameField(QStringLiteral("髙橋"), 4), QStringLiteral("髙橋　　"));
        QCOMPARE(nameField(QStringLiteral("寿限無寿限無"), 4), QStringLiteral("寿限無寿"));
        QCOMPARE(nameField(QStringLiteral("幼児　ひまり"), 6), QStringLiteral("幼児　ひまり"));
        QCOMPARE(nameField(QString(), 2), QStringLiteral("　　"));
        QCOMPARE(nameField(QStringLiteral("先生"), 0), QString());
    }
};

QTEST_GUILESS_MAIN(NumbersTest)
#include "test_numbers.moc"
