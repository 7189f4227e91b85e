#include "records/FileRetry.h"

#include "app/AppState.h"
#include "app/Environment.h"
#include "app/ScreenOperation.h"

#include <QEventLoop>
#include <memory>

bool waitResponsively(AppState& state, int ms) {
    ScreenOperation operation(state);
    std::unique_ptr<Timer> timer = state.env->createTimer();
    QEventLoop loop;
    bool done = false;
    timer->singleShot = true;
    timer->onTimeout = [&] {
        done = true;
        loop.quit();
    };
    timer->start(ms);
    loop.exec();
    // The loop only ends early when the application is quitting: going on waiting would
    // spin, since every further loop would end at once.
    return done;
}

namespace {
FileResult quitting() {
    return FileResult::failure(0, QStringLiteral("プログラムが終わるため、待つのをやめました。"));
}
} // namespace

FileResult retryFileStep(AppState& state, int& missingFailures,
                         const std::function<FileResult()>& attempt) {
    for (;;) {
        FileResult result = attempt();
        switch (result.state) {
        case FileState::Ok:
        case FileState::Failed:
            return result;
        case FileState::Busy:
            if (!waitResponsively(state, RetryRules::busyWaitMs)) {
                return quitting();
            }
            break;
        case FileState::Missing:
            ++missingFailures;
            if (missingFailures >= RetryRules::missingTries) {
                return result;
            }
            if (!waitResponsively(state, RetryRules::missingWaitMs)) {
                return quitting();
            }
            break;
        }
    }
}

FileResult retryLockedStep(AppState& state, const std::function<FileResult()>& step) {
    FileResult result = step();
    for (int tries = 1; !result.ok() && tries < RetryRules::refusedStepTries; ++tries) {
        if (!waitResponsively(state, RetryRules::refusedStepWaitMs)) {
            return result;
        }
        result = step();
    }
    if (!result.ok()) {
        result.state = FileState::Failed;
    }
    return result;
}
