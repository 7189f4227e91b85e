#include "tools/SchoolSounds.h"

#include "app/AppState.h"
#include "result/SoundCues.h"
#include "text/ItemWriter.h"
#include "tools/SchoolFiles.h"

namespace {

// Note numbers (69 is A4).
constexpr int C4 = 60, Eb4 = 63, E4 = 64, F4 = 65, G4 = 67, A4 = 69, B4 = 71;
constexpr int C5 = 72, D5 = 74, E5 = 76, F5 = 77, Fs5 = 78, G5 = 79, A5 = 81, B5 = 83;
constexpr int C6 = 84, D6 = 86, E6 = 88, F6 = 89;

Note note(int midi, double start, double length, double volume = 1.0) {
    return {noteFrequency(midi), start, length, volume};
}

// A clear chime for answers: two struck notes.
Timbre chime() {
    Timbre t;
    t.harmonics = {1.0, 0.28, 0.1, 0.04};
    t.decaySeconds = 0.22;
    return t;
}

// A soft low buzz for a wrong answer: rich in harmonics but gentle, never harsh.
Timbre buzz() {
    Timbre t;
    t.harmonics = {1.0, 0.55, 0.38, 0.24, 0.15, 0.08};
    t.attackSeconds = 0.012;
    t.decaySeconds = 0.9;
    t.releaseSeconds = 0.03;
    return t;
}

// A bright bell for records and passes.
Timbre bell() {
    Timbre t;
    t.harmonics = {1.0, 0.4, 0.18, 0.08};
    t.decaySeconds = 0.45;
    return t;
}

// Warm and slow for a result that did not pass.
Timbre soft() {
    Timbre t;
    t.harmonics = {1.0, 0.2, 0.05};
    t.attackSeconds = 0.02;
    t.decaySeconds = 0.6;
    t.releaseSeconds = 0.05;
    return t;
}

SchoolSound arpeggio(const QString& fileName, std::initializer_list<int> notes) {
    SchoolSound sound{fileName, {}, bell(), 0};
    double start = 0;
    for (int midi : notes) {
        sound.notes.push_back(note(midi, start, 0.5, 0.8));
        start += 0.09;
    }
    sound.seconds = start + 0.5;
    return sound;
}

void chord(std::vector<Note>& into, std::initializer_list<int> notes, double start, double length,
           double volume) {
    for (int midi : notes) {
        into.push_back(note(midi, start, length, volume));
    }
}

} // namespace

std::vector<SchoolCue> schoolSoundCues() {
    return {
        {QStringLiteral("正解音2"), {QStringLiteral("ピンポン1"), QStringLiteral("ピンポン2")}},
        {QStringLiteral("間違い音2"), {QStringLiteral("ブブー1")}},
        {QStringLiteral("自己最高音2"),
         {QStringLiteral("やったね1"), QStringLiteral("やったね2"), QStringLiteral("やったね3")}},
        {QStringLiteral("不合格音1"), {QStringLiteral("ざんねん1")}},
    };
}

std::vector<SchoolSound> schoolSounds() {
    std::vector<SchoolSound> sounds;
    sounds.push_back({QStringLiteral("ピンポン1.wav"),
                      {note(B5, 0, 0.22), note(G5, 0.15, 0.32)},
                      chime(),
                      0.48});
    sounds.push_back(
        {QStringLiteral("ピンポン2.wav"), {note(C6, 0, 0.2), note(A5, 0.14, 0.32)}, chime(), 0.46});
    sounds.push_back({QStringLiteral("ブブー1.wav"),
                      {note(E4 - 12, 0, 0.16, 0.9), note(E4 - 12, 0.21, 0.3, 0.9)},
                      buzz(),
                      0.52});
    sounds.push_back(arpeggio(QStringLiteral("やったね1.wav"), {C5, E5, G5, C6}));
    sounds.push_back(arpeggio(QStringLiteral("やったね2.wav"), {D5, Fs5, A5, D6}));
    sounds.push_back(arpeggio(QStringLiteral("やったね3.wav"), {F5, A5, C6, F6}));
    sounds.push_back({QStringLiteral("ざんねん1.wav"),
                      {note(G4, 0, 0.3, 0.8), note(Eb4, 0.22, 0.3, 0.8), note(C4, 0.44, 0.6, 0.8)},
                      soft(),
                      1.08});

    SchoolSound best{QStringLiteral("最高1.wav"), {}, bell(), 1.5};
    for (int i = 0; const int midi : {G4, C5, E5, G5}) {
        best.notes.push_back(note(midi, 0.1 * i++, 0.25, 0.7));
    }
    chord(best.notes, {C5, E5, G5, C6}, 0.45, 1.05, 0.6);
    sounds.push_back(best);

    SchoolSound passed{QStringLiteral("合格.wav"), {}, bell(), 2.3};
    chord(passed.notes, {C4, E4, G4, C5}, 0.0, 0.45, 0.55);
    chord(passed.notes, {F4, A4, C5, F5}, 0.45, 0.45, 0.55);
    chord(passed.notes, {G4, B4, D5, G5}, 0.9, 0.45, 0.55);
    chord(passed.notes, {C5, E5, G5, C6}, 1.35, 0.95, 0.6);
    sounds.push_back(passed);

    sounds.push_back({QStringLiteral("警告1.wav"),
                      {note(E6, 0, 0.09, 0.8), note(E6, 0.13, 0.09, 0.8)},
                      chime(),
                      0.25});
    return sounds;
}

QString soundTableText(const std::vector<SchoolCue>& cues) {
    ItemWriter out;
    for (const SchoolCue& cue : cues) {
        out.bare(cue.cue);
        out.endLine();
        for (const QString& name : cue.baseNames) {
            out.bare(name);
            out.endLine();
        }
        out.bare(QStringLiteral("*"));
        out.endLine();
    }
    return out.result();
}

bool writeSchoolSounds(const AppState& state, QString* error) {
    const QString soundFolder = state.layout.soundFolder;
    if (!writeSchoolTextFile(soundTablePath(state), soundTableText(schoolSoundCues()), error)) {
        return false;
    }
    for (const SchoolSound& sound : schoolSounds()) {
        const QByteArray bytes = waveFile(synthesise(sound.notes, sound.timbre, sound.seconds));
        if (!writeSchoolBinaryFile(soundFolder + sound.fileName, bytes, error)) {
            return false;
        }
    }
    return true;
}
