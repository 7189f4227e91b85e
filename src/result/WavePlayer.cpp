#include "result/WavePlayer.h"

SoundOutcome playWaveToEnd(const QString& path) {
    return {false, QStringLiteral("sound playback is not available yet: ") + path};
}
