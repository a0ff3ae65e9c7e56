#pragma once

#include "engine/position.h"

namespace palisade {

// "Switch Sides" turns every half-board by half a revolution: rw becomes
// 3 - rw and colmn 7 - colmn, the half-board stays.
constexpr int turnedSquare(int square)
{
    return kBoardStep * (square / kBoardStep) + (kBoardStep - 1) - square % kBoardStep;
}

void turnHalfBoards(Board& squares);

} // namespace palisade
