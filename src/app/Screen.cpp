#include "app/Screen.h"

#include <QPalette>
#include <QResizeEvent>

void paintBackground(QWidget* widget, const QColor& background) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, background);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void paintBackground(QWidget* widget, const QColor& background, const QColor& text) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, text);
    widget->setPalette(palette);
    paintBackground(widget, background);
}

Screen::Screen(AppState& state, QWidget* parent) : QWidget(parent), state_(state), layout_(this) {
    setAutoFillBackground(true);
}

void Screen::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layout_.apply();
}
