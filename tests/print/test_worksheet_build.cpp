// The worksheet table read from "プロト.csv" and the worksheet built from it: the lines of
// the chosen levels, the shuffle, the five blanking modes, the numbering and the column
// edges, with the random draws scripted.

#include "PrintTestSupport.h"
#include "makedemo/DemoInstallation.h"
#include "print/WorksheetBuild.h"
#include "print/WorksheetSource.h"

#include <QtTest>

using namespace printtest;

namespace {

WorksheetChoice levels(std::initializer_list<int> chosen, int mode = printAll,
                       bool shuffle = false) {
    WorksheetChoice c;
    for (int level : chosen) {
        c.levels[static_cast<std::size_t>(level)] = true;
    }
    c.mode = mode;
    c.shuffle = shuffle;
    return c;
}

QStringList row(const WorksheetTable& t, int r) {
    QStringList cells;
    for (int c = 1; c <= 6; ++c) {
        cells.push_back(t.text(c, r));
    }
    return cells;
}

std::vector<WorksheetLine> numberedLines(int count, int level = 1) {
    std::vector<WorksheetLine> lines;
    for (int i = 1; i <= count; ++i) {
        lines.push_back({level,
                         {QStringLiteral("a%1").arg(i), QStringLiteral("b%1").arg(i),
                          QStringLiteral("c%1").arg(i)},
                         i});
    }
    return lines;
}

} // namespace

class WorksheetBuildTest : public QObject {
    Q_OBJECT

private slots:
    void theSchoolsTableIsReadAndItsBadLinesNamed() {
        TestInstallation inst;
        const QString path = inst.copyFixture(QStringLiteral("worksheet-cp932.csv"),
                                              worksheetSourcePath(inst.state));
        const WorksheetSource source = readWorksheetSource(path);
        QCOMPARE(source.lines.size(), std::size_t(6));
        const WorksheetLine& first = source.lines[0];
        QCOMPARE(first.level, 1);
        QCOMPARE(first.parts[0], QStringLiteral("猿も"));
        QCOMPARE(first.parts[2], QStringLiteral("落ちる"));
        QCOMPARE(source.lines[3].parts[2], QStringLiteral("（遠回り、でも確実）"));
        QCOMPARE(source.lines[4].parts[2], QStringLiteral("～"));
        QCOMPARE(source.lines[5].level, 8);
        QCOMPARE(source.lines[5].line, 8);
        QCOMPARE(source.lines[5].parts[1], QStringLiteral("②"));
        // Line 6 holds four values, line 7 level 9: both are named, the rest is kept.
        QCOMPARE(source.problems.size(), 2);
        QVERIFY2(source.problems[0].contains(QStringLiteral("プロト.csv の 6 行目")),
                 qPrintable(source.problems[0]));
        QVERIFY2(source.problems[1].contains(QStringLiteral("プロト.csv の 7 行目")) &&
                     source.problems[1].contains(QStringLiteral("9")),
                 qPrintable(source.problems[1]));
    }

    void aMissingOrUnreadableTableIsNamed() {
        TestInstallation inst;
        WorksheetSource source = readWorksheetSource(worksheetSourcePath(inst.state));
        QVERIFY(source.lines.empty());
        QCOMPARE(source.problems.size(), 1);
        QVERIFY2(source.problems[0].contains(QStringLiteral("プロト.csv")),
                 qPrintable(source.problems[0]));

        // Bytes that are not CP932 are named with their line; nothing is taken.
        inst.writeBytes(worksheetSourcePath(inst.state),
                        "1,\"a\",\"b\",\"c\",,,,0,0\r\n2,\"\x81\"");
        source = readWorksheetSource(worksheetSourcePath(inst.state));
        QVERIFY(source.lines.empty());
        QCOMPARE(source.problems.size(), 1);

        // A level that is no number is outside 1..8 as well.
        writeTable(inst, tableLine(1, "a", "b", "c") +
                             QStringLiteral("\"x\",\"d\",\"e\",\"f\",\"\",\"\",\"\",0,0\r\n"));
        source = readWorksheetSource(worksheetSourcePath(inst.state));
        QCOMPARE(source.lines.size(), std::size_t(1));
        QVERIFY(source.problems.value(0).contains(QStringLiteral("2 行目")));
    }

    void theChosenLevelsAreTakenInFileOrder() {
        TestInstallation inst;
        QString text;
        const int fileLevels[] = {1, 2, 5, 3, 2, 8, 5, 5, 4, 2};
        for (int i = 0; i < 10; ++i) {
            text += tableLine(fileLevels[i], QStringLiteral("上%1").arg(i + 1),
                              QStringLiteral("中%1").arg(i + 1), QStringLiteral("下%1").arg(i + 1));
        }
        const WorksheetSource source = readWorksheetSource(writeTable(inst, text));
        QVERIFY(source.problems.isEmpty());
        WorksheetTable t;
        buildWorksheet(t, source.lines, levels({2, 5}), inst.env);
        QCOMPARE(t.worksheetRows, 6);
        const int expected[] = {2, 3, 5, 7, 8, 10}; // the file lines of levels 2 and 5
        for (int r = 1; r <= 6; ++r) {
            QCOMPARE(row(t, r), (QStringList{QString(QChar(0x2460 + r - 1)),
                                             QStringLiteral("上%1").arg(expected[r - 1]),
                                             QStringLiteral("中%1").arg(expected[r - 1]),
                                             QStringLiteral("下%1").arg(expected[r - 1]), "", ""}));
        }
        QCOMPARE(t.text(2, 7), QString());
        // Mode 1: four printed columns, captions over the three parts.
        QCOMPARE(t.printColumns, 4);
        QCOMPARE(t.printRows, 15);
        QCOMPARE(row(t, 0), (QStringList{"", "１列目", "２列目", "３列目", "", ""}));
        const double edges[] = {0, 0.05, 0.6, 0.8, 1};
        for (int c = 1; c <= 5; ++c) {
            QCOMPARE(t.columnLeft[static_cast<std::size_t>(c)], edges[c - 1]);
        }
        QCOMPARE(t.options.layoutKind, 2);
        QCOMPARE(t.options.portraitChoice, 1);
        QCOMPARE(t.options.printerOption, 1);
        QCOMPARE(t.options.autoPrint, 0);
        QCOMPARE(t.options.showPrintingPanel, 0);
    }

    void rowsBeyondTheLinesTakenAreNumberedAndEmpty() {
        TestInstallation inst;
        WorksheetTable t;
        std::vector<WorksheetLine> lines = numberedLines(20, 2);
        const std::vector<WorksheetLine> ten = numberedLines(10, 1);
        lines.insert(lines.end(), ten.begin(), ten.end());
        buildWorksheet(t, lines, levels({2}, blankBothProverb), inst.env);
        QCOMPARE(t.text(5, 12), QStringLiteral("b12"));
        // Ten lines in mode 1 after twenty in mode 5: nothing of the earlier build stays.
        buildWorksheet(t, lines, levels({1}), inst.env);
        QCOMPARE(t.worksheetRows, 10);
        QCOMPARE(t.text(2, 10), QStringLiteral("a10"));
        const QString numbers = QStringLiteral("⑪⑫⑬⑭⑮");
        for (int r = 11; r <= 15; ++r) {
            QCOMPARE(row(t, r), (QStringList{numbers.mid(r - 11, 1), "", "", "", "", ""}));
        }
        for (int r = 1; r <= 10; ++r) {
            QVERIFY(t.text(5, r).isEmpty() && t.text(6, r).isEmpty());
        }
        QCOMPARE(t.text(1, 16), QString());
        QCOMPARE(t.text(5, 0), QString());
    }

    void theBlankingModes_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QList<double>>("draws"); // one per row
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::addColumn<QList<double>>("edges");
        QTest::addColumn<QStringList>("captions");
        const QList<double> five{0, 0.05, 0.4, 0.6, 0.8, 1};
        const QList<double> six{0, 0.05, 0.4, 0.6, 0.8, 0.9, 1};
        const QStringList four{"", "１列目", "２列目", "３列目", "４列目", ""};
        QTest::newRow("2 one part") << 2 << QList<double>{0.0, 0.5, 0.99}
                                    << QList<QStringList>{{"", "b1", "c1", "a1", ""},
                                                          {"a2", "", "c2", "b2", ""},
                                                          {"a3", "b3", "", "c3", ""}}
                                    << five << four;
        QTest::newRow("3 two parts") << 3 << QList<double>{0.0, 0.5, 0.99}
                                     << QList<QStringList>{{"a1", "", "", "b1", "c1"},
                                                           {"", "b2", "", "a2", "c2"},
                                                           {"", "", "c3", "a3", "b3"}}
                                     << six << four;
        QTest::newRow("4 one proverb part") << 4 << QList<double>{0.0, 0.49, 0.5}
                                            << QList<QStringList>{{"a1", "", "c1", "b1", ""},
                                                                  {"a2", "", "c2", "b2", ""},
                                                                  {"a3", "b3", "", "c3", ""}}
                                            << five << four;
        QTest::newRow("5 both proverb parts") << 5 << QList<double>{}
                                              << QList<QStringList>{{"a1", "", "", "b1", "c1"},
                                                                    {"a2", "", "", "b2", "c2"},
                                                                    {"a3", "", "", "b3", "c3"}}
                                              << six << four;
    }

    void theBlankingModes() {
        QFETCH(int, mode);
        QFETCH(QList<double>, draws);
        QFETCH(QList<QStringList>, rows);
        QFETCH(QList<double>, edges);
        QFETCH(QStringList, captions);
        TestInstallation inst;
        inst.env.randomValues.assign(draws.begin(), draws.end());
        WorksheetTable t;
        buildWorksheet(t, numberedLines(3), levels({1}, mode), inst.env);
        QVERIFY(inst.env.randomValues.empty()); // one draw a row, none for mode 5
        for (int r = 1; r <= 3; ++r) {
            QCOMPARE(row(t, r).mid(1), rows[r - 1]);
        }
        QCOMPARE(t.printColumns, static_cast<int>(edges.size()) - 1);
        for (int c = 1; c <= t.printColumns + 1; ++c) {
            QCOMPARE(t.columnLeft[static_cast<std::size_t>(c)], edges[c - 1]);
        }
        QCOMPARE(row(t, 0), captions);
    }

    void modeThreeLeavesOnePartOnEveryRow() {
        TestInstallation inst; // unscripted draws
        WorksheetTable t;
        buildWorksheet(t, numberedLines(40), levels({1}, blankTwo), inst.env);
        std::array<int, 5> kept{};
        for (int r = 1; r <= 40; ++r) {
            int filled = 0;
            for (int c = 2; c <= 4; ++c) {
                if (!t.text(c, r).isEmpty()) {
                    ++filled;
                    ++kept[static_cast<std::size_t>(c)];
                }
            }
            QCOMPARE(filled, 1);
            QVERIFY(!t.text(5, r).isEmpty() && !t.text(6, r).isEmpty());
        }
        QVERIFY(kept[2] > 0 && kept[3] > 0 && kept[4] > 0);
    }

    void theShuffleSwapsRowsAsDrawn() {
        TestInstallation inst;
        // Three rows, six swaps: (1, 3), (2, 2), then (1, 1) four times.
        inst.env.randomValues = {0.0, 0.9, 0.4, 0.4, 0, 0, 0, 0, 0, 0, 0, 0};
        WorksheetTable t;
        buildWorksheet(t, numberedLines(3), levels({1}, printAll, true), inst.env);
        QVERIFY(inst.env.randomValues.empty());
        QCOMPARE(row(t, 1).mid(0, 4), (QStringList{"①", "a3", "b3", "c3"}));
        QCOMPARE(row(t, 2).mid(0, 4), (QStringList{"②", "a2", "b2", "c2"}));
        QCOMPARE(row(t, 3).mid(0, 4), (QStringList{"③", "a1", "b1", "c1"}));

        // Unscripted, a shuffle keeps every line exactly once.
        buildWorksheet(t, numberedLines(30), levels({1}, printAll, true), inst.env);
        QStringList seen;
        for (int r = 1; r <= 30; ++r) {
            seen.push_back(t.text(2, r));
            QCOMPARE(t.text(3, r), QString(t.text(2, r)).replace('a', 'b'));
        }
        seen.sort();
        seen.removeDuplicates();
        QCOMPARE(seen.size(), 30);
    }

    void atMostAThousandLinesAreTaken() {
        TestInstallation inst;
        WorksheetTable t;
        const WorksheetBuildReport report =
            buildWorksheet(t, numberedLines(1003), levels({1}), inst.env);
        QCOMPARE(report.taken, 1000);
        QCOMPARE(t.worksheetRows, 1000);
        QCOMPARE(t.text(2, 1000), QStringLiteral("a1000"));
        QCOMPARE(report.firstLineLeftOut, 1001);
        const QString message = leftOutProblem(worksheetSourceName, report);
        QVERIFY2(message.contains(QStringLiteral("プロト.csv の 1001 行目")), qPrintable(message));
        QVERIFY(leftOutProblem(worksheetSourceName,
                               buildWorksheet(t, numberedLines(1000), levels({1}), inst.env))
                    .isEmpty());
    }

    void theDemoTableHoldsSixProverbsALevel() {
        QTemporaryDir dir;
        const DemoInstallation demo = demoInstallationAt(dir.path(), QDate(2026, 12, 9));
        QString error;
        QVERIFY2(layOutDemoInstallation(demo, &error), qPrintable(error));
        const QString path = demo.programFolder + worksheetSourceName;
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes.count("\r\n"), 48);
        QCOMPARE(bytes.count('\n'), 48);
        const WorksheetSource source = readWorksheetSource(path);
        QVERIFY2(source.problems.isEmpty(), qPrintable(source.problems.join('\n')));
        QCOMPARE(source.lines.size(), std::size_t(48));
        std::array<int, 9> perLevel{};
        for (const WorksheetLine& line : source.lines) {
            ++perLevel[static_cast<std::size_t>(line.level)];
            for (const QString& part : line.parts) {
                QVERIFY(!part.isEmpty());
            }
        }
        QCOMPARE(perLevel, (std::array<int, 9>{0, 6, 6, 6, 6, 6, 6, 6, 6}));
        QCOMPARE(source.lines[0].parts, (std::array<QString, 3>{"猿も", "木から", "落ちる"}));
    }
};

QTEST_MAIN(WorksheetBuildTest)
#include "test_worksheet_build.moc"
