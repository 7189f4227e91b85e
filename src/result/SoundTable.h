#pragma once

#include <QString>
#include <array>

// A named sound with up to 20 wave files; one is picked at random per play.
struct SoundCue {
    QString name;
    std::array<QString, 21> files{}; // slots 1..20
    QString fileCount;               // text, empty until the table names the cue
};

struct SoundTable {
    std::array<SoundCue, 11> cues{}; // cues 1..10
    int errorCount = 0;
};
