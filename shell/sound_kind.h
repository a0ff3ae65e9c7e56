#pragma once

namespace palisade {

// The sounds the game plays beside its beep.
enum class SoundKind { Move, Capture, Castle, Check, GameEnd, LowTime };

inline constexpr int kSoundKinds = 6;

} // namespace palisade
