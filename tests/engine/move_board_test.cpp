#include "engine/check.h"
#include "engine/move_board.h"
#include "engine/move_tables.h"
#include "engine/reference_moves.h"
#include "test_positions.h"

#include <algorithm>
#include <random>

namespace palisade {
namespace {

using namespace letters;

std::vector<Move> fastMoves(const Position& position)
{
    MoveList list;
    MoveBoard(position).generate(list);
    std::vector<Move> moves(list.begin(), list.end());
    std::sort(moves.begin(), moves.end());
    return moves;
}

bool offers(const std::vector<Move>& moves, int pick, int drop)
{
    return std::any_of(moves.begin(), moves.end(), [&](const Move& m) { return m.pick == pick && m.drop == drop; });
}

// Both pawns leave the line between the king and the rook, so the capture
// en passant would expose the king; the plain step stays legal.
TEST(MoveBoard, EnPassantThatExposesAKing)
{
    Position position = with({{4, K}, {12, P}, {20, p}, {28, r}, {70, K}, {80, k}}, W);
    position.enPassantSquare = 20;
    const auto moves = fastMoves(position);
    EXPECT_EQ(moves, referenceMoves(position));
    EXPECT_FALSE(offers(moves, 12, 21));
    EXPECT_TRUE(offers(moves, 12, 13));

    position.squares[28] = kEmpty; // without the rook the capture is fine and takes the pawn
    ASSERT_TRUE(offers(fastMoves(position), 12, 21));
    MoveBoard board(position);
    board.make({12, 21, MoveExtra::Plain});
    EXPECT_EQ(board.pieceAt(20), kEmpty);
    EXPECT_EQ(board.enPassantSquare(), 0);
    board.unmake();
    EXPECT_EQ(board.position(), position);
}

// With two kings on one line a king that leaves the line uncovers the other;
// a piece shielding a king from a rook stays on the line.
TEST(MoveBoard, TwoKingsWatchedTogether)
{
    const Position uncovered = with({{33, K}, {37, K}, {39, r}, {100, k}, {102, k}}, W);
    const auto kingMoves = fastMoves(uncovered);
    EXPECT_EQ(kingMoves, referenceMoves(uncovered));
    EXPECT_FALSE(offers(kingMoves, 37, 45));

    const Position pinned = with({{33, K}, {35, N}, {39, r}, {68, K}, {100, k}, {102, k}}, W);
    const auto knightMoves = fastMoves(pinned);
    EXPECT_EQ(knightMoves, referenceMoves(pinned));
    EXPECT_FALSE(offers(knightMoves, 35, 50));
}

// A lone king stays put until freed; freed, it walks.
TEST(MoveBoard, LoneKingWaitsForItsTrial)
{
    Position position = with({{40, K}, {41, P}, {87, k}, {86, q}}, W);
    position.kingsStanding = 1;
    EXPECT_FALSE(offers(fastMoves(position), 40, 48));
    position.kingTrial = 1;
    EXPECT_TRUE(offers(fastMoves(position), 40, 48));
    EXPECT_EQ(fastMoves(position), referenceMoves(position));
}

// The looked-up reach of a slider is the reach found by walking its rays, on
// every square, for sparse, middling and crowded blocks.
TEST(MoveBoard, LineLookupsMatchRayWalks)
{
    std::mt19937_64 random(20261207);
    for (int round = 0; round < 300; ++round) {
        Bits occupied = (Bits{random()} << 64) | random();
        if (round % 3 == 0) occupied &= (Bits{random()} << 64) | random();
        if (round % 3 == 1) occupied |= (Bits{random()} << 64) | random();
        for (int square = 0; square < kSquareCount; ++square) {
            Bits diagonal = 0;
            Bits straight = 0;
            for (int ray = 0; ray < kDiagonalRays; ++ray) diagonal |= rayAttacks(ray, square, occupied);
            for (int ray = kDiagonalRays; ray < kRayCount; ++ray) straight |= rayAttacks(ray, square, occupied);
            ASSERT_TRUE(diagonalAttacks(square, occupied) == diagonal) << "square " << square << " round " << round;
            ASSERT_TRUE(straightAttacks(square, occupied) == straight) << "square " << square << " round " << round;
        }
    }
}

} // namespace
} // namespace palisade
