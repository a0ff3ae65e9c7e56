#pragma once

#include "engine/move.h"
#include "engine/position.h"
#include "gameroom/move_history.h"

#include <string>

namespace palisade {

// A square as the notation names it: half-board number, rw letter, colmn
// number. A square keeps its name when the sides are switched.
std::string squareText(int square, int sidesSwitched);

// The parts of that name: the rw letter ("a".."d") and the colmn number (1..8).
char rwLetter(int square, int sidesSwitched);
int colmnNumber(int square, int sidesSwitched);

// The text of one move: "2b2 - 2b4", "2a1 - Nx2c2", "2b2 - bx2c3", and for
// castles (castled 1 kingside, 2 queenside) "2O-O1", "2O-O-O4". `oldpiece` is
// the code that leaves oldPos (a promoted pawn already has its new code),
// `newpiece` the code that stood on newPos.
std::string moveText(int oldpiece, int newpiece, int castled, int oldPos, int newPos,
                     int sidesSwitched);

// The text of `move`, with its answers, played from `position`.
std::string notationOf(const Position& position, const Move& move);

// The notation of the move that turned one recorded position into the next,
// worked out from the two positions; empty when no single move explains them.
std::string moveTextBetween(const HistoryEntry& before, const HistoryEntry& after);

} // namespace palisade
