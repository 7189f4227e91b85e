#pragma once

#include "makedemo/WaveSynth.h"

#include <QString>
#include <QStringList>
#include <vector>

struct DemoInstallation;

// One synthesised sound of the demo's sound folder.
struct DemoSound {
    QString fileName; // with ".wav"
    std::vector<Note> notes;
    Timbre timbre;
    double seconds = 0;
};

// A section of the sound table: a cue name and the base names of its files.
struct DemoCue {
    QString cue;
    QStringList baseNames;
};

// The four cues the program plays, one to three files each.
std::vector<DemoCue> demoSoundCues();
// Every wave file of the demo: the cues' files and the fixed "最高1.wav", "合格.wav",
// "警告1.wav".
std::vector<DemoSound> demoSounds();
// "新音ファイル.txt": per cue its name, its base names and "*", one item a line.
QString demoSoundTableText(const std::vector<DemoCue>& cues);

bool writeDemoSounds(const DemoInstallation& demo, QString* error);
