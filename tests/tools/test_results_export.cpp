// The results as a spreadsheet: the CSV file is read back with a careful reader of its
// own (quoted fields, doubled quotes, CR LF) and every column checked against the
// records, the roster's names and the points rule.

#include "records/RecordsTestSupport.h"
#include "support/TestInstallation.h"
#include "tools/ResultsExport.h"

#include <QTest>
#include <limits>

namespace {

using Rows = QList<QStringList>;

// RFC 4180: fields separated by ",", records by CR LF, a quoted field may hold commas,
// line breaks and doubled quotes. Fails the test on a lone LF or a stray quote.
Rows readCsv(const QByteArray& bytes, bool* wellFormed) {
    *wellFormed = bytes.startsWith("\xEF\xBB\xBF");
    const QString text = QString::fromUtf8(bytes.mid(3));
    Rows rows;
    QStringList row;
    QString field;
    bool quoted = false;
    bool wasQuoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                field += c;
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"' && field.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (c == u',') {
            row << field;
            field.clear();
            wasQuoted = false;
        } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            row << field;
            rows << row;
            row.clear();
            field.clear();
            wasQuoted = false;
            ++i;
        } else if (c == u'\n' || c == u'"' || wasQuoted) {
            *wellFormed = false;
        } else {
            field += c;
        }
    }
    *wellFormed = *wellFormed && !quoted && row.isEmpty() && field.isEmpty();
    return rows;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class ResultsExportTest : public QObject {
    Q_OBJECT

private slots:
    void everyRecordOneRow_data();
    void everyRecordOneRow();
    void schoolFilesAreNeverTheTarget();
};

void ResultsExportTest::everyRecordOneRow_data() {
    QTest::addColumn<QString>("from"); // yyyy-MM-dd or empty
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("pupil");
    QTest::addColumn<QList<int>>("numbers"); // record numbers expected as rows

    QTest::newRow("all") << ""
                         << "" << 0 << QList<int>{1, 2, 3, 4, 5, 6};
    QTest::newRow("one pupil") << ""
                               << "" << 2 << QList<int>{2, 5, 6};
    QTest::newRow("from the 8th") << "2026-12-08"
                                  << "" << 0 << QList<int>{3, 4, 5};
    QTest::newRow("up to the 7th") << ""
                                   << "2026-12-07" << 0 << QList<int>{1, 2};
    QTest::newRow("one day, one pupil") << "2026-12-08"
                                        << "2026-12-08" << 1 << QList<int>{4};
}

void ResultsExportTest::everyRecordOneRow() {
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(int, pupil);
    QFETCH(QList<int>, numbers);

    TestInstallation inst; // 9 December 2026
    const int today = dayNumber(QDate(2026, 12, 9));
    LevelCriteria& c = inst.state.criteria[1];
    c.targetSeconds = 30;
    c.minimumSeconds = 40;
    c.pointFactor = 1.5f;
    inst.state.profile.levelNames[1] = QStringLiteral("レベル１");
    ResultRecord other = makeRecord(today - 1, 3600, 1, 1, 20);
    other.setSchoolCode(QStringLiteral("12345"));
    ResultRecord nan = makeRecord(0, 0, 2, 1, 20);
    nan.runDate = std::numeric_limits<double>::quiet_NaN();
    const std::vector<ResultRecord> records = {
        makeRecord(today - 3, 45296, 1, 1, 15), // 1: 12:34:56
        makeRecord(today - 2, 0, 2, 1, 99999),  // 2: timed out
        makeRecord(today - 1, 60, 3, 1, -5),    // 3: no copy writes this
        other,                                  // 4: another school
        makeRecord(today, 86399, 2, 7, 31),     // 5: 23:59:59, no criteria: 0 points
        nan,                                    // 6: no date
    };
    inst.writeBytes(inst.drillDataFolder() + QStringLiteral("成績累積データ.dat"),
                    encodeAll(records) + QByteArray(7, 'x'));
    PupilLabels pupils;
    pupils.names[1] = QStringLiteral("山田,\"一郎\"");
    pupils.grades[1] = QStringLiteral("小3");
    pupils.names[2] = QStringLiteral("佐藤");

    ExportFilter filter;
    if (!from.isEmpty()) {
        filter.fromDay = dayNumber(QDate::fromString(from, Qt::ISODate));
    }
    if (!to.isEmpty()) {
        filter.toDay = dayNumber(QDate::fromString(to, Qt::ISODate));
    }
    filter.pupil = pupil;
    const QString csv = inst.root() + QStringLiteral("/成績.csv");
    const ExportOutcome outcome = exportResults(inst.state, pupils, filter, csv);
    QVERIFY2(outcome.ok, qPrintable(outcome.error));
    QCOMPARE(outcome.records, 6);
    QCOMPARE(outcome.rows, numbers.size());

    bool wellFormed = false;
    const Rows rows = readCsv(readAll(csv), &wellFormed);
    QVERIFY(wellFormed);
    QCOMPARE(rows.size(), numbers.size() + 1);
    QCOMPARE(rows[0], resultsExportHeader());
    // Every row: number, date, time, pupil, name, grade, level, level name, seconds,
    // timed out, points, school code, note.
    const QMap<int, QStringList> expected = {
        {1,
         {"1", "2026-12-06", "12:34:56", "1", "山田,\"一郎\"", "小3", "1", "レベル１", "15", "",
          "16", "", ""}},
        {2,
         {"2", "2026-12-07", "00:00:00", "2", "佐藤", "", "1", "レベル１", "", "時間切れ", "0", "",
          ""}},
        {3,
         {"3", "2026-12-08", "00:01:00", "3", "", "", "1", "レベル１", "-5", "", "", "",
          "タイム -5 秒はありえない値です"}},
        {4,
         {"4", "2026-12-08", "01:00:00", "1", "山田,\"一郎\"", "小3", "1", "レベル１", "20", "",
          "9", "12345", ""}},
        {5, {"5", "2026-12-09", "23:59:59", "2", "佐藤", "", "7", "", "31", "", "0", "", ""}},
        {6,
         {"6", "", "00:00:00", "2", "佐藤", "", "1", "レベル１", "20", "", "", "",
          "日付（nan）が日付として読めません"}},
    };
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        QCOMPARE(rows[i + 1], expected.value(numbers[i]));
    }
}

void ResultsExportTest::schoolFilesAreNeverTheTarget() {
    TestInstallation inst;
    const QString results = inst.drillDataFolder() + QStringLiteral("成績累積データ.dat");
    inst.writeBytes(results, encodeAll({makeRecord(46000, 0, 1, 1, 20)}));
    const QByteArray before = readAll(results);
    for (const QString& target :
         {results, inst.dataRoot() + QStringLiteral("新名簿.txt"),
          inst.drillDataFolder() + QStringLiteral("タイム回数データ.txt")}) {
        const ExportOutcome outcome =
            exportResults(inst.state, PupilLabels{}, ExportFilter{}, target);
        QVERIFY(!outcome.ok && outcome.error.contains(target));
    }
    QCOMPARE(readAll(results), before);
    QVERIFY(!QFileInfo::exists(inst.dataRoot() + QStringLiteral("新名簿.txt")));
}

QTEST_GUILESS_MAIN(ResultsExportTest)
#include "test_results_export.moc"
