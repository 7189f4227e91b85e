#include "app/ExplanationAddress.h"
#include "app/ProfileLoading.h"
#include "support/TestInstallation.h"

#include <QtTest>

// The profile the screens read: level names, timed levels, the start-up values and the
// explanation address of slot 1.
class ProfileTest : public QObject {
    Q_OBJECT

private slots:
    void levelProfileStoresTheDrillsNames();
    void levelProfileIsStoredBeforeTheMenuOpens();
    void rerunningRestoresTheProfile();
    void fillRuleNamesOnlyTheFirstTwelve();
    void startupProfile();
    void explanationAddressFromFile_data();
    void explanationAddressFromFile();
    void unreadableExplanationFileFallsBackWithANotice();
};

void ProfileTest::levelProfileStoresTheDrillsNames() {
    TestInstallation inst;
    ProgramProfile& p = inst.state.profile;
    loadLevelProfile(inst.state);

    QCOMPARE(p.levelNames[5], QStringLiteral("混合"));
    QCOMPARE(p.levelNames[6], QStringLiteral("混合"));
    QCOMPARE(p.levelNames[11], QStringLiteral("レベル４－1"));
    QCOMPARE(p.levelNames[11].back(), QChar(u'1')); // an ASCII digit, not "１"
    QCOMPARE(p.levelNames[20].back(), QChar(u'1'));
    QCOMPARE(p.levelNames[1], QStringLiteral("レベル１"));
    QCOMPARE(p.levelNames[24], QStringLiteral("レベル８－２"));
    QVERIFY(p.levelNames[7].contains(u'練')); // practice levels are told by "練"
    QVERIFY(!p.levelNames[8].contains(u'練'));
    QVERIFY(p.levelNames[0].isEmpty());
    for (int level = 25; level < ProgramProfile::levelSlots; ++level) {
        QVERIFY2(p.levelNames[level].isEmpty(), qPrintable(QString::number(level)));
        QCOMPARE(p.levelTimed[level], 0);
    }
    for (int level = 1; level <= 24; ++level) {
        QCOMPARE(p.levelTimed[level], 1);
    }
    QCOMPARE(p.levelTimed[0], 0);
    QCOMPARE(p.levelCount, 1);
    QCOMPARE(p.finalLevel, 1);
    QCOMPARE(p.allLevelsOpen, 1);
}

void ProfileTest::levelProfileIsStoredBeforeTheMenuOpens() {
    TestInstallation inst;
    int menus = 0;
    QString nameSeenByMenu;
    inst.state.routes.openLevelMenu = [&] {
        ++menus;
        nameSeenByMenu = inst.state.profile.levelNames[1];
    };
    loadLevelProfile(inst.state);
    QCOMPARE(menus, 1);
    QCOMPARE(nameSeenByMenu, QStringLiteral("レベル１"));
}

void ProfileTest::rerunningRestoresTheProfile() {
    TestInstallation inst;
    ProgramProfile& p = inst.state.profile;
    loadLevelProfile(inst.state);
    p.levelNames[3] = QStringLiteral("changed");
    p.levelNames[30] = QStringLiteral("stray");
    p.levelTimed[30] = 1;
    p.levelCount = 3;
    p.finalLevel = 3;
    p.allLevelsOpen = 0;
    loadLevelProfile(inst.state);
    QCOMPARE(p.levelNames[3], QStringLiteral("レベル３"));
    QVERIFY(p.levelNames[30].isEmpty());
    QCOMPARE(p.levelTimed[30], 0);
    QCOMPARE(p.levelCount, 1);
    QCOMPARE(p.finalLevel, 1);
    QCOMPARE(p.allLevelsOpen, 1);
}

void ProfileTest::fillRuleNamesOnlyTheFirstTwelve() {
    std::vector<LevelName> names = drillLevelNames();
    std::erase_if(
        names, [](const LevelName& n) { return n.level == 7 || n.level == 10 || n.level == 13; });
    ProgramProfile p;
    applyLevelProfile(p, names);
    QCOMPARE(p.levelNames[7], QStringLiteral("ﾚﾍﾞﾙ7"));
    QCOMPARE(p.levelNames[10], QStringLiteral("ﾚﾍﾞﾙ10"));
    QVERIFY(p.levelNames[13].isEmpty());
    QCOMPARE(p.levelTimed[7], 0); // a level the table does not name is not timed
    QCOMPARE(p.levelNames[8], QStringLiteral("レベル３－１"));
    QCOMPARE(p.levelTimed[8], 1);

    // An entry stored with an empty name is still a stored (timed) level and gets the
    // generated name.
    std::vector<LevelName> emptied = drillLevelNames();
    emptied[6].name.clear();
    QCOMPARE(emptied[6].level, 7);
    ProgramProfile q;
    applyLevelProfile(q, emptied);
    QCOMPARE(q.levelNames[7], QStringLiteral("ﾚﾍﾞﾙ7"));
    QCOMPARE(q.levelTimed[7], 1);

    // A profile naming nothing gets the generated names for 1..12 and nothing beyond.
    ProgramProfile empty;
    applyLevelProfile(empty, {});
    QCOMPARE(empty.levelNames[1], QStringLiteral("ﾚﾍﾞﾙ1"));
    QCOMPARE(empty.levelNames[12], QStringLiteral("ﾚﾍﾞﾙ12"));
    QVERIFY(empty.levelNames[13].isEmpty());
    QVERIFY(empty.levelNames[0].isEmpty());
}

void ProfileTest::startupProfile() {
    TestInstallation inst;
    ProgramProfile& p = inst.state.profile;
    p.printEnabled = 1;
    loadStartupProfile(inst.state);
    QCOMPARE(p.programTitle, QStringLiteral("ミルネア"));
    // The default build hides the print buttons; the build with MIRUNEA_PRINT_ENABLED
    // shows them.
    QCOMPARE(p.printEnabled, MIRUNEA_PRINT_ENABLED);
    QCOMPARE(p.explanationAvailable[1], 1);
    QCOMPARE(p.explanationAvailable[2], 0);
    QCOMPARE(p.explanationUrl[1], defaultExplanationAddress);
    QVERIFY(p.explanationUrl[2].isEmpty());
    QVERIFY(inst.env.messages.empty());
}

void ProfileTest::explanationAddressFromFile_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("animation") << QByteArray("http://school.example/ratio.swf\r\n")
                               << QStringLiteral("http://school.example/ratio.swf");
    QTest::newRow("blanks and quotes, second line ignored")
        << QByteArray("  \"\x89\xf0\x90\xe0 2.mp4\"  \r\nother\r\n") // 解説 in CP932
        << QStringLiteral("解説 2.mp4");
    QTest::newRow("no line end") << QByteArray("ratio.mp4") << QStringLiteral("ratio.mp4");
    QTest::newRow("empty file") << QByteArray() << defaultExplanationAddress;
    QTest::newRow("blank first line")
        << QByteArray("   \r\nratio.mp4\r\n") << defaultExplanationAddress;
}

void ProfileTest::explanationAddressFromFile() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    TestInstallation inst;
    inst.writeBytes(inst.drillDataFolder() + explanationAddressFileName, bytes);
    loadStartupProfile(inst.state);
    QCOMPARE(inst.state.profile.explanationUrl[1], expected);
    QVERIFY(inst.env.messages.empty());
}

void ProfileTest::unreadableExplanationFileFallsBackWithANotice() {
    TestInstallation inst;
    const QString path = inst.writeBytes(inst.drillDataFolder() + explanationAddressFileName,
                                         QByteArray("ratio\x82\r\n"));
    loadStartupProfile(inst.state);
    QCOMPARE(inst.state.profile.explanationUrl[1], defaultExplanationAddress);
    QCOMPARE(inst.env.messages.size(), std::size_t(1));
    QVERIFY2(inst.env.messages[0].text.contains(path), qPrintable(inst.env.messages[0].text));
    QCOMPARE(inst.env.endedWith, -1); // the class goes on
}

QTEST_MAIN(ProfileTest)
#include "test_profile.moc"
