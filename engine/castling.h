#pragma once

#include "engine/position.h"
#include "engine/targets.h"

#include <optional>

namespace palisade {

// Adds the castle marks of the king on `index`: kingsideCastleMark on the
// landing squares of its kingside castle, queensideCastleMark on those of its
// two queenside castles. Nothing when the side is in check, the king is not on
// its home square, or a castle's rook is not on its own home square.
void queencastle(const Position& position, int index, TargetList& out);

// Where the rook of a castle goes, by the king's landing square and its mark.
// Every kingside landing of one orientation is a queenside landing of the
// other, so the two name the castle and its orientation.
struct RookMove {
    int from = 0;
    int to = 0;
    int code = 0;
};

std::optional<RookMove> castleRookMove(int landing, int mark);

// The castle flags a piece loses by leaving `pick` (none for most squares).
void loseCastlingRights(Position& position, int pick);

} // namespace palisade
