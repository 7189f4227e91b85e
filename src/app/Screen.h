#pragma once

#include "app/TwipsLayout.h"

#include <QColor>
#include <QWidget>

struct AppState;

// Fills a widget's background with the colour (and sets its text colour, when given), the
// way every screen paints its panels and labels.
void paintBackground(QWidget* widget, const QColor& background);
void paintBackground(QWidget* widget, const QColor& background, const QColor& text);

// One screen of the program, shown inside the top-level window. A screen is created
// afresh each time it is shown; activate() runs when the program brings it up and again
// whenever a window it opened has closed.
class Screen : public QWidget {
    Q_OBJECT
public:
    explicit Screen(AppState& state, QWidget* parent = nullptr);

    virtual void activate() {}
    // The caption the top-level window shows while this screen is current.
    virtual QString caption() const { return windowTitle(); }

protected:
    void resizeEvent(QResizeEvent* event) override;

    AppState& state_;
    TwipsLayout layout_;
};
