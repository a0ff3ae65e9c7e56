#pragma once

#include "engine/move.h"
#include "engine/position.h"

namespace palisade {

// Plays a move as a click plays it once every question has been answered:
// the turn passes, the lone king's trial ends, en passant, double step,
// promotion and castling rights are taken care of, and a castle brings its rook.
void playMove(Position& position, Move move);

// A castle's king lands one step from home kingside, two steps queenside.
int castleMark(Move move);

} // namespace palisade
