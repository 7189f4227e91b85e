#pragma once

#include <QByteArray>
#include <QString>

// What the header of a wave file says, checked before the file is handed to the audio
// backend: a file that is missing or not a wave file is reported at once with a readable
// description, and the length of the sound bounds how long a play may take.
struct WaveCheck {
    bool ok = false;
    QString error;     // readable, Japanese, naming the file, when ok is false
    int formatTag = 0; // 1 PCM, 3 float, 0xFFFE extensible, others compressed
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    qint64 durationMs = 0; // the sound's length from the data chunk and the byte rate
};

// Checks bytes read from path (the path only names the file in messages): a RIFF "WAVE"
// file with a "fmt " chunk and a "data" chunk. A data chunk that claims more bytes than
// the file holds (a writer that never patched the size) is taken as far as the file goes.
WaveCheck checkWave(const QByteArray& bytes, const QString& path);

// Reads the file (opened, read and closed in one go) and checks it.
WaveCheck inspectWaveFile(const QString& path);
