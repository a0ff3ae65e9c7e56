#pragma once

#include "engine/position.h"

namespace palisade {

// A busy middle game: both sides have brought knights, pawns and a queen out
// into the block, so most pieces have several targets.
inline Position middleGame()
{
    Position position = standardPosition();
    auto move = [&position](int from, int to) {
        position.squares[to] = position.squares[from];
        position.squares[from] = kEmpty;
    };
    move(8, 18);
    move(15, 21);
    move(64, 74);
    move(71, 77);
    move(41, 43);
    move(46, 44);
    move(48, 50);
    move(55, 53);
    move(73, 75);
    move(78, 76);
    move(49, 51);
    move(54, 52);
    return position;
}

} // namespace palisade
