#pragma once

#include "engine/position.h"

namespace palisade {

// A middle game for measuring the search: the start position after a fixed
// line of twenty moves a side chosen by a short search, the same on every run.
Position middleGamePosition();

} // namespace palisade
