#pragma once

#include "engine/position.h"

namespace palisade {

// Whether the side to move has any legal move, castles aside: whether any of
// its pieces would show a target when selected.
bool hasLegalMove(const Position& position);

} // namespace palisade
