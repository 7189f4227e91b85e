#include "result/SoundCues.h"

#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Messages.h"
#include "app/ScreenOperation.h"
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

// A sound plays to its end before the program goes on: the pupil's keys and clicks
// meanwhile wait for it, and nothing switches the screen under the caller.
SoundOutcome playToEnd(AppState& state, const QString& path) {
    const ScreenOperation operation(state, ScreenOperation::HoldInput{});
    return state.env->playWave(path);
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
    const SoundOutcome noSound{
        false, QStringLiteral("音の設定ファイル「%1」に「%2」の音がありません。")
                   .arg(QDir::toNativeSeparators(soundTablePath(state)), soundCueName(cue))};
    if (entry.fileCount.isEmpty()) {
        return noSound;
    }
    // A section without names has the count 0 and so plays its first slot, which an
    // earlier section of the same cue may have filled.
    const double count = std::min<double>(lenientNumber(entry.fileCount), SoundCue::maxFiles);
    const double u = state.env->random();
    const int n = std::clamp(static_cast<int>(std::floor(u * count + 1)), 1, SoundCue::maxFiles);
    if (entry.files[n].isEmpty()) {
        return noSound;
    }
    return playToEnd(state, state.layout.soundFolder + entry.files[n] + QStringLiteral(".wav"));
}

void closeEveryWindow() {
    // Hidden rather than closed: the program ends straight after, and a close would let
    // a screen refuse or ask first (the drill keeps its window while a run is on).
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window->isVisible()) {
            window->hide();
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
    const SoundOutcome outcome = playToEnd(state, state.layout.soundFolder + fileName);
    if (!outcome.ok) {
        reportQuietly(outcome.error);
    }
}
