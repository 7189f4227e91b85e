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
    return decodeCp932(bytes).value_or(u"<error>"_qs);
}
QByteArray encoded(const QString& text) {
    return encodeCp932(text).value_or("<refused>");
}

// The double-byte cells from one cell to another in code order (trail 40..7E, 80..FC).
QList<QByteArray> cells(int fromLead, int fromTrail, int toLead, int toTrail) {
    QList<QByteArray> result;
    for (int cell = fromLead * 256 + fromTrail; cell <= toLead * 256 + toTrail; ++cell)
        if ((cell & 0xFF) >= 0x40 && (cell & 0xFF) <= 0xFC && (cell & 0xFF) != 0x7F)
            result.append(bytesOf({cell >> 8, cell & 0xFF}));
    return result;
}

} // namespace

class Cp932Test : public QObject {
    Q_OBJECT

private slots:
    // The NEC-selected rows hold the IBM extension in the same order: 360 kanji (ED 40 ..
    // EE EC against FA 5C .. FC 4B), then ⅰ..ⅹ, ￢, ￤, ＇, ＂. Each cell must read as the
    // character of its IBM twin and write as the form Windows writes for it.
    void bothFormsOfTheIbmExtensionReadAlikeAndWriteTheWindowsForm() {
        QCOMPARE(decoded(bytesOf({0xEE, 0xE0})), u"髙"_qs);
        QCOMPARE(encoded(u"髙"_qs), bytesOf({0xFB, 0xFC}));
        QCOMPARE(decoded(bytesOf({0xED, 0x95})), u"﨑"_qs);
        QCOMPARE(encoded(u"﨑"_qs), bytesOf({0xFA, 0xB1}));

        const QList<QByteArray> nec = cells(0xED, 0x40, 0xEE, 0xEC);
        const QList<QByteArray> ibm = cells(0xFA, 0x5C, 0xFC, 0x4B);
        QCOMPARE(nec.size(), 360);
        QCOMPARE(ibm.size(), 360);
        QList<QPair<QByteArray, QByteArray>> pairs; // NEC-selected form, Windows form
        for (qsizetype i = 0; i < nec.size(); ++i)
            pairs.append({nec[i], ibm[i]});
        for (int i = 0; i < 10; ++i) // small roman numerals
            pairs.append({bytesOf({0xEE, 0xEF + i}), bytesOf({0xFA, 0x40 + i})});
        pairs.append({bytesOf({0xEE, 0xF9}), bytesOf({0x81, 0xCA})}); // ￢, the JIS row form
        for (int i = 0; i < 3; ++i)                                   // ￤ ＇ ＂
            pairs.append({bytesOf({0xEE, 0xFA + i}), bytesOf({0xFA, 0x55 + i})});
        QSet<QString> seen;
        for (const auto& [necForm, windowsForm] : pairs) {
            const QString character = decoded(necForm);
            QVERIFY2(character.size() == 1 && character == decoded(windowsForm) &&
                         encoded(character) == windowsForm,
                     necForm.toHex().constData());
            seen.insert(character);
        }
        QCOMPARE(seen.size(), pairs.size()); // no two cells collapse into one character
    }

    void charactersWindowsWritesAsItDoes_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("readsBack");
        QTest::newRow("～ and －") << u"～－"_qs << bytesOf({0x81, 0x60, 0x81, 0x7C}) << true;
        QTest::newRow("path and tilde") << u"A:\\~"_qs << QByteArray("A:\\~") << true;
        QTest::newRow("trail byte 5C")
            << u"表示ｶﾅ"_qs << bytesOf({0x95, 0x5C, 0x8E, 0xA6, 0xB6, 0xC5}) << true;
        QTest::newRow("Ⅰ..Ⅲ") << u"ⅠⅡⅢ"_qs << bytesOf({0x87, 0x54, 0x87, 0x55, 0x87, 0x56}) << true;
        QString circled;
        QByteArray circledBytes;
        for (int i = 0; i < 20; ++i) {
            circled += QChar(0x2460 + i); // ①..⑳
            circledBytes += bytesOf({0x87, 0x40 + i});
        }
        QTest::newRow("①..⑳") << circled << circledBytes << true;
        // What other systems type for the same glyphs is written as the CP932 character.
        QTest::newRow("〜 − ‖ —") << u"\u301C\u2212\u2016\u2014"_qs
                                  << bytesOf({0x81, 0x60, 0x81, 0x7C, 0x81, 0x61, 0x81, 0x5C})
                                  << false;
        QTest::newRow("¢ £ ¬ ¥") << u"\u00A2\u00A3\u00AC\u00A5"_qs
                                 << bytesOf({0x81, 0x91, 0x81, 0x92, 0x81, 0xCA, 0x5C}) << false;
    }
    void charactersWindowsWritesAsItDoes() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, readsBack);
        QCOMPARE(encoded(text), bytes);
        if (readsBack)
            QCOMPARE(decoded(bytes), text);
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
        QCOMPARE(decoded(ascii + bytesOf({0x8E, 0xA6})), expected + u"示"_qs);
        QCOMPARE(decodeCp932Field(ascii + bytesOf({0x8E})), expected);
        QCOMPARE(encoded(expected + u"示"_qs), ascii + bytesOf({0x8E, 0xA6}));
    }

    void longTextsConvertCompletely() {
        const QString text = u"髙a\r\n"_qs.repeated(50000);
        const QByteArray bytes = encoded(text);
        QCOMPARE(bytes.size(), 50000 * 5);
        QCOMPARE(decoded(bytes), text);
    }

    void charactersCp932CannotHoldAreRefused_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qsizetype>("badIndex");
        QTest::newRow("emoji") << u"ab😀c"_qs << qsizetype(2);
        QTest::newRow("kanji outside the code page") << u"𠮷野"_qs << qsizetype(0);
        QTest::newRow("hangul") << u"名前한"_qs << qsizetype(2);
        QTest::newRow("lone surrogate") << QString::fromUtf16(u"x\xD800y") << qsizetype(1);
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
        QTest::newRow("A0 after kanji")
            << (encoded(u"髙橋\r\n\r\n一"_qs) + "\xA0") << qsizetype(10) << 3 << 3;
        QTest::newRow("FD") << QByteArray("1,2\n3,\xFD") << qsizetype(6) << 2 << 3;
        QTest::newRow("unassigned cell 85 40") << QByteArray("x\x85\x40") << qsizetype(1) << 1 << 2;
        QTest::newRow("lead byte at the end") << QByteArray("abc\n\x82") << qsizetype(4) << 2 << 1;
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
        const QString badByte = QString::number(quint8(bytes[offset]), 16).toUpper();
        QVERIFY2(error.description.startsWith(u"%1 行 %2 バイト目は"_qs.arg(line).arg(column)) &&
                     error.description.contains(badByte),
                 qPrintable(error.description));
    }

    // Record 4 of the sample results file carries a school code cut after five bytes, in
    // the middle of a double-byte character.
    void fieldCutInsideADoubleByteCharacterIsRead() {
        const QByteArray file = TestInstallation::fixtureBytes(u"results-sample.dat"_qs);
        QFile expected(TestInstallation::fixturePath(u"results-sample.expected.txt"_qs));
        QVERIFY(expected.open(QIODevice::ReadOnly));
        const QStringList record4 =
            QString::fromUtf8(expected.readAll()).split(u'\n')[4].split(u'|');
        const QByteArray code = QByteArray::fromHex(record4.last().toLatin1());
        constexpr int recordSize = 44, schoolCodeOffset = 24;
        QCOMPARE(file.mid(3 * recordSize + schoolCodeOffset, 5), code);
        QVERIFY(!decodeCp932(code));                  // strictly it is not CP932,
        QCOMPARE(decodeCp932Field(code), u"ﾐﾙﾈｱ"_qs); // but its whole characters are read
    }

    void fieldsAreDecodedAndEncoded() {
        QCOMPARE(decodeCp932Field("a\x80"
                                  "b"),
                 QString::fromUtf16(u"a\uFFFDb"));
        QCOMPARE(decodeCp932Field("\x81 x"), QString::fromUtf16(u"\uFFFD x"));
        QCOMPARE(decodeCp932Field(QByteArray()), QString());
        QCOMPARE(*encodeCp932Field(u"髙"_qs, 5), bytesOf({0xFB, 0xFC, 0x20, 0x20, 0x20}));
        QCOMPARE(*encodeCp932Field(u"abc"_qs, 0), QByteArray());
        // A cut inside a double-byte character is what the field reader must cope with.
        const QByteArray cut = *encodeCp932Field(u"ミルネア"_qs, 5);
        QCOMPARE(cut, bytesOf({0x83, 0x7E, 0x83, 0x8B, 0x83}));
        QCOMPARE(decodeCp932Field(cut), u"ミル"_qs);
    }
};

QTEST_GUILESS_MAIN(Cp932Test)
#include "test_cp932.moc"
