#pragma once

#include "engine/refusal.h"

#include <string>

namespace palisade {

// What the player is told when the piece on `pick` may not go to `drop`, with
// every square named as the notation names it.
std::string refusalText(const Position& position, int pick, int drop, const Refusal& refusal);

} // namespace palisade
