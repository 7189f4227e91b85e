// Which viewer an explanation entry opens, and where its address leads.
#include "media/ExplanationEntry.h"

#include <QTest>

Q_DECLARE_METATYPE(ExplanationViewer)
Q_DECLARE_METATYPE(AnimationTarget::Kind)

class TestExplanationEntry : public QObject {
    Q_OBJECT
private slots:
    void viewerIsChosenByTheLastThreeCharacters_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<ExplanationViewer>("viewer");
        const auto animation = ExplanationViewer::Animation;
        const auto video = ExplanationViewer::Video;
        QTest::newRow("swf") << "比の解説.swf" << animation;
        QTest::newRow("just swf") << "swf" << animation;
        QTest::newRow("address") << "http://example.org/a.swf" << animation;
        QTest::newRow("upper case") << "比の解説.SWF" << video;
        QTest::newRow("mixed case") << "比の解説.Swf" << video;
        QTest::newRow("trailing blank") << "比の解説.swf " << video;
        QTest::newRow("mp4") << "解説1.mp4" << video;
        QTest::newRow("wmv") << "解説1.wmv" << video;
        QTest::newRow("two characters") << "sf" << video;
        QTest::newRow("one character") << "f" << video;
        QTest::newRow("empty") << "" << video;
    }
    void viewerIsChosenByTheLastThreeCharacters() {
        QFETCH(QString, entry);
        QFETCH(ExplanationViewer, viewer);
        QCOMPARE(viewerFor(entry), viewer);
    }

    void videoFileIsTheFolderFollowedDirectlyByTheEntry() {
        QCOMPARE(videoFileOf(QStringLiteral("/data/ミルネア/"), QStringLiteral("解説1.mp4")),
                 QStringLiteral("/data/ミルネア/解説1.mp4"));
        QCOMPARE(videoFileOf(QStringLiteral("/data/ミルネア/"), QStringLiteral("a.SWF")),
                 QStringLiteral("/data/ミルネア/a.SWF"));
        QCOMPARE(videoFileOf(QStringLiteral("/data/ミルネア/"), QString()),
                 QStringLiteral("/data/ミルネア/"));
    }

    void animationAddressLeadsToTheRightPlace_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<AnimationTarget::Kind>("kind");
        QTest::addColumn<QString>("where"); // the local file or the URL
        using K = AnimationTarget::Kind;
        QTest::newRow("empty") << "" << K::Blank << "";
        QTest::newRow("blanks") << "   " << K::Blank << "";
        QTest::newRow("bare swf") << "比の解説.swf" << K::LocalSwf << "/data/ミルネア/比の解説.swf";
        QTest::newRow("absolute swf") << "/srv/anim/a.swf" << K::LocalSwf << "/srv/anim/a.swf";
        QTest::newRow("file swf") << "file:///srv/anim/a.swf" << K::LocalSwf << "/srv/anim/a.swf";
        QTest::newRow("http swf") << "http://example.org/a.swf" << K::RemoteSwf
                                  << "http://example.org/a.swf";
        QTest::newRow("https page") << "HTTPS://example.org/kaisetsu.html" << K::PageUrl
                                    << "https://example.org/kaisetsu.html";
        QTest::newRow("bare page")
            << "kaisetsu.html" << K::PageUrl << "file:///data/ミルネア/kaisetsu.html";
    }
    void animationAddressLeadsToTheRightPlace() {
        QFETCH(QString, address);
        QFETCH(AnimationTarget::Kind, kind);
        QFETCH(QString, where);
        const AnimationTarget target =
            animationTargetOf(address, QStringLiteral("/data/ミルネア/"));
        QCOMPARE(target.kind, kind);
        if (kind == AnimationTarget::Kind::LocalSwf) {
            QCOMPARE(target.localFile, where);
        } else if (kind != AnimationTarget::Kind::Blank) {
            QCOMPARE(target.url, QUrl(where));
        }
    }
};

QTEST_GUILESS_MAIN(TestExplanationEntry)
#include "test_explanation_entry.moc"
