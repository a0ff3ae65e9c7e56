#pragma once

#include "engine/position.h"
#include "engine/targets.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string_view>
#include <utility>
#include <vector>

namespace palisade {

// Piece codes by their letters, White's in capitals, for dense tables.
namespace letters {
inline constexpr int P = kWhitePawn, N = kWhiteKnight, B = kWhiteBishop, R = kWhiteRook, Q = kWhiteQueen,
                     K = kWhiteKing, p = kBlackPawn, n = kBlackKnight, b = kBlackBishop, r = kBlackRook,
                     q = kBlackQueen, k = kBlackKing;
inline constexpr Status W = Status::WhiteToMove, Bl = Status::BlackToMove;
} // namespace letters

using Squares = std::vector<int>;
using Pieces = std::vector<std::pair<int, int>>;

// An otherwise empty block with the given (square, code) pieces. Without a king
// of the side to move on it, every candidate passes the check test.
inline Position with(const Pieces& pieces, Status status = Status::WhiteToMove)
{
    Position position;
    position.status = status;
    for (const auto& [square, code] : pieces) position.squares[square] = code;
    return position;
}

// A block drawn as text: one line per half-board and rw (line 4 * boards + rw),
// colmn 0 to 7 left to right, pieces by their letters ("PNBRQK" White,
// "pnbrqk" Black, '.' empty).
inline Position drawn(const std::array<std::string_view, 16>& lines, Status status = Status::WhiteToMove)
{
    constexpr std::string_view kLetters = ".PNBRQKpnbrqk";
    Position position;
    position.status = status;
    for (std::size_t line = 0; line < lines.size(); ++line) {
        EXPECT_EQ(lines[line].size(), 8u) << "line " << line;
        for (std::size_t colmn = 0; colmn < lines[line].size(); ++colmn) {
            const std::size_t code = kLetters.find(lines[line][colmn]);
            EXPECT_NE(code, std::string_view::npos) << "line " << line << ", colmn " << colmn;
            position.squares[8 * line + colmn] = static_cast<int>(code);
        }
    }
    return position;
}

// The targets of the piece on `index`, every one a plain target.
inline Squares targetsOf(const Position& position, int index)
{
    Squares out;
    for (const Target& t : generateTargets(position, index)) {
        EXPECT_EQ(t.mark, kTargetMark) << t.square;
        out.push_back(t.square);
    }
    return out;
}

// How far apart two squares are along each axis, as the rules see reach.
struct Distance {
    int boards, rw, colmn;
};

inline Distance distance(int a, int b)
{
    const Coords from = coordsOf(a), to = coordsOf(b);
    return {std::abs(from.boards - to.boards), std::abs(from.rw - to.rw), std::abs(from.colmn - to.colmn)};
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
inline bool kingStep(Distance d) { return d.boards <= 1 && d.rw <= 1 && d.colmn <= 1 && queenLine(d); }

} // namespace palisade
