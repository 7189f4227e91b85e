#include "result/SoundCues.h"

#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Messages.h"
#include "text/LenientNumber.h"

#include <QApplication>
#include <QDir>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr int failuresTolerated = 3;

bool countsFailures(int cue) {
    return cue == 正解音2 || cue == 間違い音2;
}

void reportQuietly(const QString& error) {
    // A sound that does not play is not shown to the pupil; a technician at a terminal
    // can still see why.
    std::fprintf(stderr, "mirunea: sound: %s\n", error.toUtf8().constData());
    std::fflush(stderr);
}

// Picks the file of the cue and plays it; a cue without files is a failure.
SoundOutcome playPicked(AppState& state, int cue) {
    if (cue < 1 || cue > SoundTable::cueCount) {
        return {false, QStringLiteral("音の番号 %1 はありません。").arg(cue)};
    }
    const SoundCue& entry = state.sounds.cues[cue];
    const double count = std::min<double>(lenientNumber(entry.fileCount), SoundCue::maxFiles);
    if (entry.fileCount.isEmpty() || count < 1) {
        return {false,
                QStringLiteral("音の設定ファイル「%1」に「%2」の音がありません。")
                    .arg(QDir::toNativeSeparators(soundTablePath(state)), soundCueName(cue))};
    }
    const double u = state.env->random();
    const int n = std::clamp(static_cast<int>(std::floor(u * count + 1)), 1, SoundCue::maxFiles);
    return state.env->playWave(state.layout.soundFolder + entry.files[n] + QStringLiteral(".wav"));
}

void closeEveryWindow() {
    // The most recently opened first; Qt lists top-level windows in creation order.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
        if ((*it)->isVisible()) {
            (*it)->close();
        }
    }
}

} // namespace

bool playCue(AppState& state, int cue) {
    const SoundOutcome outcome = playPicked(state, cue);
    if (!countsFailures(cue)) {
        if (!outcome.ok) {
            reportQuietly(outcome.error);
        }
        return true;
    }
    int& errorCount = state.sounds.errorCount;
    if (outcome.ok) {
        errorCount = 0;
        return true;
    }
    if (errorCount < failuresTolerated) {
        ++errorCount;
        reportQuietly(outcome.error);
        return true;
    }
    showMessage(state, nullptr, QStringLiteral("音声エラー"),
                QStringLiteral("音声がでません。先生を呼びなさい。\r\n") + outcome.error,
                MessageButtons::Ok, MessageIcon::Critical);
    closeEveryWindow();
    state.env->endProgram(1);
    return false;
}

void playFixed(AppState& state, const QString& fileName) {
    const SoundOutcome outcome = state.env->playWave(state.layout.soundFolder + fileName);
    if (!outcome.ok) {
        reportQuietly(outcome.error);
    }
}
