#include "app/WaitWindow.h"

#include "app/AppState.h"
#include "app/JapaneseFonts.h"
#include "app/Screen.h"
#include "app/ScreenHost.h"
#include "app/ScreenOperation.h"

#include <QApplication>
#include <QLabel>

namespace {

// BASEFRM: one centred label, nothing else.
QWidget* createWaitWindow(QWidget* over) {
    auto* window = new QWidget(over, Qt::Tool | Qt::FramelessWindowHint);
    window->setObjectName(QStringLiteral("BASEFRM"));
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    window->setFixedSize(360, 90);
    window->setAutoFillBackground(true);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, QColor(255, 255, 240));
    window->setPalette(palette);

    auto* label = new QLabel(QStringLiteral("Just a moment, please."), window);
    label->setObjectName(QStringLiteral("Label19"));
    QFont font(msGothic);
    font.setPixelSize(20);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(window->rect());
    label->setFrameStyle(QFrame::Box | QFrame::Plain);

    if (over) {
        const QPoint centre = over->mapToGlobal(over->rect().center());
        window->move(centre - window->rect().center());
    }
    return window;
}

} // namespace

void showWaitWindow(AppState& state) {
    if (!state.waitWindow) {
        state.waitWindow = createWaitWindow(state.host);
    }
    QWidget* window = state.waitWindow;
    window->show();
    window->raise();
    // Painted now, before the caller's long work keeps the event loop away.
    window->repaint();
    letEventsRun(state);
}

void closeWaitWindow(AppState& state) {
    if (!state.waitWindow) {
        return;
    }
    QWidget* window = state.waitWindow;
    state.waitWindow = nullptr;
    window->hide();
    window->deleteLater();
}
