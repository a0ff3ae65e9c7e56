#pragma once

#include "engine/position.h"

#include <vector>

namespace palisade {

// One piece attacking a king, with the squares of the attack in order from
// the attacker to the king, both included. A knight's jump has only those two.
struct Attack {
    int attacker = 0;
    int king = 0;
    std::vector<int> line;

    friend bool operator==(const Attack&, const Attack&) = default;
};

// Every piece attacking the king of `kingSide` on `king`, by the same reach
// `kingAttacked` uses (`findAttackers`): knight jumps, then diagonals, then straight lines.
std::vector<Attack> attacksOn(const Board& squares, int king, Side kingSide, int sidesSwitched);

// The attacks on every king on the board, White's kings first.
std::vector<Attack> kingAttacks(const Position& position);

} // namespace palisade
