// CP932 decoding and encoding: the byte forms Windows reads and writes, refusals and the
// place of a bad byte, and fixed-width fields cut inside a double-byte character.
#include "support/TestInstallation.h"
#include "text/Cp932.h"

#include <QFile>
#include <QTest>

namespace {

QByteArray bytesOf(std::initializer_list<int> values) {
    QByteArray bytes;
    for (int v : values)
        bytes.append(static_cast<char>(v));
    return bytes;
}

QString decoded(const QByteArray& bytes) {
    const std::optional<QString> text = decodeCp932(bytes);
    return text ? *text : QStringLiteral("<error>");
}

QByteArray encoded(const QString& text) {
    const std::optional<QByteArray> bytes = encodeCp932(text);
    return bytes ? *bytes : QByteArray("<refused>");
}

// The double-byte cells of one lead byte range in code order (trail 40..7E, 80..FC).
QList<QByteArray> cells(int fromLead, int fromTrail, int toLead, int toTrail) {
    QList<QByteArray> result;
    for (int lead = fromLead; lead <= toLead; ++lead) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F)
                continue;
            if (lead == fromLead && trail < fromTrail)
                continue;
            if (lead == toLead && trail > toTrail)
                break;
            result.append(bytesOf({lead, trail}));
        }
    }
    return result;
}

} // namespace

class Cp932Test : public QObject {
    Q_OBJECT

private slots:
    void bothFormsOfIbmKanjiReadAlikeAndWriteTheWindowsForm() {
        const QString taka = decoded(bytesOf({0xFB, 0xFC}));
        QCOMPARE(taka, QStringLiteral("髙"));
        QCOMPARE(decoded(bytesOf({0xEE, 0xE0})), taka);
        QCOMPARE(encoded(taka), bytesOf({0xFB, 0xFC}));

        const QString saki = decoded(bytesOf({0xFA, 0xB1}));
        QCOMPARE(saki, QStringLiteral("﨑"));
        QCOMPARE(decoded(bytesOf({0xED, 0x95})), saki);
        QCOMPARE(encoded(saki), bytesOf({0xFA, 0xB1}));
    }

    // The NEC-selected rows hold the IBM extension in the same order: 360 kanji (ED 40 ..
    // EE EC against FA 5C .. FC 4B), then ⅰ..ⅹ, ￢, ￤, ＇, ＂. Each cell must read as the
    // character of its IBM twin and write as the form Windows writes for it.
    void everyNecSelectedCellRoundTripsToTheWindowsForm() {
        const QList<QByteArray> necKanji = cells(0xED, 0x40, 0xEE, 0xEC);
        const QList<QByteArray> ibmKanji = cells(0xFA, 0x5C, 0xFC, 0x4B);
        QCOMPARE(necKanji.size(), 360);
        QCOMPARE(ibmKanji.size(), 360);
        QList<QPair<QByteArray, QByteArray>> pairs; // NEC-selected form, Windows form
        for (qsizetype i = 0; i < necKanji.size(); ++i)
            pairs.append({necKanji[i], ibmKanji[i]});
        for (int i = 0; i < 10; ++i) // small roman numerals
            pairs.append({bytesOf({0xEE, 0xEF + i}), bytesOf({0xFA, 0x40 + i})});
        pairs.append({bytesOf({0xEE, 0xF9}), bytesOf({0x81, 0xCA})}); // ￢, the JIS row form
        pairs.append({bytesOf({0xEE, 0xFA}), bytesOf({0xFA, 0x55})}); // ￤
        pairs.append({bytesOf({0xEE, 0xFB}), bytesOf({0xFA, 0x56})}); // ＇
        pairs.append({bytesOf({0xEE, 0xFC}), bytesOf({0xFA, 0x57})}); // ＂

        QSet<QString> seen;
        for (const auto& [nec, windows] : pairs) {
            const QString fromNec = decoded(nec);
            QVERIFY2(fromNec.size() == 1, nec.toHex().constData());
            QVERIFY2(fromNec == decoded(windows), nec.toHex().constData());
            QVERIFY2(encoded(fromNec) == windows, nec.toHex().constData());
            seen.insert(fromNec);
        }
        QCOMPARE(seen.size(), pairs.size()); // no two cells collapse into one character
        QCOMPARE(decoded(pairs.first().first), QStringLiteral("纊"));
    }

    void punctuationOfTheWindowsCodePage() {
        QCOMPARE(decoded(bytesOf({0x81, 0x60})), QString(QChar(0xFF5E)));
        QCOMPARE(decoded(bytesOf({0x81, 0x7C})), QString(QChar(0xFF0D)));
        QCOMPARE(encoded(QStringLiteral("～－")), bytesOf({0x81, 0x60, 0x81, 0x7C}));
        // ASCII stays ASCII: 5C is the backslash of a path, 7E the tilde.
        QCOMPARE(decoded("A:\\~"), QStringLiteral("A:\\~"));
        QCOMPARE(encoded(QStringLiteral("A:\\~")), QByteArray("A:\\~"));
    }

    // Every byte below 80 is its own character, control codes included (1A, 1C and 7F
    // among them), whether or not double-byte text stands beside it.
    void bytesBelow80AreThemselves() {
        QByteArray ascii;
        QString expected;
        for (int byte = 0; byte < 0x80; ++byte) {
            ascii.append(static_cast<char>(byte));
            expected += QChar(byte);
        }
        QCOMPARE(decoded(ascii), expected);
        QCOMPARE(decoded(ascii + bytesOf({0x8E, 0xA6})), expected + QStringLiteral("示"));
        QCOMPARE(decodeCp932Field(ascii + bytesOf({0x8E})), expected);
        QCOMPARE(encoded(expected + QStringLiteral("示")), ascii + bytesOf({0x8E, 0xA6}));
        QCOMPARE(encoded(expected), ascii);
    }

    // What other systems type for the same glyphs is written as the CP932 character.
    void lookAlikesFromOtherSystemsAreWrittenAsTheCp932Character() {
        QCOMPARE(encoded(QString(QChar(0x301C))), bytesOf({0x81, 0x60}));
        QCOMPARE(encoded(QString(QChar(0x2212))), bytesOf({0x81, 0x7C}));
        QCOMPARE(encoded(QString(QChar(0x2016))), bytesOf({0x81, 0x61}));
        QCOMPARE(encoded(QString(QChar(0x2014))), bytesOf({0x81, 0x5C}));
        QCOMPARE(encoded(QString(QChar(0x00A2))), bytesOf({0x81, 0x91}));
        QCOMPARE(encoded(QString(QChar(0x00A3))), bytesOf({0x81, 0x92}));
        QCOMPARE(encoded(QString(QChar(0x00AC))), bytesOf({0x81, 0xCA}));
        QCOMPARE(encoded(QString(QChar(0x00A5))), QByteArray("\\"));
    }

    void circledNumbersAndRomanNumeralsRoundTrip() {
        QString circled;
        QByteArray circledBytes;
        for (int i = 0; i < 20; ++i) {
            circled += QChar(0x2460 + i); // ①..⑳
            circledBytes += bytesOf({0x87, 0x40 + i});
        }
        QCOMPARE(encoded(circled), circledBytes);
        QCOMPARE(decoded(circledBytes), circled);

        const QString roman = QStringLiteral("ⅠⅡⅢ");
        QCOMPARE(encoded(roman), bytesOf({0x87, 0x54, 0x87, 0x55, 0x87, 0x56}));
        QCOMPARE(decoded(bytesOf({0x87, 0x54, 0x87, 0x55, 0x87, 0x56})), roman);
        // The IBM row's copies read as the same numerals.
        QCOMPARE(decoded(bytesOf({0xFA, 0x4A, 0xFA, 0x4B, 0xFA, 0x4C})), roman);
    }

    void ordinaryJapaneseTextRoundTrips() {
        const QString text =
            QStringLiteral("表示ソ能予,ｶﾀｶﾅ　ひらがな漢字\r\n先生を呼びなさい。１２３ＡＢＣ");
        const QByteArray bytes = encoded(text);
        QVERIFY(bytes != "<refused>");
        QCOMPARE(decoded(bytes), text);
        // Half-width katakana is one byte each, full-width characters two.
        QCOMPARE(encoded(QStringLiteral("ｶﾀｶﾅ")).size(), 4);
        QCOMPARE(encoded(QStringLiteral("表示")), bytesOf({0x95, 0x5C, 0x8E, 0xA6}));
    }

    void longTextsConvertCompletely() {
        QString text;
        for (int i = 0; i < 50000; ++i)
            text += QStringLiteral("髙a\r\n");
        const QByteArray bytes = encoded(text);
        QCOMPARE(bytes.size(), 50000 * 5);
        QCOMPARE(decoded(bytes), text);
    }

    void charactersCp932CannotHoldAreRefused_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qsizetype>("badIndex");
        QTest::newRow("emoji") << QStringLiteral("ab😀c") << qsizetype(2);
        QTest::newRow("kanji outside the code page") << QStringLiteral("𠮷野") << qsizetype(0);
        QTest::newRow("hangul") << QStringLiteral("名前한") << qsizetype(2);
        QTest::newRow("lone surrogate") << QString::fromUtf16(u"x\xD800y") << qsizetype(1);
        QTest::newRow("broken-bar") << QStringLiteral("¦") << qsizetype(0);
    }
    void charactersCp932CannotHoldAreRefused() {
        QFETCH(QString, text);
        QFETCH(qsizetype, badIndex);
        qsizetype found = -1;
        QVERIFY(!encodeCp932(text, &found));
        QCOMPARE(found, badIndex);
        QVERIFY(!encodeCp932Field(text, 10));
    }

    void badBytesAreReportedWithTheirPlace_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qsizetype>("offset");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("column");
        QTest::newRow("lead byte before a blank")
            << QByteArray("ab\r\ncd\x81 e") << qsizetype(6) << 2 << 3;
        QTest::newRow("single 80") << QByteArray("\x80") << qsizetype(0) << 1 << 1;
        QTest::newRow("single A0 after kanji")
            << (encoded(QStringLiteral("髙橋\r\n\r\n一")) + "\xA0") << qsizetype(10) << 3 << 3;
        QTest::newRow("FD") << QByteArray("1,2\n3,\xFD") << qsizetype(6) << 2 << 3;
        QTest::newRow("unassigned cell 85 40") << QByteArray("x\x85\x40") << qsizetype(1) << 1 << 2;
        QTest::newRow("lead byte at the end") << QByteArray("abc\n\x82") << qsizetype(4) << 2 << 1;
        QTest::newRow("lead byte before a line end")
            << QByteArray("a\x82\r\nb") << qsizetype(1) << 1 << 2;
    }
    void badBytesAreReportedWithTheirPlace() {
        QFETCH(QByteArray, bytes);
        QFETCH(qsizetype, offset);
        QFETCH(int, line);
        QFETCH(int, column);
        Cp932Error error;
        QVERIFY(!decodeCp932(bytes, &error));
        QCOMPARE(error.byteOffset, offset);
        QCOMPARE(error.line, line);
        QCOMPARE(error.column, column);
        QVERIFY2(error.description.startsWith(
                     QStringLiteral("%1 行 %2 バイト目は").arg(line).arg(column)),
                 qPrintable(error.description));
        const QString badByte =
            QString::number(static_cast<unsigned char>(bytes[offset]), 16).toUpper();
        QVERIFY2(error.description.contains(badByte), qPrintable(error.description));
    }

    void emptyInputIsEmptyText() {
        QVERIFY(decodeCp932(QByteArray()).has_value());
        QCOMPARE(decoded(QByteArray()), QString());
        QCOMPARE(encoded(QString()), QByteArray());
        QCOMPARE(decodeCp932Field(QByteArray()), QString());
    }

    // Record 4 of the sample results file carries a school code cut after five bytes, in
    // the middle of a double-byte character.
    void fieldCutInsideADoubleByteCharacterIsRead() {
        const QByteArray file =
            TestInstallation::fixtureBytes(QStringLiteral("results-sample.dat"));
        QFile expectedFile(
            TestInstallation::fixturePath(QStringLiteral("results-sample.expected.txt")));
        QVERIFY(expectedFile.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(expectedFile.readAll()).split(u'\n');
        const QStringList record4 = lines.at(4).split(u'|');
        QCOMPARE(record4.first(), QStringLiteral("4"));
        const QByteArray code = QByteArray::fromHex(record4.last().toLatin1());
        QCOMPARE(code.size(), 5);
        constexpr int recordSize = 44, schoolCodeOffset = 24;
        QCOMPARE(file.mid(3 * recordSize + schoolCodeOffset, 5), code);

        QVERIFY(!decodeCp932(code)); // strictly it is not CP932 ...
        QCOMPARE(decodeCp932Field(code),
                 QStringLiteral("ﾐﾙﾈｱ")); // ... but its whole characters are read
        QCOMPARE(decodeCp932Field(file.mid(schoolCodeOffset, 5)), QStringLiteral("12345"));
    }

    void fieldDecodingReplacesOtherBadBytes() {
        QCOMPARE(decodeCp932Field(QByteArray("a\x80"
                                             "b")),
                 QString::fromUtf16(u"a\uFFFDb"));
        QCOMPARE(decodeCp932Field(QByteArray("\x81 x")), QString::fromUtf16(u"\uFFFD x"));
        QCOMPARE(decodeCp932Field(bytesOf({0x82, 0xA0, 0x82})), QStringLiteral("あ"));
        QCOMPARE(decodeCp932Field(bytesOf({0x82})), QString());
    }

    void fieldsAreEncodedToTheirWidth() {
        QCOMPARE(*encodeCp932Field(QStringLiteral("髙"), 5),
                 bytesOf({0xFB, 0xFC, 0x20, 0x20, 0x20}));
        QCOMPARE(*encodeCp932Field(QStringLiteral("12345ミルネア"), 5), QByteArray("12345"));
        QCOMPARE(*encodeCp932Field(QString(), 3), QByteArray("   "));
        QCOMPARE(*encodeCp932Field(QStringLiteral("abc"), 0), QByteArray());
        // A cut inside a double-byte character is what the field reader must cope with.
        const QByteArray cut = *encodeCp932Field(QStringLiteral("ミルネア"), 5);
        QCOMPARE(cut, bytesOf({0x83, 0x7E, 0x83, 0x8B, 0x83}));
        QCOMPARE(decodeCp932Field(cut), QStringLiteral("ミル"));
    }
};

QTEST_GUILESS_MAIN(Cp932Test)
#include "test_cp932.moc"
