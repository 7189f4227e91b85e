#include "app/AppState.h"
#include "app/Firstfrm.h"
#include "app/ScreenHost.h"
#include "app/SeasonColor.h"
#include "app/SplashArtwork.h"
#include "app/VersionDialog.h"
#include "app/WaitWindow.h"
#include "makedemo/DemoInstallation.h"
#include "support/FakeEnvironment.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// The windows of start-up: the splash and its timer, the season colours, the version
// dialog and the wait window.
namespace {

struct SplashFixture {
    SplashFixture() {
        demo = demoInstallationAt(dir.path(), QDate(2026, 12, 9));
        QString error;
        if (!layOutDemoInstallation(demo, &error)) {
            qFatal("%s", qPrintable(error));
        }
        state.env = &env;
        state.routes.openStudentSelection = [this] {
            ++lists;
            rootWhenListed = state.layout.dataRoot;
        };
    }
    QTemporaryDir dir;
    DemoInstallation demo;
    FakeEnvironment env;
    AppState state;
    int lists = 0;
    QString rootWhenListed;
};

double averageRed(const QImage& image) {
    double sum = 0;
    for (int y = 0; y < image.height(); y += 4) {
        for (int x = 0; x < image.width(); x += 4) {
            sum += image.pixelColor(x, y).red();
        }
    }
    return sum / ((image.height() / 4.0) * (image.width() / 4.0));
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return false;
    }
};

QString projectVersion() {
    QFile file(QStringLiteral(MIRUNEA_SOURCE_DIR "/CMakeLists.txt"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QRegularExpression version(QStringLiteral(R"(project\(\s*mirunea\s+VERSION\s+(\S+))"));
    return version.match(QString::fromUtf8(file.readAll())).captured(1);
}

} // namespace

class SplashTest : public QObject {
    Q_OBJECT

private slots:
    void loadingShowsDateAndSeason();
    void timerStartsTheProgramOnceAfter100Ms();
    void failedStartEndsWithoutOpeningAScreen();
    void seasonColours_data();
    void seasonColours();
    void artworkTakesTheSeason();
    void saveSplashGrab();
    void versionDialog();
    void waitWindow();
};

void SplashTest::loadingShowsDateAndSeason() {
    SplashFixture f;
    f.env.setNow(QDateTime(QDate(2026, 12, 9), QTime(10, 0, 7)));
    Firstfrm splash(f.state, f.demo.programFolder);
    PaintCounter artwork;
    splash.Picture1->installEventFilter(&artwork);
    splash.load();
    // Painted before the loading step ends, and only once: the artwork is the dearest
    // thing the start-up draws.
    QCOMPARE(artwork.paints, 1);
    QCOMPARE(f.env.seeds, std::vector<std::uint32_t>{36007});
    QCOMPARE(splash.Label5->text(), QStringLiteral("令和8年 12月 09日（水）"));
    QCOMPARE(splash.Label1->text(), QStringLiteral("Just a moment, please."));
    QVERIFY(!splash.credit->text().isEmpty());
    QCOMPARE(f.state.config.seasonColor, colorLong(192, 255, 192));
    QVERIFY(splash.isVisible());
}

void SplashTest::timerStartsTheProgramOnceAfter100Ms() {
    SplashFixture f;
    Firstfrm splash(f.state, f.demo.programFolder);
    splash.load();
    QCOMPARE(f.env.activeTimers(), 1);
    QCOMPARE(splash.Timer1->interval(), Firstfrm::timer1Interval);

    f.env.advance(99);
    QCOMPARE(f.lists, 0);
    QVERIFY(f.state.layout.dataRoot.isEmpty()); // nothing initialised yet
    QVERIFY(splash.isVisible());

    f.env.advance(1);
    QCOMPARE(f.lists, 1);
    QCOMPARE(f.rootWhenListed, f.demo.dataRoot);
    QCOMPARE(f.state.config.schoolCode, demoSchoolCode);
    QVERIFY(!splash.isVisible());
    QVERIFY(f.env.messages.empty());

    f.env.advance(1000);
    QCOMPARE(f.lists, 1);
    QCOMPARE(f.env.activeTimers(), 0);
}

void SplashTest::failedStartEndsWithoutOpeningAScreen() {
    SplashFixture f;
    QVERIFY(QFile::remove(f.demo.parentFolder + QStringLiteral("パスデータ.txt")));
    Firstfrm splash(f.state, f.demo.programFolder);
    splash.load();
    f.env.advance(100);
    QCOMPARE(f.lists, 0);
    QCOMPARE(f.env.endedWith, 1);
    QCOMPARE(f.env.messages.size(), std::size_t(1));
    QVERIFY(f.env.messages[0].text.contains(QStringLiteral("パスデータ.txt")));
}

void SplashTest::seasonColours_data() {
    QTest::addColumn<int>("month");
    QTest::addColumn<QColor>("colour");
    const QColor orange(255, 128, 0), green(192, 255, 192), teal(0, 192, 192), brown(192, 64, 0);
    const QColor byMonth[] = {orange, orange, green, green, green, teal,
                              teal,   teal,   brown, brown, brown, green};
    for (int month = 1; month <= 12; ++month) {
        QTest::addRow("month %d", month) << month << byMonth[month - 1];
    }
}

void SplashTest::seasonColours() {
    QFETCH(int, month);
    QFETCH(QColor, colour);
    QCOMPARE(colorFromLong(seasonColorForMonth(month)), colour);

    // And through the splash, from the environment's clock.
    SplashFixture f;
    f.env.setNow(QDateTime(QDate(2026, month, 15), QTime(8, 30)));
    Firstfrm splash(f.state, f.demo.programFolder);
    splash.load();
    QCOMPARE(colorFromLong(f.state.config.seasonColor), colour);
    // Red sits in the lowest byte, blue in the third.
    QCOMPARE(int(f.state.config.seasonColor & 0xFF), colour.red());
    QCOMPARE(int(f.state.config.seasonColor >> 16 & 0xFF), colour.blue());
}

void SplashTest::artworkTakesTheSeason() {
    SplashPicture picture;
    picture.resize(600, 320);
    picture.setSeason(colorFromLong(seasonColorForMonth(12)));
    const QImage winter = picture.grab().toImage();
    picture.setSeason(colorFromLong(seasonColorForMonth(7)));
    const QImage summer = picture.grab().toImage();
    QDir().mkpath(QStringLiteral(MIRUNEA_ARTIFACTS_DIR));
    summer.save(QStringLiteral(MIRUNEA_ARTIFACTS_DIR "/splash-artwork-july.png"));
    // Teal has no red; the pale green wash has plenty.
    QVERIFY2(averageRed(summer) + 40 < averageRed(winter),
             qPrintable(QStringLiteral("%1 %2").arg(averageRed(summer)).arg(averageRed(winter))));
}

void SplashTest::saveSplashGrab() {
    SplashFixture f;
    Firstfrm splash(f.state, f.demo.programFolder);
    splash.load();
    QDir().mkpath(QStringLiteral(MIRUNEA_ARTIFACTS_DIR));
    const QString path = QStringLiteral(MIRUNEA_ARTIFACTS_DIR "/splash.png");
    const QImage image = splash.grab().toImage();
    QCOMPARE(image.size(), QSize(600, 400));
    QVERIFY(image.save(path));
    // Something is drawn: the artwork is not one flat colour.
    QVERIFY(image.pixelColor(300, 50) != image.pixelColor(300, 200));
}

void SplashTest::versionDialog() {
    const QString version = projectVersion();
    QVERIFY(!version.isEmpty());
    AppState state;
    state.profile.programTitle = QStringLiteral("ミルネア");
    frmver dialog(state);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    QCOMPARE(dialog.Label1->text(), QStringLiteral("ミルネア"));
    QCOMPARE(dialog.Label2->text(), QStringLiteral("Version") + version);
    QVERIFY(!dialog.Label4->text().isEmpty());
    QCOMPARE(dialog.Command1->text(), QStringLiteral("O.K."));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(dialog.Command1, Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void SplashTest::waitWindow() {
    FakeEnvironment env;
    AppState state;
    state.env = &env;
    ScreenHost host;
    state.host = &host;
    host.show();

    showWaitWindow(state);
    QVERIFY(state.waitWindow);
    auto* label = state.waitWindow->findChild<QLabel*>(QStringLiteral("Label19"));
    QVERIFY(label);
    QCOMPARE(label->text(), QStringLiteral("Just a moment, please."));
    QCOMPARE(label->font().family(), QStringLiteral("ＭＳ ゴシック"));
    QVERIFY(state.waitWindow->isVisible());
    QVERIFY(state.waitWindow->isWindow());
    const QPoint offset = state.waitWindow->geometry().center() - host.geometry().center();
    QVERIFY2(offset.manhattanLength() < 4, "centred over the program's window");

    // Shown again while up: the same window, painted again before the call returns.
    PaintCounter counter;
    label->installEventFilter(&counter);
    QWidget* first = state.waitWindow;
    showWaitWindow(state);
    QCOMPARE(state.waitWindow.data(), first);
    QVERIFY(counter.paints > 0);

    QPointer<QWidget> window = state.waitWindow;
    closeWaitWindow(state);
    QVERIFY(!state.waitWindow);
    QVERIFY(!window || !window->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!window);
    closeWaitWindow(state); // closing twice is harmless
}

QTEST_MAIN(SplashTest)
#include "test_splash.moc"
