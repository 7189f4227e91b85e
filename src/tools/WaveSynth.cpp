#include "tools/WaveSynth.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <numbers>

double noteFrequency(int midiNote) {
    return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0);
}

namespace {

// The loudness of a note at time t after its start.
double envelope(const Timbre& timbre, double t, double length) {
    if (t < 0 || t >= length) {
        return 0;
    }
    const double attack = std::min(1.0, t / timbre.attackSeconds);
    const double decay = std::exp(-t * std::log(3.0) / timbre.decaySeconds);
    const double left = length - t;
    const double release = std::min(1.0, left / timbre.releaseSeconds);
    return attack * decay * release;
}

void addNote(std::vector<double>& mix, const Note& note, const Timbre& timbre) {
    const auto first = static_cast<std::size_t>(std::lround(note.startSeconds * waveSampleRate));
    const auto count = static_cast<std::size_t>(std::lround(note.lengthSeconds * waveSampleRate));
    for (std::size_t i = 0; i < count && first + i < mix.size(); ++i) {
        const double t = static_cast<double>(i) / waveSampleRate;
        const double level = envelope(timbre, t, note.lengthSeconds) * note.volume;
        double value = 0;
        for (std::size_t h = 0; h < timbre.harmonics.size(); ++h) {
            const double frequency = note.frequency * static_cast<double>(h + 1);
            if (frequency >= waveSampleRate / 2.0) {
                break; // above what the sample rate can hold
            }
            // Higher harmonics die away sooner, as on a struck bar.
            const double fade = std::exp(-t * static_cast<double>(h) * 4.0);
            value += timbre.harmonics[h] * fade * std::sin(2 * std::numbers::pi * frequency * t);
        }
        mix[first + i] += level * value;
    }
}

void putLe16(QByteArray& out, int value) {
    char bytes[2];
    qToLittleEndian(static_cast<quint16>(value), bytes);
    out.append(bytes, 2);
}

void putLe32(QByteArray& out, quint32 value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

} // namespace

std::vector<std::int16_t> synthesise(const std::vector<Note>& notes, const Timbre& timbre,
                                     double totalSeconds, double peak) {
    std::vector<double> mix(static_cast<std::size_t>(std::lround(totalSeconds * waveSampleRate)));
    for (const Note& note : notes) {
        addNote(mix, note, timbre);
    }
    double loudest = 0;
    for (double v : mix) {
        loudest = std::max(loudest, std::abs(v));
    }
    const double scale = loudest > 0 ? std::clamp(peak, 0.0, 1.0) * 32767.0 / loudest : 0;
    std::vector<std::int16_t> samples(mix.size());
    std::transform(mix.begin(), mix.end(), samples.begin(),
                   [scale](double v) { return static_cast<std::int16_t>(std::lround(v * scale)); });
    return samples;
}

QByteArray waveFile(const std::vector<std::int16_t>& samples, int sampleRate) {
    const auto dataBytes = static_cast<quint32>(samples.size() * 2);
    QByteArray out;
    out.reserve(static_cast<qsizetype>(44 + dataBytes));
    out.append("RIFF");
    putLe32(out, 36 + dataBytes);
    out.append("WAVE");
    out.append("fmt ");
    putLe32(out, 16);
    putLe16(out, 1); // PCM
    putLe16(out, 1); // mono
    putLe32(out, static_cast<quint32>(sampleRate));
    putLe32(out, static_cast<quint32>(sampleRate * 2)); // bytes a second
    putLe16(out, 2);                                    // bytes a frame
    putLe16(out, 16);                                   // bits a sample
    out.append("data");
    putLe32(out, dataBytes);
    for (std::int16_t s : samples) {
        putLe16(out, static_cast<quint16>(s));
    }
    return out;
}

WaveFormat readWaveFile(const QByteArray& bytes) {
    WaveFormat format;
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE") {
        return format;
    }
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    bool haveFormat = false;
    qsizetype pos = 12;
    while (pos + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(pos, 4);
        const qsizetype size = qFromLittleEndian<quint32>(data + pos + 4);
        const qsizetype body = pos + 8;
        if (body + size > bytes.size()) {
            return format;
        }
        if (id == "fmt " && size >= 16) {
            format.formatTag = qFromLittleEndian<quint16>(data + body);
            format.channels = qFromLittleEndian<quint16>(data + body + 2);
            format.sampleRate = static_cast<int>(qFromLittleEndian<quint32>(data + body + 4));
            format.bitsPerSample = qFromLittleEndian<quint16>(data + body + 14);
            haveFormat = true;
        } else if (id == "data" && haveFormat) {
            if (format.bitsPerSample == 16) {
                for (qsizetype i = 0; i + 1 < size; i += 2) {
                    format.samples.push_back(qFromLittleEndian<qint16>(data + body + i));
                }
            }
            format.ok = format.formatTag == 1;
            return format;
        }
        pos = body + size + (size & 1);
    }
    return format;
}
