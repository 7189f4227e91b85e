#pragma once

#include "app/Environment.h"

#include <QString>

// Plays a wave file to its end before returning, through the real audio backend.
// Fails with a readable description (file missing, not a WAVE file, no audio device)
// and never hangs: without a working device it gives up after the sound's length
// plus a few seconds.
SoundOutcome playWaveToEnd(const QString& path);
