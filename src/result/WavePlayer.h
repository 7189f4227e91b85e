#pragma once

#include "app/Environment.h"

#include <QString>

// Plays a wave file to its end before returning, through the real audio backend.
// Fails with a readable description (file missing, not a WAVE file, no audio device)
// and never hangs: without a working device it gives up after the sound's length
// plus a few seconds.
//
// The calling thread does nothing else meanwhile: it runs no event loop, so none of the
// program's timers or key handlers runs while a sound plays, and keys typed meanwhile
// stay queued in the window system and are handled afterwards, in order. The audio
// objects live on a worker thread with an event loop of its own.
SoundOutcome playWaveToEnd(const QString& path);

// The most a play of a sound of the given length may take: its length, the time a sound
// server may need to start a stream (a null sink renders in blocks of up to two seconds),
// and a margin for a worker that is stuck inside the audio library.
struct PlaybackLimits {
    static constexpr int startGraceMs = 4000;   // the worker's own watchdog: length + this
    static constexpr int abandonGraceMs = 1000; // then the caller stops waiting for it
    static int workerLimitMs(qint64 durationMs);
    static int callerLimitMs(qint64 durationMs);
};
