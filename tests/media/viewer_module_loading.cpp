// The program's way to the explanation viewers: the module beside it, loaded the first
// time "★解説★" opens one. This test links the core as the program does (all of it,
// exported) and not the viewers, so it sees what the program sees.
#include "app/AppState.h"
#include "app/JapaneseFonts.h"
#include "app/ScreenHost.h"
#include "media/ViewerModule.h"
#include "support/TestInstallation.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QWidget* topLevelOfClass(const char* className) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && QByteArray(w->metaObject()->className()) == className) {
            return w;
        }
    }
    return nullptr;
}

} // namespace

class ViewerModuleLoadingTest : public QObject {
    Q_OBJECT
private slots:
    void opensTheViewerFromTheModule_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QByteArray>("viewerClass");
        QTest::newRow("a video beside the level menu") << "解説1.mp4" << QByteArray("FrmVideo");
        QTest::newRow("an animation over everything") << "kaisetsu.swf" << QByteArray("frmBrowser");
    }
    void opensTheViewerFromTheModule() {
        QFETCH(QString, entry);
        QFETCH(QByteArray, viewerClass);
        TestInstallation t;
        ScreenHost host;
        t.state.host = &host;
        wireViewerModule(t.state, QStringLiteral(MIRUNEA_VIEWER_MODULE_DIR));
        QCOMPARE(t.state.media.animationPlayerFolder,
                 QStringLiteral(MIRUNEA_VIEWER_MODULE_DIR "/ruffle"));
        t.state.media.currentMedia = entry;
        const bool video = viewerClass == "FrmVideo";
        (video ? t.state.routes.openExplanationVideo : t.state.routes.openExplanationAnimation)();
        QWidget* viewer = topLevelOfClass(viewerClass.constData());
        QVERIFY2(viewer, "the viewer's window did not open");
        QVERIFY(t.env.messages.empty());
        delete viewer;
    }

    // A module that is missing or is no module: the press is answered with a message
    // naming the file, nothing opens, and the next press tries again.
    void aModuleThatCannotLoadIsReported_data() {
        QTest::addColumn<QByteArray>("content"); // empty: no file at all
        QTest::addColumn<bool>("missing");
        QTest::newRow("missing") << QByteArray() << true;
        QTest::newRow("not a module") << QByteArray("not a library") << false;
    }
    void aModuleThatCannotLoadIsReported() {
        QFETCH(QByteArray, content);
        QFETCH(bool, missing);
        QTemporaryDir folder;
        const QString module = folder.path() + QLatin1Char('/') + viewerModuleFileName;
        if (!content.isEmpty()) {
            QFile file(module);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        TestInstallation t;
        ScreenHost host;
        t.state.host = &host;
        wireViewerModule(t.state, folder.path());
        t.state.media.currentMedia = QStringLiteral("解説1.mp4");
        t.state.routes.openExplanationVideo();
        t.state.routes.openExplanationVideo();
        QCOMPARE(t.env.messages.size(), std::size_t{2});
        QVERIFY(t.env.messages[1].text.contains(module));
        QCOMPARE(t.env.messages[1].text.contains(QStringLiteral("ファイルがありません")), missing);
        QVERIFY(!topLevelOfClass("FrmVideo"));
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    mapJapaneseFonts();
    ViewerModuleLoadingTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "viewer_module_loading.moc"
