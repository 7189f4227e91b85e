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

// One item as "<line><q or -><$ or ->:<text>", e.g. 2q$:髙橋 for a quoted item on line 2
// that ends its line.
QString describe(const Item& item) {
    return QStringLiteral("%1%2%3:%4")
        .arg(item.line)
        .arg(QChar(item.quoted ? u'q' : u'-'))
        .arg(QChar(item.endsLine ? u'$' : u'-'))
        .arg(item.text);
}

QStringList readAll(const QString& text) {
    ItemReader reader(text);
    QStringList items;
    while (std::optional<Item> item = reader.next())
        items << describe(*item);
    return items;
}

QList<Item> itemsOf(const QString& text) {
    ItemReader reader(text);
    QList<Item> items;
    while (!reader.atEnd()) {
        std::optional<Item> item = reader.next();
        if (!item)
            qFatal("atEnd() was false but next() gave nothing");
        items << *item;
    }
    return items;
}

QString fixtureText(const QString& name) {
    const std::optional<QString> text = decodeCp932(TestInstallation::fixtureBytes(name));
    if (!text)
        qFatal("fixture %s is not CP932", qPrintable(name));
    return *text;
}

QStringList expectedLines(const QString& name) {
    QFile file(TestInstallation::fixturePath(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing %s", qPrintable(name));
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// Writes items back as they were read: quoted ones as texts, the others as numbers.
QString rewrite(const QList<Item>& items, bool numbersAsValues) {
    ItemWriter writer;
    for (const Item& item : items) {
        if (item.quoted)
            writer.text(item.text);
        else if (numbersAsValues)
            writer.number(lenientNumber(item.text));
        else
            writer.bare(item.text);
        if (item.endsLine)
            writer.endLine();
    }
    return writer.result();
}

} // namespace

class ItemsTest : public QObject {
    Q_OBJECT

private slots:
    void syntax_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("commas and CR LF")
            << QStringLiteral("a,b\r\nc\r\n") << QStringList{"1--:a", "1-$:b", "2-$:c"};
        QTest::newRow("lone LF") << QStringLiteral("a,b\nc\n")
                                 << QStringList{"1--:a", "1-$:b", "2-$:c"};
        QTest::newRow("lone CR") << QStringLiteral("a\rb") << QStringList{"1-$:a", "2-$:b"};
        QTest::newRow("no final line end")
            << QStringLiteral("a\r\nb") << QStringList{"1-$:a", "2-$:b"};
        QTest::newRow("several final line ends")
            << QStringLiteral("a\r\nb\r\n\r\n  \r\n") << QStringList{"1-$:a", "2-$:b"};
        QTest::newRow("empty line between")
            << QStringLiteral("a\r\n\r\nb\r\n") << QStringList{"1-$:a", "3-$:b"};
        QTest::newRow("blank line between")
            << QStringLiteral("a\r\n \t \r\nb") << QStringList{"1-$:a", "3-$:b"};
        QTest::newRow("empty lines first")
            << QStringLiteral("\r\n\na,b") << QStringList{"3--:a", "3-$:b"};
        QTest::newRow("comma before the line end")
            << QStringLiteral("a,\r\nb") << QStringList{"1--:a", "1-$:", "2-$:b"};
        QTest::newRow("comma at the very end")
            << QStringLiteral("a,") << QStringList{"1--:a", "1-$:"};
        QTest::newRow("empty fields")
            << QStringLiteral("a,,b,\r\n") << QStringList{"1--:a", "1--:", "1--:b", "1-$:"};
        QTest::newRow("line starting with a comma")
            << QStringLiteral(",a") << QStringList{"1--:", "1-$:a"};
        QTest::newRow("blanks around items")
            << QStringLiteral("  a b  ,\tc\t\r\n") << QStringList{"1--:a b", "1-$:c"};
        QTest::newRow("full-width space is text")
            << QStringLiteral("　髙橋　,b") << QStringList{"1--:　髙橋　", "1-$:b"};
        QTest::newRow("quoted with comma")
            << QStringLiteral("\"x, y\",z") << QStringList{"1q-:x, y", "1-$:z"};
        QTest::newRow("quoted keeps its blanks")
            << QStringLiteral("  \" a \"  ,b") << QStringList{"1q-: a ", "1-$:b"};
        QTest::newRow("quoted empty")
            << QStringLiteral("\"\"\r\n\"\"") << QStringList{"1q$:", "2q$:"};
        QTest::newRow("after the closing quote")
            << QStringLiteral("\"ab\"cd,e") << QStringList{"1q-:ab", "1-$:e"};
        QTest::newRow("quote left open")
            << QStringLiteral("\"abc\r\nd") << QStringList{"1q$:abc", "2-$:d"};
        QTest::newRow("quote inside an unquoted item")
            << QStringLiteral("ab\"c,d") << QStringList{"1--:ab\"c", "1-$:d"};
        QTest::newRow("empty text") << QString() << QStringList{};
        QTest::newRow("only line ends") << QStringLiteral("\r\n\r\n") << QStringList{};
    }
    void syntax() {
        QFETCH(QString, text);
        QFETCH(QStringList, items);
        QCOMPARE(readAll(text), items);
    }

    void theEndOfTheFileIsDetectable() {
        ItemReader reader(QStringLiteral("a,b\r\n\r\n"));
        QVERIFY(!reader.atEnd());
        QCOMPARE(reader.next()->text, QStringLiteral("a"));
        QVERIFY(!reader.atEnd());
        QCOMPARE(reader.next()->text, QStringLiteral("b"));
        QCOMPARE(reader.line(), 2);
        QVERIFY(reader.atEnd());
        QVERIFY(!reader.next());
        QVERIFY(!reader.next()); // and stays ended
        QVERIFY(reader.atEnd());

        // A "," at the very end still promises an (empty) item.
        ItemReader comma(QStringLiteral("a,"));
        QVERIFY(comma.next());
        QVERIFY(!comma.atEnd());
        QCOMPARE(comma.next()->text, QString());
        QVERIFY(comma.atEnd());

        ItemReader empty(QStringLiteral(" \r\n "));
        QVERIFY(empty.atEnd());
        QVERIFY(!empty.next());
    }

    void rosterSample() {
        const QList<Item> items = itemsOf(fixtureText(QStringLiteral("roster-cp932.txt")));
        const QStringList expected = expectedLines(QStringLiteral("roster-cp932.expected.txt"));
        QCOMPARE(items.size(), (expected.size() - 1) * 8);
        for (qsizetype row = 1; row < expected.size(); ++row) {
            const QStringList values = expected[row].split(u'|');
            QCOMPARE(values.size(), 8);
            for (int column = 0; column < 8; ++column) {
                const Item& item = items[(row - 1) * 8 + column];
                QCOMPARE(item.text, values[column]);
                QCOMPARE(item.endsLine, column == 7);
                QCOMPARE(item.line, int(row));
            }
        }
        // Names are quoted, except on the one line written with bare texts.
        for (qsizetype row = 0; row < items.size() / 8; ++row)
            QCOMPARE(items[row * 8 + 4].quoted, items[row * 8].text != QStringLiteral("5"));
    }

    // The criteria file holds bare fields only: its items are its lines split at ",".
    void criteriaSample() {
        const QString text = fixtureText(QStringLiteral("criteria-cp932.txt"));
        const QList<Item> items = itemsOf(text);
        QStringList lines = text.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.takeLast(), QString());
        QCOMPARE(lines.size(), 4);
        QCOMPARE(items.size(), 4 * 12);
        for (qsizetype row = 0; row < lines.size(); ++row) {
            const QStringList fields = lines[row].split(u',');
            QCOMPARE(fields.size(), 12);
            for (int column = 0; column < 12; ++column) {
                const Item& item = items[row * 12 + column];
                QCOMPARE(item.text, fields[column].trimmed());
                QVERIFY(!item.quoted);
                QCOMPARE(item.endsLine, column == 11);
            }
        }
        QCOMPARE(items[0].text, QStringLiteral("目標Time"));
        QCOMPARE(items[36].text, QStringLiteral("30")); // written " 30 "
        QCOMPARE(lenientNumber(items[12 + 4].text), 1.5);
        QCOMPARE(lenientNumber(items[24 + 5].text), 0.0); // empty field
    }

    void configSample() {
        const QString text = fixtureText(QStringLiteral("config-cp932.txt"));
        const QList<Item> items = itemsOf(text);
        QStringList lines = text.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.takeLast(), QString());
        QCOMPARE(items.size(), 10);
        for (qsizetype i = 0; i < items.size(); ++i) {
            const bool quoted = lines[i].startsWith(u'"');
            QCOMPARE(items[i].quoted, quoted);
            QCOMPARE(items[i].text, quoted ? lines[i].mid(1, lines[i].size() - 2) : lines[i]);
            QVERIFY(items[i].endsLine);
        }
        QCOMPARE(items[1].text, QStringLiteral("12345ミルネア塾　本校"));
        QCOMPARE(items[4].text, QStringLiteral("A:\\"));
    }

    // Sections of the sound table: a cue name, its file names, "*". The quoted name with
    // a trailing blank must keep the blank (it matches no cue).
    void soundTableSample() {
        const QList<Item> items = itemsOf(fixtureText(QStringLiteral("sound-table-cp932.txt")));
        const QStringList cueNames = {"正解音1",     "正解音2",  "間違い音1",   "間違い音2",
                                      "最高音1",     "最高音2",  "自己最高音1", "自己最高音2",
                                      "自己最高音3", "不合格音1"};
        QMap<QString, QStringList> files;
        QMap<QString, int> counts;
        for (qsizetype i = 0; i < items.size(); ++i) {
            if (!cueNames.contains(items[i].text))
                continue;
            const QString cue = items[i].text;
            int j = 1;
            for (++i; i < items.size() && j <= 20; ++i, ++j) {
                if (items[i].text == QStringLiteral("*")) {
                    counts[cue] = j - 1;
                    break;
                }
                QStringList& names = files[cue];
                while (names.size() < j)
                    names << QString();
                names[j - 1] = items[i].text;
            }
        }
        QStringList expected = expectedLines(QStringLiteral("sound-table-cp932.expected.txt"));
        expected.removeFirst();
        QCOMPARE(counts.size(), expected.size());
        for (const QString& line : expected) {
            const QStringList parts = line.split(u'|');
            QCOMPARE(counts.value(parts[0], -1), parts[1].toInt());
            QCOMPARE(files.value(parts[0]).join(u','), parts[2]);
        }
        const auto blankName = std::find_if(items.begin(), items.end(), [](const Item& item) {
            return item.text.startsWith(QStringLiteral("間違い音2")) && item.quoted;
        });
        QVERIFY(blankName != items.end());
        QCOMPARE(blankName->text, QStringLiteral("間違い音2 "));
    }

    void writerLayout() {
        ItemWriter writer;
        writer.text(QStringLiteral("髙橋, 一郎"));
        writer.number(1.5);
        writer.number(-2);
        writer.bare(QString());
        writer.endLine();
        writer.number(4);
        writer.endLine();
        QCOMPARE(writer.result(), QStringLiteral("\"髙橋, 一郎\",1.5,-2,\r\n4\r\n"));
        QCOMPARE(readAll(writer.result()),
                 (QStringList{"1q-:髙橋, 一郎", "1--:1.5", "1--:-2", "1-$:", "2-$:4"}));
        QVERIFY(!writer.lossy());
    }

    void writerRoundTripsThroughTheReader() {
        const QStringList texts = {"", " padded ", "a,b", "　全角", "ｶﾀｶﾅ", "A:\\", "*"};
        ItemWriter writer;
        for (const QString& text : texts)
            writer.text(text);
        writer.endLine();
        const QList<Item> items = itemsOf(writer.result());
        QCOMPARE(items.size(), texts.size());
        for (qsizetype i = 0; i < texts.size(); ++i) {
            QCOMPARE(items[i].text, texts[i]);
            QVERIFY(items[i].quoted);
        }
    }

    void numbersAreShortestAndReadBackExactly_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 4.0 << QStringLiteral("4");
        QTest::newRow("fraction") << 1.5 << QStringLiteral("1.5");
        QTest::newRow("negative") << -2.0 << QStringLiteral("-2");
        QTest::newRow("tenth") << 0.1 << QStringLiteral("0.1");
        QTest::newRow("single precision 1.3")
            << double(1.3f) << QStringLiteral("1.2999999523162842");
        QTest::newRow("timed out") << 99999.0 << QStringLiteral("99999");
        QTest::newRow("large") << 1e20 << QStringLiteral("100000000000000000000");
        QTest::newRow("small") << 1e-7 << QStringLiteral("0.0000001");
        QTest::newRow("negative zero") << -0.0 << QStringLiteral("0");
        QTest::newRow("day and time") << 46365.37855324074 << QStringLiteral("46365.37855324074");
    }
    void numbersAreShortestAndReadBackExactly() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(ItemWriter::numberText(value), text);
        QCOMPARE(lenientNumber(text), value == 0 ? 0.0 : value);
    }

    void numbersWithoutAValueAreWrittenAsZero() {
        QCOMPARE(ItemWriter::numberText(std::numeric_limits<double>::quiet_NaN()),
                 QStringLiteral("0"));
        QCOMPARE(ItemWriter::numberText(std::numeric_limits<double>::infinity()),
                 QStringLiteral("0"));
    }

    void textsTheSyntaxCannotCarryAreMarkedLossy() {
        ItemWriter writer;
        writer.text(QStringLiteral("say \"hi\"\r\nnow"));
        writer.number(1);
        writer.endLine();
        QVERIFY(writer.lossy());
        // The line keeps its two items.
        QCOMPARE(readAll(writer.result()), (QStringList{"1q-:say ＂hi＂  now", "1-$:1"}));
    }

    // The configuration sample is written with texts quoted and numbers bare: reading it
    // and writing the items back gives the same bytes.
    void configSampleIsRewrittenByteForByte() {
        const QByteArray original =
            TestInstallation::fixtureBytes(QStringLiteral("config-cp932.txt"));
        const QList<Item> items = itemsOf(*decodeCp932(original));
        QCOMPARE(*encodeCp932(rewrite(items, true)), original);
        QCOMPARE(*encodeCp932(rewrite(items, false)), original);
    }

    // The criteria file is written bare; all but its padded field come back the same.
    void criteriaSampleIsRewrittenWithItsPaddingDropped() {
        const QByteArray original =
            TestInstallation::fixtureBytes(QStringLiteral("criteria-cp932.txt"));
        const QList<Item> items = itemsOf(*decodeCp932(original));
        QByteArray expected = original;
        expected.replace(" 30 ,", "30,");
        QCOMPARE(*encodeCp932(rewrite(items, false)), expected);
    }
};

QTEST_GUILESS_MAIN(ItemsTest)
#include "test_items.moc"
