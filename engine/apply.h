#pragma once

#include "engine/move.h"
#include "engine/position.h"

namespace palisade {

// Plays a move with its answers (the promoted piece, the castle taken or
// declined), as the game plays it: the turn passes, the lone king's trial
// ends, en passant, double step, promotion and castling rights are taken care
// of, and a castle brings its rook. A kingside castle declined is a plain
// move to the landing square.
void apply(Position& position, const Move& move);

// A castle's king lands one step from home kingside, two steps queenside.
int castleMark(Move move);

} // namespace palisade
