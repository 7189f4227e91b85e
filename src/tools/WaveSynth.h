#pragma once

#include <QByteArray>
#include <cstdint>
#include <vector>

// Short tones and chords for a school's sounds, written as 16-bit PCM mono WAVE files.

inline constexpr int waveSampleRate = 22050;

// The colour of a note: relative strengths of the harmonics (the first is the
// fundamental) and how fast the note dies away.
struct Timbre {
    std::vector<double> harmonics{1.0, 0.35, 0.12};
    double attackSeconds = 0.006;
    double decaySeconds = 0.30;   // time for the note to fall to a third of its peak
    double releaseSeconds = 0.02; // fade at the note's end, so nothing clicks
};

struct Note {
    double frequency = 440; // Hz
    double startSeconds = 0;
    double lengthSeconds = 0.2;
    double volume = 1.0;
};

// The frequency of a note by its MIDI number (69 is A4, 440 Hz).
double noteFrequency(int midiNote);

// Mixes the notes into samples of the given length, scaled so the loudest sample is
// peak of full scale (0 < peak <= 1).
std::vector<std::int16_t> synthesise(const std::vector<Note>& notes, const Timbre& timbre,
                                     double totalSeconds, double peak = 0.6);

// A complete WAVE file (RIFF header, "fmt " chunk, "data" chunk) holding the samples.
QByteArray waveFile(const std::vector<std::int16_t>& samples, int sampleRate = waveSampleRate);

// What a WAVE file's header says; ok is false when it is not a PCM WAVE file.
struct WaveFormat {
    bool ok = false;
    int formatTag = 0;
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    std::vector<std::int16_t> samples; // 16-bit files only
};
WaveFormat readWaveFile(const QByteArray& bytes);
