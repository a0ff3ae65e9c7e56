#pragma once

#include "gameroom/game_room.h"

#include <atomic>

namespace palisade {

// Under "Destroy Both Kings!" a side mated with two kings keeps one. Given the
// position as the room shows the choice (the offered king on the board, the
// other off it), returns the square of the king to keep: the one whose best
// move leaves the better position. A raised `stop` cuts the look short.
int kingToKeep(const Position& offered, const KingChoice& choice, const std::atomic<bool>& stop);

} // namespace palisade
