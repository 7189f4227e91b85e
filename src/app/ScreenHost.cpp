#include "app/ScreenHost.h"

#include "app/Screen.h"

#include <QApplication>
#include <QCloseEvent>
#include <QTimer>

ScreenHost::ScreenHost(QWidget* parent) : QWidget(parent) {
    resize(1024, 768);
    qApp->installEventFilter(this);
}

ScreenHost::~ScreenHost() {
    qApp->removeEventFilter(this);
    delete pending_;
}

void ScreenHost::showScreen(Screen* screen) {
    if (busy()) {
        if (pending_ && pending_ != screen) {
            pending_->deleteLater();
        }
        pending_ = screen;
        return;
    }
    if (pending_ && pending_ != screen) {
        // A switch held during a wait is overtaken by the one asked for after it.
        pending_->deleteLater();
    }
    pending_ = nullptr;
    switchNow(screen);
}

void ScreenHost::switchNow(Screen* screen) {
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

void ScreenHost::beginOperation() {
    if (++operations_ == 1) {
        emit busyChanged(true);
    }
}

void ScreenHost::endOperation() {
    if (operations_ > 0 && --operations_ == 0) {
        emit busyChanged(false);
    }
    if (operations_ == 0 && pending_ && !switchQueued_) {
        // The switch runs from the event loop, once the operation's own code (still on the
        // stack here) has returned.
        switchQueued_ = true;
        QTimer::singleShot(0, this, [this] { runPendingSwitch(); });
    }
}

void ScreenHost::expectInput(QWidget* widget) {
    expected_.emplace_back(widget);
}

void ScreenHost::stopExpectingInput(QWidget* widget) {
    for (auto it = expected_.begin(); it != expected_.end(); ++it) {
        if (*it == widget) {
            expected_.erase(it);
            return;
        }
    }
}

void ScreenHost::beginHoldingInput() {
    ++holding_;
}

void ScreenHost::endHoldingInput() {
    if (holding_ > 0 && --holding_ == 0) {
        deliverHeldInput();
    }
}

void ScreenHost::deliverHeldInput() {
    // Posted, so they arrive once the operation's own code has returned, in the order they
    // were made; a control that went meanwhile gets nothing.
    std::vector<HeldInput> held = std::move(heldInput_);
    heldInput_.clear();
    for (HeldInput& input : held) {
        if (!input.target) {
            continue;
        }
        // Nor does one that was hidden or disabled meanwhile (the buttons a sound's end
        // takes away): the pupil could not have clicked it now.
        auto* widget = qobject_cast<QWidget*>(input.target.data());
        if (widget && (!widget->isVisible() || !widget->isEnabled())) {
            continue;
        }
        QCoreApplication::postEvent(input.target, input.event.release());
    }
}

bool ScreenHost::isHeldKind(const QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return true;
    default:
        return false;
    }
}

void ScreenHost::runPendingSwitch() {
    switchQueued_ = false;
    if (busy() || !pending_) {
        return; // another operation began meanwhile; its end queues the switch again
    }
    Screen* screen = pending_;
    pending_ = nullptr;
    switchNow(screen);
}

bool ScreenHost::isOurInput(QObject* watched, QEvent* event) const {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
        break;
    case QEvent::Close:
        return watched == this;
    default:
        return false;
    }
    // Input to our own window only: message boxes and other windows opened during the
    // operation are what it waits for, and so are the controls it names.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this) {
        return false;
    }
    for (const QPointer<QWidget>& expected : expected_) {
        if (expected && (expected == widget || expected->isAncestorOf(widget))) {
            return false;
        }
    }
    return true;
}

bool ScreenHost::eventFilter(QObject* watched, QEvent* event) {
    if (busy() && isOurInput(watched, event)) {
        if (holding_ > 0 && isHeldKind(event)) {
            heldInput_.push_back({watched, std::unique_ptr<QEvent>(event->clone())});
        }
        // A close left accepted would still close the window once the filter has eaten it.
        if (event->type() == QEvent::Close) {
            event->ignore();
        } else {
            event->accept();
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void ScreenHost::closeEvent(QCloseEvent* event) {
    if (busy()) {
        // Closing now would delete the screen under the step that is running.
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void ScreenHost::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (current_) {
        current_->setGeometry(rect());
    }
}
