#pragma once

#include "engine/move.h"
#include "engine/position.h"

#include <cstdint>
#include <vector>

namespace palisade {

// The legal moves exactly as clicks find them: the marks of every piece of the
// side to move. A square marked for a kingside castle gives the king's step and
// the castle, a queenside mark the castle, a pawn reaching the far end one move
// a promotion piece. Sorted.
std::vector<Move> referenceMoves(const Position& position);

// Leaves below `depth` plies, each move played as a click plays it.
std::uint64_t referencePerft(const Position& position, int depth);

} // namespace palisade
