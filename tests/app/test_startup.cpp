#include "app/ConfigFiles.h"
#include "app/LayoutResolution.h"
#include "app/ScreenHost.h"
#include "app/ScreenRoutes.h"
#include "app/Startup.h"
#include "roster/StudentSelection.h"
#include "support/TestInstallation.h"
#include "text/Cp932.h"

#include <QDir>
#include <QtTest>

// The start-up initialisation over a throw-away installation: folders, the path file, the
// shared configuration, the order of the steps, and every way the two files can be bad.
namespace {

const QString sep = QString(QDir::separator());

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QByteArray cp932(const QString& text) {
    const std::optional<QByteArray> bytes = encodeCp932(text);
    if (!bytes) {
        qFatal("test text not in CP932");
    }
    return *bytes;
}

// Ten items, one a line, item 1 the data root.
QByteArray pathFileBytes(const QString& dataRoot, int items = 10) {
    QString text = QStringLiteral("\"%1\"\r\n").arg(dataRoot);
    for (int i = 2; i <= items; ++i) {
        text += QStringLiteral("0\r\n");
    }
    return cp932(text);
}

QString programDirectory(const TestInstallation& inst, const QString& drill = "ミルネア") {
    return inst.root() + QStringLiteral("/programs/") + drill;
}

QString pathFile(const TestInstallation& inst) {
    return native(inst.root() + QStringLiteral("/programs/パスデータ.txt"));
}

// A whole installation from the sample files: path file, configuration, criteria and
// sound table of the drill "ミルネア".
void writeInstallation(TestInstallation& inst) {
    inst.writeBytes(pathFile(inst), pathFileBytes(inst.dataRoot()));
    inst.copyFixture(QStringLiteral("config-cp932.txt"), inst.dataRoot() + "共通データ.txt");
    inst.copyFixture(QStringLiteral("criteria-cp932.txt"),
                     inst.drillDataFolder() + "タイム回数データ.txt");
    inst.copyFixture(QStringLiteral("sound-table-cp932.txt"),
                     inst.soundFolder() + "新音ファイル.txt");
}

// initialiseProgram on a fresh state (the installation's layout fields cleared first).
bool initialise(TestInstallation& inst, const QString& drill = "ミルネア") {
    inst.state.layout = InstallLayout{};
    return initialiseProgram(inst.state, programDirectory(inst, drill));
}

} // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void foldersFromTheProgramFolder();
    void dataRootIsNotRepaired();
    void schoolCodeRule_data();
    void schoolCodeRule();
    void initialisationFillsTheState();
    void drillFolderNameChoosesTheDataFolder();
    void badInput_data();
    void badInput();
    void dataRootWithoutSeparatorFailsAtTheNextOpen();
    void startProgramOpensTheNameList();
    void startProgramStopsAfterAFailure();
    void aSecondCopyShowsNoWindow();
};

void StartupTest::foldersFromTheProgramFolder() {
    const QString programFolder = programFolderOf(QStringLiteral("/school/programs/ミルネア"));
    QCOMPARE(programFolder, native("/school/programs/ミルネア/"));
    QCOMPARE(programFolderOf(QStringLiteral("/school/programs/ミルネア/")), programFolder);
    QCOMPARE(pathFileOf(programFolder), native("/school/programs/パスデータ.txt"));
    QCOMPARE(drillFolderNameOf(programFolder), QStringLiteral("ミルネア"));
    QCOMPARE(drillFolderNameOf(native("/a/b/比のドリル 2/")), QStringLiteral("比のドリル 2"));

    InstallLayout layout;
    layout.programFolder = native("/school/programs/ドリルX/");
    layout.dataRoot = native("/school/data/");
    deriveDataFolders(layout);
    QCOMPARE(layout.drillFolderName, QStringLiteral("ドリルX"));
    QCOMPARE(layout.drillDataFolder, native("/school/data/ドリルX/"));
    QCOMPARE(layout.soundFolder, native("/school/data/音フォルダ/"));
    QCOMPARE(sharedConfigFileOf(layout.dataRoot), native("/school/data/共通データ.txt"));
}

void StartupTest::dataRootIsNotRepaired() {
    InstallLayout layout;
    layout.programFolder = native("/school/programs/ミルネア/");
    layout.dataRoot = native("/school/data");
    deriveDataFolders(layout);
    QCOMPARE(layout.drillDataFolder, native("/school/dataミルネア/"));
    QCOMPARE(layout.soundFolder, native("/school/data音フォルダ/"));
}

void StartupTest::schoolCodeRule_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::newRow("code and name") << "12345ミルネア塾"
                                   << "12345"
                                   << "ミルネア塾";
    QTest::newRow("zeros stay in the name") << "00000東校"
                                            << ""
                                            << "00000東校";
    QTest::newRow("leading zeros, non-zero value") << "00012北校"
                                                   << "00012"
                                                   << "北校";
    QTest::newRow("no code") << "ミルネア塾"
                             << ""
                             << "ミルネア塾";
    QTest::newRow("full-width digits are no number") << "１２３４５塾"
                                                     << ""
                                                     << "１２３４５塾";
    QTest::newRow("code only") << "54321"
                               << "54321"
                               << "";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
}

void StartupTest::schoolCodeRule() {
    QFETCH(QString, item);
    QFETCH(QString, code);
    QFETCH(QString, name);
    const SchoolItem school = splitSchoolItem(item);
    QCOMPARE(school.code, code);
    QCOMPARE(school.name, name);
}

void StartupTest::initialisationFillsTheState() {
    TestInstallation inst;
    writeInstallation(inst);
    QVERIFY(initialise(inst));
    QVERIFY(inst.env.messages.empty());
    QCOMPARE(inst.env.endedWith, -1);

    const InstallLayout& layout = inst.state.layout;
    QCOMPARE(layout.programFolder, inst.programFolder());
    QCOMPARE(layout.dataRoot, inst.dataRoot());
    QCOMPARE(layout.drillFolderName, QStringLiteral("ミルネア"));
    QCOMPARE(layout.drillDataFolder, inst.drillDataFolder());
    QCOMPARE(layout.soundFolder, inst.soundFolder());

    const SharedConfig& config = inst.state.config;
    QCOMPARE(config.schoolYearStartMonth, 4.0);
    QCOMPARE(config.schoolCode, QStringLiteral("12345"));
    QCOMPARE(config.schoolName, QStringLiteral("ミルネア塾　本校"));
    QCOMPARE(config.showStatus2Pupils, 0.0);

    QCOMPARE(inst.state.profile.programTitle, QStringLiteral("ミルネア"));
    QCOMPARE(inst.state.profile.explanationAvailable[1], 1);
    // The criteria and the sound table were read from the resolved folders.
    QCOMPARE(inst.state.criteria[1].targetSeconds, 60);
    QCOMPARE(inst.state.criteria[3].targetSeconds, 30);
    QCOMPARE(inst.state.sounds.cues[2].fileCount, QStringLiteral("1"));
    QCOMPARE(inst.state.sounds.cues[2].files[1], QStringLiteral("seikai_z"));
}

void StartupTest::drillFolderNameChoosesTheDataFolder() {
    TestInstallation inst;
    writeInstallation(inst);
    const QString drill = QStringLiteral("比のドリルX");
    QDir(inst.root()).mkpath(QStringLiteral("programs/") + drill);
    inst.writeBytes(inst.dataRoot() + drill + sep + "タイム回数データ.txt",
                    cp932(QStringLiteral("目標Time,最低Time,ｸﾘｱﾎﾟｲﾝﾄ,ｸﾘｱ回数,ﾎﾟｲﾝﾄ倍率,禁回,"
                                         "禁点,判期間,禁期間,,,\r\n77,99,10,2,1,0,0,7,1,,,\r\n")));
    QVERIFY(initialise(inst, drill));
    QCOMPARE(inst.state.layout.drillFolderName, drill);
    QCOMPARE(inst.state.layout.drillDataFolder, inst.dataRoot() + drill + sep);
    QCOMPARE(inst.state.criteria[1].targetSeconds, 77);
    QCOMPARE(inst.state.criteria[1].minimumSeconds, 99);
}

// Each row breaks one file; the message must name the file and say what is wrong, the
// program must end with a non-zero status, and nothing may stand in for the data root.
void StartupTest::badInput_data() {
    QTest::addColumn<QString>("file");     // "path" or "config"
    QTest::addColumn<QByteArray>("bytes"); // empty with missing = true: no file at all
    QTest::addColumn<bool>("missing");
    QTest::addColumn<QString>("reason"); // a word the message must hold

    QTest::newRow("path file missing") << "path" << QByteArray() << true << "ありません";
    QTest::newRow("path file with seven items")
        << "path" << QByteArray("\"/x/\"\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n") << false << "7 項目";
    QTest::newRow("path file empty") << "path" << QByteArray() << false << "0 項目";
    QTest::newRow("path file not CP932")
        << "path" << QByteArray("\"/x/\"\r\n0\r\n\x82\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n")
        << false << "3 行";
    QTest::newRow("config missing") << "config" << QByteArray() << true << "ありません";
    QTest::newRow("config with three items")
        << "config" << QByteArray("4\r\n\"12345\x8e\x52\"\r\n0\r\n") << false << "3 項目";
    QTest::newRow("config not CP932")
        << "config"
        << QByteArray("4\r\n\"\x82\"\r\n0\r\n1\r\n\"A:\\\"\r\n0\r\n0\r\n\"\"\r\n\"\"\r\n0\r\n")
        << false << "2 行";
    // A start month the grade rule cannot use shifts every pupil's grade: refused, named.
    const QByteArray rest = QByteArray(
        "\r\n\"12345\x8e\x52\"\r\n0\r\n1\r\n\"A:\\\"\r\n0\r\n0\r\n\"\"\r\n\"\"\r\n0\r\n");
    const QList<QPair<QByteArray, QByteArray>> months = {
        {"0", "「0」は 1～12"},
        {"13", "「13」は 1～12"},
        {"abc", "「abc」は 1～12"},
        {"\"\"", "「」は 1～12"},
        {"99999999999999999999999", "「99999999999999999999999」"},
        {"4.5", "「4.5」"},
        {"-4", "「-4」"},
        {"\x82\x53", "半角"}, // full-width ４
    };
    for (const auto& [month, reason] : months) {
        QTest::addRow("config start month %s", month.constData())
            << "config" << month + rest << false << QString::fromUtf8(reason);
    }
}

void StartupTest::badInput() {
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, missing);
    QFETCH(QString, reason);

    TestInstallation inst;
    writeInstallation(inst);
    const QString path = file == "path" ? pathFile(inst) : inst.dataRoot() + "共通データ.txt";
    QFile::remove(path);
    if (!missing) {
        inst.writeBytes(path, bytes);
    }
    int routes = 0;
    inst.state.routes.openStudentSelection = [&] { ++routes; };

    QVERIFY(!initialise(inst));
    QCOMPARE(inst.env.endedWith, 1);
    QCOMPARE(inst.env.messages.size(), std::size_t(1));
    const FakeEnvironment::Message& m = inst.env.messages[0];
    QCOMPARE(m.title, QStringLiteral("注意"));
    QVERIFY2(m.text.contains(path), qPrintable(m.text));
    QVERIFY2(m.text.contains(reason), qPrintable(m.text));
    QCOMPARE(routes, 0);
    if (file == "path") {
        QVERIFY(inst.state.layout.dataRoot.isEmpty()); // no default folder
    } else {
        QVERIFY(inst.state.config.schoolName.isEmpty());
    }
    QCOMPARE(inst.state.criteria[1].targetSeconds, 0); // the later steps did not run
}

void StartupTest::dataRootWithoutSeparatorFailsAtTheNextOpen() {
    TestInstallation inst;
    writeInstallation(inst);
    QString root = inst.dataRoot();
    root.chop(1);
    inst.writeBytes(pathFile(inst), pathFileBytes(root));
    QVERIFY(!initialise(inst));
    QCOMPARE(inst.state.layout.dataRoot, root); // stored as it is
    QCOMPARE(inst.env.endedWith, 1);
    QCOMPARE(inst.env.messages.size(), std::size_t(1));
    const QString tried = root + QStringLiteral("共通データ.txt");
    QVERIFY2(inst.env.messages[0].text.contains(tried), qPrintable(inst.env.messages[0].text));
}

void StartupTest::startProgramOpensTheNameList() {
    TestInstallation inst;
    writeInstallation(inst);
    inst.state.layout = InstallLayout{};
    int lists = 0;
    int runs = 0;
    QString rootSeen;
    inst.state.routes.openStudentSelection = [&] {
        ++lists;
        rootSeen = inst.state.layout.dataRoot;
    };
    inst.state.routes.startRun = [&] { ++runs; };
    startProgram(inst.state, programDirectory(inst));
    QCOMPARE(lists, 1);
    QCOMPARE(runs, 0);
    QCOMPARE(rootSeen, inst.dataRoot()); // initialised before the list opened
}

void StartupTest::startProgramStopsAfterAFailure() {
    TestInstallation inst; // no path file at all
    int opened = 0;
    inst.state.routes.openStudentSelection = [&] { ++opened; };
    inst.state.routes.startRun = [&] { ++opened; };
    startProgram(inst.state, programDirectory(inst));
    QCOMPARE(opened, 0);
    QCOMPARE(inst.env.endedWith, 1);
}

void StartupTest::aSecondCopyShowsNoWindow() {
    for (const bool otherCopy : {true, false}) {
        TestInstallation inst;
        writeInstallation(inst);
        inst.state.layout = InstallLayout{};
        ScreenHost host;
        inst.state.host = &host;
        wireScreens(inst.state);
        inst.env.otherCopyRunning = otherCopy;
        startProgram(inst.state, programDirectory(inst));
        if (otherCopy) {
            QCOMPARE(inst.env.messages.size(), std::size_t(1));
            QCOMPARE(inst.env.messages[0].title, QStringLiteral("注意"));
            QCOMPARE(inst.env.endedWith, 1);
            QVERIFY(!host.isVisible()); // no empty window behind the message
        } else {
            QCOMPARE(inst.env.endedWith, -1); // (this school has no roster: one message)
            QVERIFY(host.isVisible());
            QVERIFY(qobject_cast<StudentSelection*>(host.current()));
        }
    }
}

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
