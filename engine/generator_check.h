#pragma once

#include "engine/position.h"

#include <string>

namespace palisade {

// Holds the fast generator against the rules engine on one position: the same
// moves, the same count, check and end-of-game answers, and each move played
// and taken back as a click plays it. Empty when they agree, else what differs.
std::string generatorDisagreement(const Position& position);

// The position in one line: piece codes and every flag.
std::string describePosition(const Position& position);

} // namespace palisade
