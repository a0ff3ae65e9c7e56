#pragma once

#include "engine/position.h"

namespace palisade {

// Whether the move from `pick` to `drop` brings a pawn to the far end, so the
// player must choose what it becomes.
bool promotes(const Position& position, int drop, int pick);

// The bookkeeping of a move, done while the piece still stands on `pick`:
// takes the pawn captured en passant, remembers a double step, puts the
// promoted piece (`promotedKind`, used only when the move promotes) on `pick`,
// and records the castling rights the move loses.
void remember(Position& position, int drop, int pick, Kind promotedKind);

} // namespace palisade
