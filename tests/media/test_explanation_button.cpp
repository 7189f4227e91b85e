// "★解説★" on the level menu, clicked like a pupil clicks it, opening the real viewers.
#include "app/ExplanationAddress.h"
#include "app/ScreenHost.h"
#include "makedemo/DemoInstallation.h"
#include "media/MediaTestMain.h"
#include "media/SmallSwf.h"
#include "media/viewers/ExplanationViewers.h"
#include "media/viewers/FrmVideo.h"
#include "media/viewers/frmBrowser.h"
#include "support/MenuSchool.h"
#include "support/TestInstallation.h"
#include "tools/ExplanationVideo.h"
#include "views/LevelMenu.h"

#include <QLabel>
#include <QMediaPlayer>
#include <QPointer>
#include <QPushButton>
#include <QVideoFrame>
#include <QVideoSink>
#include <QVideoWidget>

namespace {

struct Menu : MenuSchool {
    Menu() : MenuSchool(2) {
        AppState& s = t.state;
        s.profile.explanationAvailable[1] = 1;
        s.profile.explanationAvailable[2] = 1;
        s.routes.startRun = [] {};
        wireExplanationViewers(s, QStringLiteral(MIRUNEA_ANIMATION_PLAYER_DIR));
        host.show();
        openLevelMenu(s);
    }
    ~Menu() {
        delete t.state.media.videoWindow;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<frmBrowser*>(w)) {
                delete w;
            }
        }
    }

    void click(int level, const QString& entry) {
        t.state.profile.explanationUrl[level] = entry;
        auto* button = host.findChild<QPushButton*>(QStringLiteral("Command30_%1").arg(level));
        QVERIFY(button);
        QCOMPARE(button->text(), QStringLiteral("★解説★"));
        QTest::mouseClick(button, Qt::LeftButton);
    }
    FrmVideo* video() const { return qobject_cast<FrmVideo*>(t.state.media.videoWindow); }
    static frmBrowser* browser() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* b = qobject_cast<frmBrowser*>(w); b && b->isVisible()) {
                return b;
            }
        }
        return nullptr;
    }
    // What the level menu shows, to see that a viewer changed nothing on it.
    QStringList menuTexts() const {
        QStringList texts;
        for (QLabel* label : host.current()->findChildren<QLabel*>()) {
            texts << label->objectName() + QLatin1Char('=') + label->text();
        }
        for (QPushButton* button : host.current()->findChildren<QPushButton*>()) {
            texts << button->objectName() + QLatin1Char('=') + button->text() +
                         (button->isEnabled() ? QStringLiteral("+") : QStringLiteral("-"));
        }
        return texts;
    }
};

} // namespace

class TestExplanationButton : public QObject {
    Q_OBJECT
private slots:
    void anEntryEndingInLowerCaseSwfOpensTheBrowserOverTheMenu() {
        Menu m;
        m.t.writeBytes(m.t.drillDataFolder() + QStringLiteral("比の解説.swf"),
                       smallSwf(QColor(200, 40, 40)));
        QWidget* menu = m.host.current();
        const QStringList before = m.menuTexts();
        m.click(1, QStringLiteral("比の解説.swf"));

        frmBrowser* browser = Menu::browser();
        QVERIFY(browser);
        QVERIFY(!m.video());
        QCOMPARE(m.t.state.media.currentMedia, QStringLiteral("比の解説.swf"));
        QCOMPARE(browser->StartingAddress, QStringLiteral("比の解説.swf"));
        QCOMPARE(browser->windowModality(), Qt::ApplicationModal);
        QCOMPARE(QApplication::activeModalWidget(), browser);

        QPointer<frmBrowser> guard(browser);
        QTest::mouseClick(browser->findChild<QPushButton*>(QStringLiteral("Command1")),
                          Qt::LeftButton);
        QTRY_VERIFY(guard.isNull());
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(m.t.state.media.currentMedia, QStringLiteral("比の解説.swf"));
        QCOMPARE(m.host.current(), menu);
        QCOMPARE(m.menuTexts(), before);
    }

    void anyOtherEntryOpensTheVideoWindowOnTheDataFolder_data() {
        QTest::addColumn<QString>("entry");
        QTest::newRow("upper case SWF") << QStringLiteral("比の解説.SWF");
        QTest::newRow("swf and a blank") << QStringLiteral("比の解説.swf ");
        QTest::newRow("two characters") << QStringLiteral("sw");
        QTest::newRow("mp4") << QStringLiteral("解説1.mp4");
        QTest::newRow("empty") << QString();
    }
    void anyOtherEntryOpensTheVideoWindowOnTheDataFolder() {
        QFETCH(QString, entry);
        Menu m;
        QWidget* menu = m.host.current();
        const QStringList before = m.menuTexts();
        m.click(1, entry);

        QVERIFY(!Menu::browser());
        FrmVideo* video = m.video();
        QVERIFY(video);
        QVERIFY(video->isVisible());
        QVERIFY(!video->isModal()); // the level menu stays usable
        QCOMPARE(video->file(), m.t.drillDataFolder() + entry);
        QCOMPARE(m.t.state.media.currentMedia, entry);
        // None of these files is there: the window says so and stays open.
        QTRY_VERIFY(!video->notice().isEmpty());

        QPointer<FrmVideo> guard(video);
        QTest::mouseClick(video->findChild<QPushButton*>(QStringLiteral("Command1")),
                          Qt::LeftButton);
        QTRY_VERIFY(guard.isNull());
        QVERIFY(!m.t.state.media.videoWindow);
        QCOMPARE(m.t.state.media.currentMedia, entry);
        QCOMPARE(m.host.current(), menu);
        QCOMPARE(m.menuTexts(), before);
    }

    void theDemoInstallationPlaysItsOwnExplanationVideo() {
        Menu m;
        const DemoInstallation demo =
            demoInstallationAt(m.t.root() + QStringLiteral("/demo"), QDate::currentDate());
        QString error;
        QVERIFY2(layOutDemoInstallation(demo, &error), qPrintable(error));
        m.t.state.layout.drillDataFolder = demo.drillDataFolder;
        const QString address = explanationAddress(m.t.state);
        QCOMPARE(address, QStringLiteral("解説1.mp4"));
        m.click(1, address);

        FrmVideo* video = m.video();
        QVERIFY(video);
        QImage frame;
        connect(video->findChild<QVideoWidget*>(QStringLiteral("VideoMediaPlayer"))->videoSink(),
                &QVideoSink::videoFrameChanged, video, [&frame](const QVideoFrame& f) {
                    if (f.isValid()) {
                        frame = f.toImage();
                    }
                });
        auto* player = video->findChild<QMediaPlayer*>(QStringLiteral("player"));
        QTRY_VERIFY_WITH_TIMEOUT(player->position() >= 1000, 15000);
        QVERIFY2(video->notice().isEmpty(), qPrintable(video->notice()));
        QVERIFY(!frame.isNull());
        const QColor corner = frame.pixelColor(5, frame.height() - 5);
        QVERIFY2(std::abs(corner.red() - explanationPaper.red()) < 20 &&
                     std::abs(corner.green() - explanationPaper.green()) < 20 &&
                     std::abs(corner.blue() - explanationPaper.blue()) < 20,
                 qPrintable(corner.name()));
    }

    void aSecondExplanationLeavesTheOpenVideoPlayingItsFile() {
        Menu m;
        QString error;
        QVERIFY2(writeExplanationVideo(m.t.drillDataFolder() + QStringLiteral("解説1.mp4"), &error),
                 qPrintable(error));
        m.click(1, QStringLiteral("解説1.mp4"));
        FrmVideo* first = m.video();
        QVERIFY(first);
        auto* player = first->findChild<QMediaPlayer*>(QStringLiteral("player"));
        QTRY_VERIFY_WITH_TIMEOUT(player->position() >= 500, 15000);
        const QUrl playing = player->source();

        m.click(2, QStringLiteral("解説2.mp4")); // not there: it would show a notice
        QCOMPARE(m.t.state.media.currentMedia, QStringLiteral("解説2.mp4"));
        QCOMPARE(m.video(), first);
        QCOMPARE(first->file(), m.t.drillDataFolder() + QStringLiteral("解説1.mp4"));
        QCOMPARE(player->source(), playing);
        const qint64 then = player->position();
        QTRY_VERIFY(player->position() > then);
        QVERIFY(first->notice().isEmpty());
        int videoWindows = 0;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            videoWindows += qobject_cast<FrmVideo*>(w) && w->isVisible() ? 1 : 0;
        }
        QCOMPARE(videoWindows, 1);

        // An animation still opens over everything, the video window included.
        m.t.writeBytes(m.t.drillDataFolder() + QStringLiteral("a.swf"), smallSwf(Qt::blue));
        m.click(2, QStringLiteral("a.swf"));
        QVERIFY(Menu::browser());
        QCOMPARE(QApplication::activeModalWidget(), Menu::browser());
        QCOMPARE(m.video(), first);
    }
};

MIRUNEA_MEDIA_TEST_MAIN(TestExplanationButton)
#include "test_explanation_button.moc"
