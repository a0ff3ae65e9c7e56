#pragma once

#include "engine/position.h"

#include <initializer_list>
#include <utility>

namespace palisade {

using Placement = std::initializer_list<std::pair<int, int>>;

// An otherwise empty block with the given (square, code) pieces. Without a king
// of the side to move on it, every candidate passes the check test.
inline Position with(Placement pieces, Status status = Status::WhiteToMove)
{
    Position position;
    position.status = status;
    for (const auto& [square, code] : pieces) position.squares[square] = code;
    return position;
}

} // namespace palisade

namespace palisade {

// How far apart two squares are along each axis, as the rules see reach.
struct Distance {
    int boards, rw, colmn;
};

inline Distance distance(int a, int b)
{
    const Coords p = coordsOf(a), q = coordsOf(b);
    auto gap = [](int x, int y) { return x > y ? x - y : y - x; };
    return {gap(p.boards, q.boards), gap(p.rw, q.rw), gap(p.colmn, q.colmn)};
}

inline bool straightLine(Distance d) { return (d.boards > 0) + (d.rw > 0) + (d.colmn > 0) == 1; }
// Diagonals always change colmn, together with exactly one other coordinate.
inline bool diagonalLine(Distance d)
{
    return d.colmn > 0 && ((d.boards == 0 && d.rw == d.colmn) || (d.rw == 0 && d.boards == d.colmn));
}
inline bool queenLine(Distance d) { return straightLine(d) || diagonalLine(d); }
inline bool knightJump(Distance d)
{
    return (d.boards == 0) != (d.rw == 0) && d.colmn > 0 && d.boards + d.rw + d.colmn == 3;
}
inline bool kingStep(Distance d)
{
    return d.boards <= 1 && d.rw <= 1 && d.colmn <= 1 && queenLine(d);
}

} // namespace palisade
