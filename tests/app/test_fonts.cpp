#include "app/JapaneseFonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QtTest>

// The classroom fonts stand-ins: fixed-pitch lists only line up when a full-width
// character is exactly two half-width ones.
class FontsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void classroomFontsResolve();
    void fullWidthIsTwoHalfWidths_data();
    void fullWidthIsTwoHalfWidths();
    void proportionalGothicIsProportional();
    void otherFamiliesAreLeftAlone();

private:
    QStringList mapped_;
};

void FontsTest::initTestCase() {
    mapped_ = mapJapaneseFonts();
}

void FontsTest::classroomFontsResolve() {
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : {msGothic, msPGothic}) {
        if (installed.contains(family)) {
            QVERIFY(!mapped_.contains(family));
            continue;
        }
        QVERIFY2(mapped_.contains(family), qPrintable(family));
        QFont font(family);
        font.setPixelSize(16);
        const QString used = QFontInfo(font).family();
        QVERIFY2(japaneseSubstitutes(family).contains(used),
                 qPrintable(family + QStringLiteral(" -> ") + used));
    }
}

void FontsTest::fullWidthIsTwoHalfWidths_data() {
    QTest::addColumn<int>("pixels");
    for (int pixels = 10; pixels <= 40; pixels += 2) {
        QTest::addRow("%d px", pixels) << pixels;
    }
}

void FontsTest::fullWidthIsTwoHalfWidths() {
    QFETCH(int, pixels);
    QFont font(msGothic);
    font.setPixelSize(pixels);
    const QFontMetrics metrics(font);
    const int half = metrics.horizontalAdvance(QStringLiteral("0"));
    QVERIFY(half > 0);
    for (const QString& ch :
         {QStringLiteral("あ"), QStringLiteral("漢"), QStringLiteral("髙"), QStringLiteral("ア"),
          QStringLiteral("　"), QStringLiteral("１"), QStringLiteral("－"), QStringLiteral("①")}) {
        QCOMPARE(metrics.horizontalAdvance(ch), 2 * half);
    }
    for (const QString& ch :
         {QStringLiteral("A"), QStringLiteral("i"), QStringLiteral("W"), QStringLiteral(" "),
          QStringLiteral("ｱ"), QStringLiteral("ﾞ"), QStringLiteral(":")}) {
        QCOMPARE(metrics.horizontalAdvance(ch), half);
    }
    // A list line: a padded name column then figures, as the result lists build them.
    const QString line = QStringLiteral("髙橋　一郎　　　  12回   345点");
    QCOMPARE(metrics.horizontalAdvance(line), (8 * 2 + 14) * half);
}

void FontsTest::proportionalGothicIsProportional() {
    QFont font(msPGothic);
    font.setPixelSize(20);
    const QFontMetrics metrics(font);
    QVERIFY(metrics.horizontalAdvance(QStringLiteral("i")) <
            metrics.horizontalAdvance(QStringLiteral("W")));
}

void FontsTest::otherFamiliesAreLeftAlone() {
    QVERIFY(japaneseSubstitutes(QStringLiteral("Arial")).isEmpty());
    QVERIFY(QFont::substitutes(QStringLiteral("DejaVu Sans")).isEmpty());
}

QTEST_MAIN(FontsTest)
#include "test_fonts.moc"
