#pragma once

#include "app/TwipsLayout.h"

#include <QWidget>

struct AppState;

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
