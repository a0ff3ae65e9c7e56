#pragma once

#include "engine/square.h"

#include <algorithm>
#include <array>

namespace palisade {

// One step or jump, as the change of each coordinate.
struct Step {
    int boards = 0;
    int rw = 0;
    int colmn = 0;

    constexpr int delta() const { return indexOf(boards, rw, colmn); }
};

// Knight jumps in the order they are tried. Every jump changes colmn: there
// are no jumps in the plane of boards and rw.
inline constexpr std::array<Step, 16> kKnightJumps = {{
    {0, -2, -1}, {0, -2, +1}, {0, -1, -2}, {0, -1, +2},
    {0, +2, -1}, {0, +2, +1}, {0, +1, -2}, {0, +1, +2},
    {-2, 0, -1}, {-2, 0, +1}, {-1, 0, -2}, {-1, 0, +2},
    {+2, 0, -1}, {+2, 0, +1}, {+1, 0, -2}, {+1, 0, +2},
}};

// Diagonals change colmn together with exactly one of rw and boards.
inline constexpr std::array<Step, 8> kDiagonalSteps = {{
    {0, -1, -1}, {0, -1, +1}, {0, +1, -1}, {0, +1, +1},
    {-1, 0, -1}, {-1, 0, +1}, {+1, 0, -1}, {+1, 0, +1},
}};

inline constexpr std::array<Step, 6> kOrthogonalSteps = {{
    {0, 0, -1}, {0, 0, +1}, {0, -1, 0}, {0, +1, 0}, {-1, 0, 0}, {+1, 0, 0},
}};

// Whether the jump from `from` stays inside the block.
constexpr bool jumpFits(Coords from, Step jump)
{
    const int b = from.boards + jump.boards;
    const int r = from.rw + jump.rw;
    const int c = from.colmn + jump.colmn;
    return b >= 0 && b <= 3 && r >= 0 && r <= 3 && c >= 0 && c <= 7;
}

// How many squares a ray from `from` has before it leaves the block.
constexpr int raySquares(Coords from, Step step)
{
    constexpr int kLongestLine = 7;
    auto room = [](int coord, int change, int last) {
        if (change < 0) return coord;
        if (change > 0) return last - coord;
        return kLongestLine; // a coordinate the step leaves alone never limits it
    };
    return std::min({room(from.boards, step.boards, 3), room(from.rw, step.rw, 3),
                     room(from.colmn, step.colmn, 7)});
}

} // namespace palisade
