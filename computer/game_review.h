#pragma once

#include "engine/position.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

namespace palisade {

// A review judges each position by a search of a fixed number of nodes, never
// of a time, so that the same game always gets the same numbers.
inline constexpr std::int64_t kReviewNodes = 100'000;

// A mate, found or already on the board, in pawns: beyond anything the pieces
// are worth.
inline constexpr double kMateInPawns = 100.0;

// Told on the reviewing thread after each position judged.
using ReviewProgress = std::function<void(int judged, int total)>;

// The evaluation of every position of a game, in pawns from White's side:
// above zero is good for White. `positions[k]` is the position after k
// half-moves, each seen as the board now stands so that the repetition rule
// can compare them; the last one of a finished game shows its result. Each
// position is judged as the game judges it (a mate, the two-king trial, a
// stalemate, the lone king, a repetition) and otherwise searched afresh.
// A stop returns the evaluations found so far, fewer than the positions.
std::vector<double> reviewGame(const std::vector<Position>& positions, std::int64_t nodesPerPosition,
                               const std::atomic<bool>& stop, const ReviewProgress& progress = {});

} // namespace palisade
