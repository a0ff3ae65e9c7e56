#pragma once

#include "engine/piece.h"

#include <string_view>
#include <vector>

namespace palisade {

// What a review says of a move, from the evaluations before and after it.
enum class MoveMark {
    None,
    Mistake, // "?": it cost its mover two pawns or more
    Blunder, // "??": it threw a won position away, to one no better than drawn
};

// The thresholds, in pawns for the mover. A position at least three pawns
// ahead is won, three behind lost, within a pawn of even drawn: a blunder
// leaves its mover a pawn ahead at most. Beyond ten pawns either way a game
// is decided: a won position that stays won loses nothing that counts.
inline constexpr double kMistakeLoss = 2.0;
inline constexpr double kWonPawns = 3.0;
inline constexpr double kDrawnPawns = 1.0;
inline constexpr double kDecidedPawns = 10.0;

// One mark for each evaluation (pawns from White's side, one a position):
// marks[k] for the move that led to position k, marks[0] always None. The
// sides take turns from `firstMover` on.
std::vector<MoveMark> markMoves(const std::vector<double>& evaluations, Side firstMover = Side::White);

// "?", "??", or nothing.
std::string_view markText(MoveMark mark);

} // namespace palisade
