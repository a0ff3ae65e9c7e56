#pragma once

#include "engine/move_board.h"

#include <cstdint>

namespace palisade {

// Leaves of the move tree below `depth` plies, the moves of the last ply
// counted rather than played.
std::uint64_t perft(MoveBoard& board, int depth);

} // namespace palisade
