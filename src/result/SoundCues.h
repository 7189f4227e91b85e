#pragma once

#include <QString>

struct AppState;

// The ten named cues, in the sound table's order.
enum SoundCueNumber {
    正解音1 = 1,
    正解音2 = 2,
    間違い音1 = 3,
    間違い音2 = 4,
    最高音1 = 5,
    最高音2 = 6,
    自己最高音1 = 7,
    自己最高音2 = 8,
    自己最高音3 = 9,
    不合格音1 = 10,
};

// The name of cue 1..10 as the sound table writes it ("正解音2"); empty for other numbers.
QString soundCueName(int cue);

// The sound table file of the sound folder.
QString soundTablePath(const AppState& state);

// Reads "新音ファイル.txt" of the sound folder; a missing file or one that ends inside
// a section is reported and ends the program (false).
bool loadSoundTable(AppState& state);

// Plays a random file of the cue, synchronously. Cues 2 and 4 count failures; the fourth
// in a row ends the program after its message, and then this returns false. Other
// failures are silent (written to standard error only) and this returns true.
// A cue the table does not name (or names with no file) plays nothing and counts as a
// failure with a description naming the cue and the table.
bool playCue(AppState& state, int cue);

// Plays one of the fixed sounds of the sound folder ("最高1.wav", "合格.wav", "警告1.wav"),
// without counting failures.
void playFixed(AppState& state, const QString& fileName);
