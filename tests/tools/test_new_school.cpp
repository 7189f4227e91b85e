#include "text/Cp932.h"
#include "text/ItemReader.h"
#include "tools/NewSchoolCommand.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// "mirunea --new-school" must lay out a school the program starts on, in the files' own
// formats, and must never overwrite a school that is there already.
namespace {

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A program folder "ミルネア" under a temporary parent, and a data root beside it.
struct Site {
    QTemporaryDir dir;
    QString programFolder() const { return dir.path() + QStringLiteral("/プログラム/ミルネア"); }
    QString pathFile() const { return dir.path() + QStringLiteral("/プログラム/パスデータ.txt"); }
    QString dataRoot() const { return dir.path() + QStringLiteral("/データ"); }
    QString data(const QString& name) const { return dataRoot() + QLatin1Char('/') + name; }

    int newSchool(QStringList extra = {}) const {
        QDir().mkpath(programFolder());
        return newSchoolCommand(QStringList{QStringLiteral("--new-school"), dataRoot(),
                                            QStringLiteral("--school-name"),
                                            QStringLiteral("ミルネア塾　本校")} +
                                    extra,
                                programFolder());
    }
    // Every file under the site with its bytes, to see that nothing changed.
    QMap<QString, QByteArray> files() const {
        QMap<QString, QByteArray> all;
        QDirIterator it(dir.path(), QDir::Files | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            all.insert(path, bytesOf(path));
        }
        return all;
    }
};

QList<QStringList> itemLines(const QString& path) {
    QList<QStringList> lines;
    const std::optional<QString> text = decodeCp932(bytesOf(path));
    if (!text) {
        return lines;
    }
    for (const QString& line : text->split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        QStringList items;
        ItemReader reader(line);
        while (std::optional<Item> item = reader.next()) {
            items << item->text;
        }
        lines << items;
    }
    return lines;
}

} // namespace

class NewSchoolTest : public QObject {
    Q_OBJECT
private slots:
    void laysOutASchoolTheCheckPasses();
    void textFilesAreCp932WithCrLf_data();
    void textFilesAreCp932WithCrLf();
    void refusesAnExistingSchool_data();
    void refusesAnExistingSchool();
    void refusesSettingsThatWouldNotReadBack_data();
    void refusesSettingsThatWouldNotReadBack();
    void writesThePathFileWhereItsLinkPoints();
    void keepsAKeyFileThatIsThere();
    void aFailedWriteLeavesNothingBehind();
};

void NewSchoolTest::laysOutASchoolTheCheckPasses() {
    Site site;
    QCOMPARE(site.newSchool({QStringLiteral("--school-code"), QStringLiteral("31415"),
                             QStringLiteral("--start-month"), QStringLiteral("3")}),
             0);

    const QList<QStringList> path = itemLines(site.pathFile());
    QCOMPARE(path.size(), 10);
    QCOMPARE(path[0][0], QDir::toNativeSeparators(site.dataRoot()) + QDir::separator());
    const QList<QStringList> config = itemLines(site.data(QStringLiteral("共通データ.txt")));
    QCOMPARE(config.size(), 10);
    QCOMPARE(config[0][0], QStringLiteral("3"));
    QCOMPARE(config[1][0], QStringLiteral("31415ミルネア塾　本校"));
    QVERIFY(QFileInfo::exists(config[4][0] + QStringLiteral("/keypass.txt")));
    const QList<QStringList> roster = itemLines(site.data(QStringLiteral("新名簿.txt")));
    QCOMPARE(roster.size(), 1);
    QCOMPARE(roster[0][4], QStringLiteral("先生"));
    // The criteria name every level the drill runs: the header and 24 levels.
    QCOMPARE(itemLines(site.data(QStringLiteral("ミルネア/タイム回数データ.txt"))).size(), 25);
    QVERIFY(QFileInfo::exists(site.data(QStringLiteral("ミルネア/成績累積データ.dat"))));
    QCOMPARE(QFileInfo(site.data(QStringLiteral("ミルネア/成績累積データ.dat"))).size(), 0);
    QVERIFY(QFileInfo(site.data(QStringLiteral("音フォルダ/合格.wav"))).size() > 1000);

    // The program's own check finds nothing to warn about.
    QProcess check;
    check.start(
        QStringLiteral(MIRUNEA_PATH),
        {QStringLiteral("--check"), QStringLiteral("--install-root"), site.programFolder()});
    QVERIFY(check.waitForFinished(120000));
    QVERIFY2(check.exitCode() == 0, check.readAllStandardOutput().constData());
}

void NewSchoolTest::textFilesAreCp932WithCrLf_data() {
    QTest::addColumn<QString>("file"); // under the site's folder
    QTest::addRow("path file") << QStringLiteral("プログラム/パスデータ.txt");
    QTest::addRow("configuration") << QStringLiteral("データ/共通データ.txt");
    QTest::addRow("roster") << QStringLiteral("データ/新名簿.txt");
    QTest::addRow("criteria") << QStringLiteral("データ/ミルネア/タイム回数データ.txt");
    QTest::addRow("sound table") << QStringLiteral("データ/音フォルダ/新音ファイル.txt");
    QTest::addRow("key file") << QStringLiteral("データ/先生の鍵/keypass.txt");
}

void NewSchoolTest::textFilesAreCp932WithCrLf() {
    QFETCH(QString, file);
    static Site site;
    static const int laidOut = site.newSchool();
    QCOMPARE(laidOut, 0);
    const QByteArray bytes = bytesOf(site.dir.path() + QLatin1Char('/') + file);
    QVERIFY(bytes.endsWith("\r\n"));
    QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
    QCOMPARE(bytes.count('\r'), bytes.count("\r\n"));
    QVERIFY(decodeCp932(bytes).has_value());
    QVERIFY(!bytes.startsWith("\xEF\xBB\xBF")); // no UTF-8 mark
}

void NewSchoolTest::refusesAnExistingSchool_data() {
    QTest::addColumn<QString>("existing");
    QTest::addRow("path file") << QStringLiteral("プログラム/パスデータ.txt");
    QTest::addRow("configuration") << QStringLiteral("データ/共通データ.txt");
    QTest::addRow("roster") << QStringLiteral("データ/新名簿.txt");
    QTest::addRow("results") << QStringLiteral("データ/ミルネア/成績累積データ.dat");
    QTest::addRow("sound table") << QStringLiteral("データ/音フォルダ/新音ファイル.txt");
}

void NewSchoolTest::refusesAnExistingSchool() {
    QFETCH(QString, existing);
    Site site;
    const QString path = site.dir.path() + QLatin1Char('/') + existing;
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QDir().mkpath(site.programFolder());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("a school's own file\r\n");
    file.close();
    const QMap<QString, QByteArray> before = site.files();

    QCOMPARE(site.newSchool(), 1);
    QCOMPARE(site.files(), before);
}

void NewSchoolTest::refusesSettingsThatWouldNotReadBack_data() {
    QTest::addColumn<QStringList>("arguments");
    const QString data = QStringLiteral("データ");
    QTest::addRow("no school name") << QStringList{QStringLiteral("--new-school"), data};
    QTest::addRow("no data root") << QStringList{QStringLiteral("--school-name"),
                                                 QStringLiteral("塾")};
    QTest::addRow("month 13") << QStringList{QStringLiteral("--new-school"),  data,
                                             QStringLiteral("--school-name"), QStringLiteral("塾"),
                                             QStringLiteral("--start-month"), QStringLiteral("13")};
    QTest::addRow("four-digit code")
        << QStringList{QStringLiteral("--new-school"),  data,
                       QStringLiteral("--school-name"), QStringLiteral("塾"),
                       QStringLiteral("--school-code"), QStringLiteral("1234")};
    QTest::addRow("zero code") << QStringList{
        QStringLiteral("--new-school"),  data,
        QStringLiteral("--school-name"), QStringLiteral("塾"),
        QStringLiteral("--school-code"), QStringLiteral("00000")};
    // Read back, the digits would become the school code.
    QTest::addRow("name starting with a number")
        << QStringList{QStringLiteral("--new-school"), data, QStringLiteral("--school-name"),
                       QStringLiteral("2号教室")};
    QTest::addRow("quote in the name")
        << QStringList{QStringLiteral("--new-school"), data, QStringLiteral("--school-name"),
                       QStringLiteral("\"塾\"")};
    QTest::addRow("unknown option")
        << QStringList{QStringLiteral("--new-school"),  data,
                       QStringLiteral("--school-name"), QStringLiteral("塾"),
                       QStringLiteral("--force"),       QStringLiteral("1")};
}

void NewSchoolTest::refusesSettingsThatWouldNotReadBack() {
    QFETCH(QStringList, arguments);
    Site site;
    arguments.replaceInStrings(QStringLiteral("データ"), site.dataRoot());
    QCOMPARE(newSchoolCommand(arguments, site.programFolder()), 64);
    QVERIFY(site.files().isEmpty());
}

void NewSchoolTest::writesThePathFileWhereItsLinkPoints() {
    // The installed package links the path file beside the program folder into the
    // system's configuration folder; the link itself must stay as it is.
    Site site;
    QVERIFY(QDir().mkpath(site.programFolder()));
    QVERIFY(QDir().mkpath(site.dir.path() + QStringLiteral("/etc")));
    QVERIFY(QFile::link(QStringLiteral("../etc/パスデータ.txt"), site.pathFile()));
    QCOMPARE(site.newSchool(), 0);
    QVERIFY(QFileInfo(site.pathFile()).isSymLink());
    QCOMPARE(itemLines(site.dir.path() + QStringLiteral("/etc/パスデータ.txt")).size(), 10);

    // A second run finds the school through the link and refuses.
    const QMap<QString, QByteArray> before = site.files();
    QCOMPARE(site.newSchool(), 1);
    QCOMPARE(site.files(), before);
}

void NewSchoolTest::keepsAKeyFileThatIsThere() {
    Site site;
    const QString key = site.dir.path() + QStringLiteral("/stick/keypass.txt");
    QVERIFY(QDir().mkpath(QFileInfo(key).absolutePath()));
    QFile file(key);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("the teacher's own key\r\n");
    file.close();
    QCOMPARE(site.newSchool({QStringLiteral("--key-folder"), QFileInfo(key).absolutePath()}), 0);
    QCOMPARE(bytesOf(key), QByteArray("the teacher's own key\r\n"));
}

void NewSchoolTest::aFailedWriteLeavesNothingBehind() {
    // A file standing where the sound folder belongs stops the new school half-way; what
    // was written is removed, so the command can run again once the cause is mended.
    Site site;
    QVERIFY(QDir().mkpath(site.dataRoot()));
    QFile blocker(site.data(QStringLiteral("音フォルダ")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QMap<QString, QByteArray> before = site.files();

    QCOMPARE(site.newSchool(), 1);
    QCOMPARE(site.files(), before);
    QVERIFY(blocker.remove());
    QCOMPARE(site.newSchool(), 0);
}

QTEST_MAIN(NewSchoolTest)
#include "test_new_school.moc"
