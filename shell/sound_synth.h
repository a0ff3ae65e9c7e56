#pragma once

#include "shell/sound_kind.h"

#include <QByteArray>

namespace palisade {

// The game's own sounds, made from tones and noise: a complete WAV file
// (16-bit mono PCM at `kSoundRate`) for each kind.
inline constexpr int kSoundRate = 22050;
QByteArray synthesisedWav(SoundKind kind);

} // namespace palisade
