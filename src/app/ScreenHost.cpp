#include "app/ScreenHost.h"

#include "app/Screen.h"

ScreenHost::ScreenHost(QWidget* parent) : QWidget(parent) {
    resize(1024, 768);
}

void ScreenHost::showScreen(Screen* screen) {
    if (current_) {
        current_->hide();
        current_->deleteLater();
    }
    current_ = screen;
    screen->setParent(this);
    screen->setGeometry(rect());
    setWindowTitle(screen->caption());
    screen->show();
    if (!isVisible()) {
        show();
    }
    screen->setFocus();
    screen->activate();
}

void ScreenHost::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (current_) {
        current_->setGeometry(rect());
    }
}
