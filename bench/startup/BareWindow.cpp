// The yardstick of the start-up benchmark: the least a Qt Widgets program does to show a
// maximised window with a list of 40 names. It stays open until it is ended.
#include <QApplication>
#include <QListWidget>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* list = new QListWidget(&window);
    for (int i = 1; i <= 40; ++i) {
        list->addItem(QStringLiteral("%1　生徒 %1").arg(i));
    }
    layout->addWidget(list);
    // Without a window manager (the benchmark's virtual screen has none) maximising does
    // not resize; the window takes the screen as a manager would give it.
    window.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    window.setWindowState(Qt::WindowMaximized);
    window.show();
    return QApplication::exec();
}
