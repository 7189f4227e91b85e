// The comma/line item stream: its syntax, its ends, the sample files of the schools, and
// the writer whose output reads back as the same items.
#include "support/TestInstallation.h"
#include "text/Cp932.h"
#include "text/ItemReader.h"
#include "text/ItemWriter.h"
#include "text/LenientNumber.h"

#include <QFile>
#include <QTest>

namespace {

// One item as "<line><q or -><$ or ->:<text>": 2q$:髙橋 is a quoted item on line 2 that
// ends its line.
QString describe(const Item& item) {
    return u"%1%2%3:%4"_qs.arg(item.line)
        .arg(QChar(item.quoted ? u'q' : u'-'))
        .arg(QChar(item.endsLine ? u'$' : u'-'))
        .arg(item.text);
}

QList<Item> itemsOf(const QString& text) {
    ItemReader reader(text);
    QList<Item> items;
    while (!reader.atEnd())
        items << reader.next().value(); // atEnd() false promises an item
    return items;
}

QStringList described(const QString& text) {
    QStringList result;
    for (const Item& item : itemsOf(text))
        result << describe(item);
    return result;
}

QList<Item> fixtureItems(const QString& name) {
    return itemsOf(decodeCp932(TestInstallation::fixtureBytes(name)).value());
}

QStringList expectedRows(const QString& name) {
    QFile file(TestInstallation::fixturePath(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing %s", qPrintable(name));
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    lines.removeFirst(); // the column headings
    return lines;
}

} // namespace

class ItemsTest : public QObject {
    Q_OBJECT

private slots:
    void syntax_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("commas, CR LF")
            << u"a,b\r\nc\r\n"_qs << QStringList{"1--:a", "1-$:b", "2-$:c"};
        QTest::newRow("LF, CR") << u"a,b\nc\rd"_qs
                                << QStringList{"1--:a", "1-$:b", "2-$:c", "3-$:d"};
        QTest::newRow("no final line end") << u"a\r\nb"_qs << QStringList{"1-$:a", "2-$:b"};
        QTest::newRow("final empty lines") << u"a\r\n\r\n  \r\n"_qs << QStringList{"1-$:a"};
        QTest::newRow("empty and blank lines between")
            << u"\r\na\r\n\r\n \t \r\nb"_qs << QStringList{"2-$:a", "5-$:b"};
        QTest::newRow("comma before the line end")
            << u"a,\r\nb"_qs << QStringList{"1--:a", "1-$:", "2-$:b"};
        QTest::newRow("comma at the very end") << u"a,"_qs << QStringList{"1--:a", "1-$:"};
        QTest::newRow("empty fields")
            << u",a,,b"_qs << QStringList{"1--:", "1--:a", "1--:", "1-$:b"};
        QTest::newRow("blanks around items")
            << u"  a b  ,\tc\t\r\n"_qs << QStringList{"1--:a b", "1-$:c"};
        QTest::newRow("full-width space is text")
            << u"　髙橋　,b"_qs << QStringList{"1--:　髙橋　", "1-$:b"};
        QTest::newRow("quoted with comma") << u"\"x, y\",z"_qs << QStringList{"1q-:x, y", "1-$:z"};
        QTest::newRow("quoted keeps its blanks")
            << u"  \" a \"  ,b"_qs << QStringList{"1q-: a ", "1-$:b"};
        QTest::newRow("quoted empty") << u"\"\"\r\n\"\""_qs << QStringList{"1q$:", "2q$:"};
        QTest::newRow("after the closing quote")
            << u"\"ab\"cd,e"_qs << QStringList{"1q-:ab", "1-$:e"};
        QTest::newRow("quote left open") << u"\"abc\r\nd"_qs << QStringList{"1q$:abc", "2-$:d"};
        QTest::newRow("quote inside an item") << u"ab\"c,d"_qs << QStringList{"1--:ab\"c", "1-$:d"};
        QTest::newRow("only line ends") << u"\r\n\r\n"_qs << QStringList{};
    }
    void syntax() {
        QFETCH(QString, text);
        QFETCH(QStringList, items);
        QCOMPARE(described(text), items);
    }

    void theEndOfTheFileIsDetectable() {
        ItemReader reader(u"a,b\r\n\r\n"_qs);
        QCOMPARE(reader.next()->text, u"a"_qs);
        QVERIFY(!reader.atEnd());
        QCOMPARE(reader.next()->text, u"b"_qs);
        QCOMPARE(reader.line(), 2);
        QVERIFY(reader.atEnd());
        QVERIFY(!reader.next());
        QVERIFY(!reader.next()); // and stays ended

        ItemReader comma(u"a,"_qs); // a final "," still promises an (empty) item
        QVERIFY(comma.next());
        QVERIFY(!comma.atEnd());
        QVERIFY(comma.next());
        QVERIFY(comma.atEnd());
    }

    void rosterSample() {
        const QList<Item> items = fixtureItems(u"roster-cp932.txt"_qs);
        const QStringList rows = expectedRows(u"roster-cp932.expected.txt"_qs);
        QCOMPARE(items.size(), rows.size() * 8);
        for (qsizetype row = 0; row < rows.size(); ++row) {
            const QStringList values = rows[row].split(u'|');
            for (int column = 0; column < 8; ++column) {
                const Item& item = items[row * 8 + column];
                QCOMPARE(item.text, values[column]);
                QCOMPARE(item.endsLine, column == 7);
                QCOMPARE(item.line, row + 1);
            }
            // Names are quoted, except on the one line written with bare texts.
            QCOMPARE(items[row * 8 + 4].quoted, values[0] != u"5"_qs);
        }
    }

    // Bare fields only: the items are the lines split at "," with their blanks dropped.
    void criteriaSample() {
        const QList<Item> items = fixtureItems(u"criteria-cp932.txt"_qs);
        const QStringList lines =
            decodeCp932(TestInstallation::fixtureBytes(u"criteria-cp932.txt"_qs))
                ->split(u"\r\n"_qs, Qt::SkipEmptyParts);
        QCOMPARE(items.size(), 4 * 12);
        for (qsizetype i = 0; i < items.size(); ++i) {
            QCOMPARE(items[i].text, lines[i / 12].split(u',')[i % 12].trimmed());
            QCOMPARE(items[i].endsLine, i % 12 == 11);
        }
        QCOMPARE(items[36].text, u"30"_qs); // written " 30 "
    }

    // Sections of the sound table: a cue name, its file names, "*". The quoted name with
    // a trailing blank keeps the blank and so matches no cue.
    void soundTableSample() {
        const QList<Item> items = fixtureItems(u"sound-table-cp932.txt"_qs);
        const QStringList cues = {"正解音2", "間違い音2", "自己最高音2", "不合格音1"};
        QMap<QString, QStringList> files;
        QMap<QString, int> counts;
        for (qsizetype i = 0; i < items.size(); ++i) {
            const QString cue = items[i].text;
            if (!cues.contains(cue))
                continue;
            for (int slot = 0; ++i < items.size() && items[i].text != u"*"_qs; ++slot) {
                files[cue].resize(qMax(files[cue].size(), qsizetype(slot + 1)));
                files[cue][slot] = items[i].text;
                counts[cue] = slot + 1;
            }
        }
        const QStringList rows = expectedRows(u"sound-table-cp932.expected.txt"_qs);
        QCOMPARE(counts.size(), rows.size());
        for (const QString& row : rows) {
            const QStringList parts = row.split(u'|');
            QCOMPARE(counts.value(parts[0]), parts[1].toInt());
            QCOMPARE(files.value(parts[0]).join(u','), parts[2]);
        }
        QVERIFY(std::any_of(items.begin(), items.end(), [](const Item& item) {
            return item.quoted && item.text == u"間違い音2 "_qs;
        }));
    }

    void writtenItemsReadBackTheSame() {
        const QStringList texts = {"", " padded ", "髙橋, 一郎", "　全角", "A:\\", "*"};
        ItemWriter writer;
        for (const QString& text : texts)
            writer.text(text);
        writer.number(1.5);
        writer.number(-2);
        writer.bare(QString());
        writer.endLine();
        writer.number(4);
        writer.endLine();
        QVERIFY(writer.result().endsWith(u"\"*\",1.5,-2,\r\n4\r\n"_qs));
        QVERIFY(!writer.lossy());
        const QList<Item> items = itemsOf(writer.result());
        QCOMPARE(items.size(), texts.size() + 4);
        for (qsizetype i = 0; i < texts.size(); ++i)
            QVERIFY(items[i].quoted && items[i].text == texts[i]);
        QCOMPARE(describe(items[8]), u"1-$:"_qs);
        QCOMPARE(describe(items[9]), u"2-$:4"_qs);
    }

    void numbersAreShortestAndReadBackExactly_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 4.0 << u"4"_qs;
        QTest::newRow("tenth") << 0.1 << u"0.1"_qs;
        QTest::newRow("single 1.3") << double(1.3f) << u"1.2999999523162842"_qs;
        QTest::newRow("large") << 1e20 << u"100000000000000000000"_qs; // never an exponent
        QTest::newRow("small") << -1e-7 << u"-0.0000001"_qs;
        QTest::newRow("negative zero") << -0.0 << u"0"_qs;
        QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << u"0"_qs;
    }
    void numbersAreShortestAndReadBackExactly() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(ItemWriter::numberText(value), text);
        if (std::isfinite(value))
            QCOMPARE(lenientNumber(text), value);
    }

    void textsTheSyntaxCannotCarryAreMarkedLossy() {
        ItemWriter writer;
        writer.text(u"say \"hi\"\r\nnow"_qs);
        writer.number(1);
        QVERIFY(writer.lossy());
        QCOMPARE(described(writer.result()), (QStringList{"1q-:say ＂hi＂  now", "1-$:1"}));
    }

    // The configuration sample is written with texts quoted and numbers bare: reading it
    // and writing the items back gives the same bytes.
    void configSampleIsRewrittenByteForByte() {
        const QByteArray original = TestInstallation::fixtureBytes(u"config-cp932.txt"_qs);
        const QList<Item> items = itemsOf(decodeCp932(original).value());
        QCOMPARE(items.size(), 10);
        QCOMPARE(items[1].text, u"12345ミルネア塾　本校"_qs);
        ItemWriter writer;
        for (const Item& item : items) {
            if (item.quoted)
                writer.text(item.text);
            else
                writer.number(lenientNumber(item.text));
            if (item.endsLine)
                writer.endLine();
        }
        QCOMPARE(encodeCp932(writer.result()).value(), original);
    }
};

QTEST_GUILESS_MAIN(ItemsTest)
#include "test_items.moc"
