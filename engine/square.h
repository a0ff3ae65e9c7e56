#pragma once

// A square of the 4 x 4 x 8 block: index = 32 * boards + 8 * rw + colmn.
// colmn (0..7) is the axis along which the pawns advance and the armies face
// each other; rw (0..3) is the line within a half-board; boards (0..3) the
// half-board, 0 at the top of the screen.

#include <cassert>

namespace palisade {

inline constexpr int kSquareCount = 128;
inline constexpr int kBoardStep = 32;
inline constexpr int kRowStep = 8;
inline constexpr int kColumnStep = 1;

struct Coords {
    int boards = 0;
    int rw = 0;
    int colmn = 0;

    friend constexpr bool operator==(const Coords&, const Coords&) = default;
};

constexpr bool isSquare(int index) { return index >= 0 && index < kSquareCount; }

constexpr Coords coordsOf(int index)
{
    assert(isSquare(index));
    return {index / kBoardStep, (index % kBoardStep) / kRowStep, index % kRowStep};
}

constexpr int indexOf(int boards, int rw, int colmn)
{
    return kBoardStep * boards + kRowStep * rw + colmn;
}

constexpr int indexOf(Coords c) { return indexOf(c.boards, c.rw, c.colmn); }

} // namespace palisade
