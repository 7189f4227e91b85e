#include "app/Screen.h"

#include <QResizeEvent>

Screen::Screen(AppState& state, QWidget* parent) : QWidget(parent), state_(state), layout_(this) {
    setAutoFillBackground(true);
}

void Screen::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layout_.apply();
}
