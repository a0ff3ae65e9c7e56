#pragma once

#include "engine/position.h"

namespace palisade {

// Whether the side to move has any legal move, castles aside. Pieces are
// tried in square order and the search stops at the first move found.
bool hasLegalMove(const Position& position);

} // namespace palisade
