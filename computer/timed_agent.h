#pragma once

#include "computer/match.h"

#include <chrono>
#include <memory>

namespace palisade {

// A player of matches at equal time: it searches each move for `perMove` with
// `threads` threads, keeping its table from move to move as in a game. Its
// first `randomHalfMoves` half-moves of a game are random ones drawn from the
// game's seed, so that the two games of a pair, colours swapped, open alike.
std::unique_ptr<Agent> makeTimedAgent(std::chrono::milliseconds perMove, int threads, int randomHalfMoves);

} // namespace palisade
