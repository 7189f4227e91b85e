#pragma once

#include "tools/WaveSynth.h"

#include <QString>
#include <QStringList>
#include <vector>

struct AppState;

// One sound the program synthesises for a new school's sound folder.
struct SchoolSound {
    QString fileName; // with ".wav"
    std::vector<Note> notes;
    Timbre timbre;
    double seconds = 0;
};

// A section of the sound table: a cue name and the base names of its files.
struct SchoolCue {
    QString cue;
    QStringList baseNames;
};

// The four cues the program plays, one to three files each.
std::vector<SchoolCue> schoolSoundCues();
// Every wave file of a new school: the cues' files and the fixed "最高1.wav", "合格.wav",
// "警告1.wav".
std::vector<SchoolSound> schoolSounds();
// "新音ファイル.txt": per cue its name, its base names and "*", one item a line.
QString soundTableText(const std::vector<SchoolCue>& cues);

// Writes the sound table and every wave file into the layout's sound folder, replacing
// files of the same names; false with a description naming the file.
bool writeSchoolSounds(const AppState& state, QString* error);
