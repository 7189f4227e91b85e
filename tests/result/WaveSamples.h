#pragma once

// Wave files made by the tests themselves: a sine tone as PCM, and the pieces to build
// broken ones.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>
#include <cmath>
#include <numbers>

namespace wavesamples {

inline QByteArray le16(int value) {
    QByteArray bytes(2, '\0');
    qToLittleEndian<quint16>(static_cast<quint16>(value), bytes.data());
    return bytes;
}

inline QByteArray le32(qint64 value) {
    QByteArray bytes(4, '\0');
    qToLittleEndian<quint32>(static_cast<quint32>(value), bytes.data());
    return bytes;
}

inline QByteArray chunk(const QByteArray& id, const QByteArray& body) {
    QByteArray bytes = id + le32(body.size()) + body;
    if (body.size() % 2 != 0) {
        bytes += '\0';
    }
    return bytes;
}

inline QByteArray formatChunk(int channels, int rate, int bits, int tag = 1) {
    const int blockAlign = channels * bits / 8;
    return chunk("fmt ", le16(tag) + le16(channels) + le32(rate) + le32(rate * blockAlign) +
                             le16(blockAlign) + le16(bits));
}

// Interleaved PCM samples of a 440 Hz tone at a third of full scale.
inline QByteArray tone(int channels, int rate, int bits, double seconds) {
    const int frames = static_cast<int>(std::lround(rate * seconds));
    QByteArray pcm;
    pcm.reserve(frames * channels * bits / 8);
    for (int i = 0; i < frames; ++i) {
        const double v = std::sin(2 * std::numbers::pi * 440.0 * i / rate) / 3.0;
        for (int c = 0; c < channels; ++c) {
            if (bits == 8) {
                pcm += static_cast<char>(128 + std::lround(v * 127));
            } else {
                pcm += le16(static_cast<int>(std::lround(v * 32767)));
            }
        }
    }
    return pcm;
}

inline QByteArray riff(const QByteArray& chunks) {
    return "RIFF" + le32(4 + chunks.size()) + "WAVE" + chunks;
}

// A whole PCM wave file holding a tone.
inline QByteArray toneWave(int channels, int rate, int bits, double seconds) {
    return riff(formatChunk(channels, rate, bits) +
                chunk("data", tone(channels, rate, bits, seconds)));
}

inline QString write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
    return path;
}

} // namespace wavesamples
