#include "app/ScreenOperation.h"

#include "app/AppState.h"
#include "app/ScreenHost.h"

#include <QCoreApplication>

ScreenOperation::ScreenOperation(AppState& state) : state_(state) {
    if (state_.host) {
        state_.host->beginOperation();
        counted_ = true;
    }
}

ScreenOperation::ScreenOperation(AppState& state, HoldInput) : state_(state) {
    if (state_.host) {
        state_.host->beginOperation();
        state_.host->beginHoldingInput();
        counted_ = true;
        holding_ = true;
    }
}

ScreenOperation::ScreenOperation(AppState& state, std::initializer_list<QWidget*> expected)
    : state_(state) {
    if (state_.host) {
        for (QWidget* widget : expected) {
            expected_.emplace_back(widget);
            state_.host->expectInput(widget);
        }
        state_.host->beginOperation();
        counted_ = true;
    }
}

ScreenOperation::~ScreenOperation() {
    // The host lives for the whole program; the pointer is the one counted at the start.
    if (counted_ && state_.host) {
        for (const QPointer<QWidget>& widget : expected_) {
            state_.host->stopExpectingInput(widget);
        }
        if (holding_) {
            state_.host->endHoldingInput();
        }
        state_.host->endOperation();
    }
}

void letEventsRun(AppState& state) {
    ScreenOperation operation(state);
    QCoreApplication::processEvents();
}
