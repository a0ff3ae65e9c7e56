#pragma once

#include "engine/position.h"

namespace palisade {

// The kings of one side, in index order. A side has at most two; a third is
// outside the game and is not looked at.
struct KingSquares {
    std::array<int, 2> square{};
    int count = 0;
};

KingSquares kingsOf(const Board& squares, Side side);

// The board as the check test sees it once the piece on `pick` stands on
// `drop`, the pawn taken en passant gone.
Board boardAfterMove(const Position& position, int drop, int pick);

// Is the king of `kingSide` on `king` attacked? Looks outward from the king
// along knight jumps, diagonals and straight lines. Which way the pawns attack
// follows `sidesSwitched`.
bool kingAttacked(const Board& squares, int king, Side kingSide, int sidesSwitched);

// Is a king of the side to move attacked in the position as it stands?
// False once the status shows a result.
bool sideInCheck(const Position& position);

// May the piece on `pick` go to `drop` without leaving a king of the side to
// move attacked? Knows nothing of how pieces move. A side down to one king may
// not move it until kingTrial or loneKingFree is set.
bool checklegal(const Position& position, int drop, int pick);

} // namespace palisade
