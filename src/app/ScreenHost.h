#pragma once

#include "app/Screen.h"

#include <QPointer>
#include <QWidget>
#include <memory>
#include <vector>

// The one top-level window. It shows the current screen filling the window and keeps
// the design's 4:3 proportion through the screen's scale factor.
//
// Long steps let window events run (file waits, message boxes, sounds, list builds).
// While such a step is on the stack (see ScreenOperation) the window is busy: the pupil's
// keys, clicks and the window's close are not delivered to it, and a switch to another
// screen waits until the step has returned, so a screen is never deleted under one of its
// own operations.
class ScreenHost : public QWidget {
    Q_OBJECT
public:
    explicit ScreenHost(QWidget* parent = nullptr);
    ~ScreenHost() override;

    // Replaces the current screen (the old one is deleted once control returns to the
    // event loop), shows the new one (and the window, the first time) and runs its
    // activate(). While busy, the switch is held until the last operation ends; a later
    // switch asked for meanwhile replaces the held one.
    void showScreen(Screen* screen);
    Screen* current() const { return current_; }
    // The screen a held switch will show; null when none is held.
    Screen* pending() const { return pending_; }

    bool busy() const { return operations_ > 0; }
    void beginOperation();
    void endOperation();
    // Input that a running operation waits for (see ScreenOperation); counted, so nested
    // operations may expect the same control.
    void expectInput(QWidget* widget);
    void stopExpectingInput(QWidget* widget);
    // While an operation holds input (a sound), keys and clicks on the window are kept and
    // delivered once the last such operation has ended, instead of being dropped.
    void beginHoldingInput();
    void endHoldingInput();

signals:
    // The first operation has begun (true) or the last one has ended (false).
    void busyChanged(bool busy);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void switchNow(Screen* screen);
    void runPendingSwitch();
    bool isOurInput(QObject* watched, QEvent* event) const;
    void deliverHeldInput();
    static bool isHeldKind(const QEvent* event);

    struct HeldInput {
        QPointer<QObject> target;
        std::unique_ptr<QEvent> event;
    };

    QPointer<Screen> current_;
    QPointer<Screen> pending_;
    int operations_ = 0;
    std::vector<QPointer<QWidget>> expected_;
    bool switchQueued_ = false;
    int holding_ = 0;
    std::vector<HeldInput> heldInput_;
};
