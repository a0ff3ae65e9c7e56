#pragma once

#include "engine/position.h"

#include <vector>

namespace palisade {

// A middle game for measuring the search: the start position after a fixed
// line of twenty moves a side chosen by a short search, the same on every run.
Position middleGamePosition();

// Ten positions of that line, every fourth half-move from the start: the
// positions of the fixed-depth search figure.
std::vector<Position> benchPositions();

} // namespace palisade
