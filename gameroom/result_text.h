#pragma once

#include "gameroom/result_reading.h"

#include <string>

namespace palisade {

// Why the game ended, for the status line: "Checkmate", "Draw: stalemate"...;
// empty when the reason is not known.
std::string resultNotice(const GameResult& result);

// The move list's closing line: the score, "1–0", "0–1" or "½–½", and the
// reason when it is known.
std::string resultLine(const GameResult& result);

// "Black gave up the king on 1a1", the square named as the notation names it.
std::string givenUpText(Side side, int square, int sidesSwitched);

} // namespace palisade
