#pragma once

#include "app/Screen.h"

#include <QPointer>
#include <QWidget>

// The one top-level window. It shows the current screen filling the window and keeps
// the design's 4:3 proportion through the screen's scale factor.
class ScreenHost : public QWidget {
    Q_OBJECT
public:
    explicit ScreenHost(QWidget* parent = nullptr);

    // Replaces the current screen (the old one is deleted once control returns to the
    // event loop), shows the new one (and the window, the first time) and runs its
    // activate().
    void showScreen(Screen* screen);
    Screen* current() const { return current_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QPointer<Screen> current_;
};
