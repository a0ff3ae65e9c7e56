#include "engine/targets.h"
#include "test_positions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace palisade {
namespace {

using Squares = std::vector<int>;

Squares targetsOf(const Position& position, int index)
{
    Squares out;
    for (const Target& t : generateTargets(position, index)) {
        EXPECT_EQ(t.mark, kTargetMark);
        out.push_back(t.square);
    }
    return out;
}

TEST(Targets, ExactListsInTheOrderJumpsAndRaysAreTried)
{
    struct {
        int code, from;
        Squares expected;
    } cases[] = {
        {kWhiteKnight, 0, {17, 10, 65, 34}},
        {kWhiteKnight, 43, {33, 37, 58, 60, 49, 53, 9, 13, 106, 108, 73, 77}},
        {kWhiteKnight, 7, {22, 13, 70, 37}},
        {kWhiteBishop, 0, {9, 18, 27, 33, 66, 99}},
        {kWhiteBishop, 3, {10, 17, 24, 12, 21, 30, 34, 65, 96, 36, 69, 102}},
        {kWhiteRook, 0, {1, 2, 3, 4, 5, 6, 7, 8, 16, 24, 32, 64, 96}},
        {kWhiteRook, 7, {6, 5, 4, 3, 2, 1, 0, 15, 23, 31, 39, 71, 103}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(targetsOf(with({{c.from, c.code}}), c.from), c.expected) << "from " << c.from;
    }
}

// From every square of an empty block: exactly the squares the piece reaches,
// no ray or jump wrapping into another line.
TEST(Targets, EveryPieceReachesExactlyItsLinesFromEverySquare)
{
    struct {
        int code;
        bool (*reaches)(Distance);
    } pieces[] = {{kWhiteKnight, knightJump}, {kBlackBishop, diagonalLine},
                  {kWhiteRook, straightLine}, {kBlackQueen, queenLine}, {kWhiteKing, kingStep}};
    for (const auto& piece : pieces) {
        for (int from = 0; from < kSquareCount; ++from) {
            Position position = with({{from, piece.code}});
            position.loneKingFree = 1;
            Squares got = targetsOf(position, from);
            std::sort(got.begin(), got.end());
            Squares expected;
            for (int to = 0; to < kSquareCount; ++to) {
                if (to != from && piece.reaches(distance(from, to))) expected.push_back(to);
            }
            ASSERT_EQ(got, expected) << "piece " << piece.code << " on " << from;
        }
    }
}

// --- Occupied squares ---------------------------------------------------------

TEST(Occupants, OwnPiecesAreNeverMarkedEnemiesAndTheirKingsAre)
{
    // Rook on 0: the own pawn on 1 closes the colmn, the enemy pawn on 8 and
    // the enemy king on 32 end their lines and are taken.
    const Position rook =
        with({{0, kWhiteRook}, {1, kWhitePawn}, {8, kBlackPawn}, {32, kBlackKing}});
    EXPECT_EQ(targetsOf(rook, 0), (Squares{8, 32}));

    const Position knight =
        with({{0, kBlackKnight}, {17, kBlackQueen}, {10, kWhiteKing}}, Status::BlackToMove);
    EXPECT_EQ(targetsOf(knight, 0), (Squares{10, 65, 34}));
}

TEST(Occupants, RaysStopAtTheFirstPiece)
{
    // Bishop on 3: the enemy on 17 is taken and hides 24, the own piece on 21
    // leaves only 12, the enemy king on 34 is taken and hides the rook on 65.
    const Position position = with({{3, kWhiteBishop}, {17, kBlackKnight}, {21, kWhiteRook},
                                    {34, kBlackKing}, {65, kBlackRook}});
    EXPECT_EQ(targetsOf(position, 3), (Squares{10, 17, 12, 34, 36, 69, 102}));
}

// --- The check test filters candidates ----------------------------------------

TEST(Pins, PinnedPieceMovesOnlyAlongThePin)
{
    // Not even the pawns on 57 and 58 may be taken.
    for (int code : {kWhiteBishop, kWhiteKnight}) {
        const Position across = with({{40, kWhiteKing}, {48, code}, {56, kBlackRook},
                                      {57, kBlackPawn}, {58, kBlackPawn}});
        EXPECT_TRUE(targetsOf(across, 48).empty()) << "piece " << code;
    }
    const Position black =
        with({{100, kBlackKing}, {68, kBlackRook}, {4, kWhiteQueen}}, Status::BlackToMove);
    EXPECT_EQ(targetsOf(black, 68), (Squares{36, 4}));
}

TEST(Pins, RefusedSquareDoesNotEndTheRay)
{
    // King on 0 in check from the rook on 96: the bishop on 2 may not stop on
    // 33 but goes on to block on 64.
    const Position bishop = with({{0, kWhiteKing}, {2, kWhiteBishop}, {96, kBlackRook}});
    EXPECT_EQ(targetsOf(bishop, 2), (Squares{64}));

    // In check from the bishop on 27: the rook on 2 passes 10 and blocks on 18.
    const Position rook = with({{0, kWhiteKing}, {2, kWhiteRook}, {27, kBlackBishop}});
    EXPECT_EQ(targetsOf(rook, 2), (Squares{18}));
}

// --- The start position -------------------------------------------------------

TEST(StartPosition, OnlyPawnsAndKnightsCanMove)
{
    for (Side side : {Side::White, Side::Black}) {
        Position position = standardPosition();
        position.status = toMove(side);
        int total = 0;
        for (int i = 0; i < kSquareCount; ++i) {
            const int code = position.squares[i];
            if (!belongsTo(code, side)) continue;
            const int n = static_cast<int>(generateTargets(position, i).size());
            // Pawns step once or twice; knights have their jumps of two colmn.
            const int expected = kindOf(code) == Kind::Pawn ? 2 : kindOf(code) == Kind::Knight ? 3 : 0;
            EXPECT_EQ(n, expected) << "from " << i;
            total += n;
        }
        EXPECT_EQ(total, 16 * 2 + 4 * 3);
    }
    Position position = standardPosition();
    EXPECT_EQ(targetsOf(position, 8), (Squares{2, 18, 42}));
    position.status = Status::BlackToMove;
    EXPECT_EQ(targetsOf(position, 119), (Squares{109, 125, 85}));
}

} // namespace
} // namespace palisade
