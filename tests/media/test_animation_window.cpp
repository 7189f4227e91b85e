// The browser window playing animations through the player installed beside the program,
// with no network: a small animation written here shows its colour in the window; an
// address that cannot be loaded still leaves a window that "解説終わり" closes.
#include "media/MediaTestMain.h"
#include "media/SmallSwf.h"
#include "media/viewers/frmBrowser.h"
#include "support/TestInstallation.h"

#include <QDir>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

const QString playerFolder = QStringLiteral(MIRUNEA_ANIMATION_PLAYER_DIR);

bool near(const QColor& seen, const QColor& wanted, int tolerance = 12) {
    return std::abs(seen.red() - wanted.red()) <= tolerance &&
           std::abs(seen.green() - wanted.green()) <= tolerance &&
           std::abs(seen.blue() - wanted.blue()) <= tolerance;
}

QColor centreOf(QWidget* widget) {
    const QImage image = widget->grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

QString pageText(QWebEngineView* view) {
    QString text;
    bool done = false;
    view->page()->toPlainText([&text, &done](const QString& t) {
        text = t;
        done = true;
    });
    if (!QTest::qWaitFor([&done] { return done; }, 10000)) {
        return QStringLiteral("(the page did not answer)");
    }
    return text;
}

void saveGrab(QWidget* widget, const QString& name) {
    const QString folder = QStringLiteral(MIRUNEA_ARTIFACTS_DIR);
    QDir().mkpath(folder);
    widget->grab().save(folder + QLatin1Char('/') + name);
}

void closeWithTheButton(frmBrowser* window) {
    QPointer<frmBrowser> guard(window);
    auto* button = window->findChild<QPushButton*>(QStringLiteral("Command1"));
    QVERIFY(button);
    QCOMPARE(button->text(), QStringLiteral("解説終わり"));
    QTest::mouseClick(button, Qt::LeftButton);
    QTRY_VERIFY(guard.isNull());
}

// A web server on this machine that answers every request with one animation.
class OneFileServer : public QTcpServer {
public:
    explicit OneFileServer(const QByteArray& body) : body_(body) {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    if (!socket->readAll().contains("\r\n\r\n")) {
                        return; // the request's head is not complete yet
                    }
                    ++requests;
                    socket->write("HTTP/1.0 200 OK\r\nContent-Type: application/x-shockwave-flash"
                                  "\r\nContent-Length: " +
                                  QByteArray::number(body_.size()) + "\r\n\r\n" + body_);
                    socket->disconnectFromHost();
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    int requests = 0;

private:
    QByteArray body_;
};

} // namespace

class TestAnimationWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY2(
            QDir(playerFolder).exists(QStringLiteral("ruffle.js")),
            qPrintable(QStringLiteral("the animation player is not installed in ") + playerFolder));
    }

    void aLocalAnimationPlaysItsColour_data() {
        QTest::addColumn<QString>("address"); // %1: the drill's data folder
        QTest::newRow("bare name") << QStringLiteral("比の解説.swf");
        QTest::newRow("file address") << QStringLiteral("file://%1比の解説.swf");
    }
    void aLocalAnimationPlaysItsColour() {
        QFETCH(QString, address);
        TestInstallation t;
        const QColor colour(32, 160, 64);
        t.writeBytes(t.drillDataFolder() + QStringLiteral("比の解説.swf"), smallSwf(colour));
        if (address.contains(QLatin1String("%1"))) {
            address = address.arg(t.drillDataFolder());
        }
        auto* window = new frmBrowser(address, t.drillDataFolder(), playerFolder);
        window->show();
        QCOMPARE(window->StartingAddress, address);
        QVERIFY(window->isModal());
        QWebEngineView* view = window->view();
        QTRY_VERIFY_WITH_TIMEOUT(near(centreOf(view), colour), 30000);
        saveGrab(window, QStringLiteral("animation_window.png"));
        closeWithTheButton(window);
    }

    void anAnimationOnAWebServerPlaysItsColour() {
        TestInstallation t;
        const QColor colour(40, 60, 200);
        OneFileServer server(smallSwf(colour));
        QVERIFY(server.listen(QHostAddress::LocalHost));
        const QString address =
            QStringLiteral("http://127.0.0.1:%1/anim/比の解説.swf").arg(server.serverPort());
        auto* window = new frmBrowser(address, t.drillDataFolder(), playerFolder);
        window->show();
        QTRY_VERIFY_WITH_TIMEOUT(near(centreOf(window->view()), colour), 30000);
        QCOMPARE(server.requests, 1);
        closeWithTheButton(window);
    }

    // The page can reach the player's files and its one animation, and nothing else of the
    // disk, however the address is spelt.
    void thePageReachesNoOtherFile() {
        TestInstallation t;
        t.writeBytes(t.drillDataFolder() + QStringLiteral("a.swf"), smallSwf(Qt::yellow));
        t.writeBytes(t.drillDataFolder() + QStringLiteral("secret.txt"), "secret");
        auto* window = new frmBrowser(QStringLiteral("a.swf"), t.drillDataFolder(), playerFolder);
        window->show();
        QTRY_VERIFY_WITH_TIMEOUT(near(centreOf(window->view()), Qt::yellow), 30000);

        const QString folder = QString(t.drillDataFolder()).replace(QLatin1Char('/'), "%2F");
        const QStringList addresses = {
            QStringLiteral("mirunea://player/ruffle.js"),
            QStringLiteral("mirunea://explanation/animation.swf"),
            QStringLiteral("mirunea://player/..%2F..%2F..%2Fsecret.txt"),
            QStringLiteral("mirunea://player/") + folder + QStringLiteral("secret.txt"),
            QStringLiteral("mirunea://explanation/secret.txt"),
            QStringLiteral("mirunea://explanation/..%2Fsecret.txt"),
            QStringLiteral("mirunea://secret.txt"),
            QStringLiteral("file://") + t.drillDataFolder() + QStringLiteral("secret.txt"),
        };
        QString script = QStringLiteral("(function () { var seen = []; var urls = [");
        for (const QString& address : addresses) {
            script += QLatin1Char('"') + address + QStringLiteral("\",");
        }
        script += QStringLiteral(R"(];
            urls.forEach(function (url) {
              try {
                var request = new XMLHttpRequest();
                request.open("GET", url, false);
                request.send();
                seen.push(request.status === 200 && request.responseText.length > 0 ? "read" : "no");
              } catch (e) { seen.push("no"); }
            });
            return seen.join(","); })())");
        QString seen;
        window->view()->page()->runJavaScript(script,
                                              [&seen](const QVariant& v) { seen = v.toString(); });
        QTRY_VERIFY_WITH_TIMEOUT(!seen.isEmpty(), 10000);
        QCOMPARE(seen, QStringLiteral("read,read,no,no,no,no,no,no"));
        closeWithTheButton(window);
    }

    void aMissingPlayerIsSaidInPlainWords() {
        TestInstallation t;
        t.writeBytes(t.drillDataFolder() + QStringLiteral("a.swf"), smallSwf(Qt::red));
        auto* window =
            new frmBrowser(QStringLiteral("a.swf"), t.drillDataFolder(), t.root() + "/nothing");
        window->show();
        QTRY_VERIFY_WITH_TIMEOUT(pageText(window->view()).contains(QStringLiteral("ruffle")),
                                 20000);
        closeWithTheButton(window);
    }

    void anAddressThatCannotLoadStillCloses_data() {
        QTest::addColumn<QString>("address");
        QTest::newRow("missing animation") << QStringLiteral("ない.swf");
        QTest::newRow("unreachable server") << QStringLiteral("http://127.0.0.1:9/a.swf");
        QTest::newRow("missing page") << QStringLiteral("ない.html");
        QTest::newRow("empty") << QString();
    }
    void anAddressThatCannotLoadStillCloses() {
        QFETCH(QString, address);
        TestInstallation t;
        auto* window = new frmBrowser(address, t.drillDataFolder(), playerFolder);
        window->show();
        if (!address.isEmpty()) {
            QSignalSpy loaded(window->view(), &QWebEngineView::loadFinished);
            QTRY_VERIFY_WITH_TIMEOUT(loaded.count() > 0, 20000);
        }
        QVERIFY(window->isVisible());
        closeWithTheButton(window);
    }
};

MIRUNEA_MEDIA_TEST_MAIN(TestAnimationWindow)
#include "test_animation_window.moc"
