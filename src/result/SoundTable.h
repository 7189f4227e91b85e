#pragma once

#include <QString>
#include <array>

// A named sound with up to 20 wave files; one is picked at random per play.
struct SoundCue {
    static constexpr int maxFiles = 20;

    QString name;
    std::array<QString, maxFiles + 1> files{}; // base names without ".wav", slots 1..20
    QString fileCount;                         // text, empty until the table names the cue
};

// The ten cues of "新音ファイル.txt" and the failure count shared by the right-answer and
// wrong-answer cues.
struct SoundTable {
    static constexpr int cueCount = 10;

    std::array<SoundCue, cueCount + 1> cues{}; // cues 1..10
    int errorCount = 0;
};
