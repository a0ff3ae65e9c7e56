#include "engine/check.h"
#include "engine/targets.h"
#include "test_positions.h"

#include <gtest/gtest.h>

#include <utility>

namespace palisade {
namespace {

// Every king square against every attacker square. The knight covers K + 48
// and K + 72 (no jumps in the plane of half-board and rw), the king its 14
// neighbours and distance two.
TEST(KingAttacked, EachPieceAttacksExactlyAlongItsOwnLines)
{
    struct {
        int code;
        bool (*attacks)(Distance);
    } attackers[] = {{kBlackKnight, knightJump},  {kBlackBishop, diagonalLine},
                     {kBlackRook, straightLine},  {kBlackQueen, queenLine},
                     {kBlackKing, kingStep},      {kWhiteQueen, [](Distance) { return false; }}};
    for (const auto& attacker : attackers) {
        for (int king = 0; king < kSquareCount; ++king) {
            for (int from = 0; from < kSquareCount; ++from) {
                if (from == king) continue;
                Board squares{};
                squares[king] = kWhiteKing;
                squares[from] = attacker.code;
                ASSERT_EQ(kingAttacked(squares, king, Side::White, 0),
                          attacker.attacks(distance(king, from)))
                    << "piece " << attacker.code << " on " << from << ", king on " << king;
            }
        }
    }
}

TEST(KingAttacked, PawnsTakeOnlyTowardsTheirAdvance)
{
    constexpr int W = kWhiteKing, B = kBlackKing, w = kWhitePawn, b = kBlackPawn;
    struct {
        int sidesSwitched, king, pawn, offset; // king on 43, pawn on 43 + offset
        bool attacks;
    } cases[] = {
        // Unswitched, Black's pawns take towards lower colmn, White's towards higher.
        {0, W, b, +9, true}, {0, W, b, -31, true}, {0, W, b, -9, false}, {0, W, b, +1, false},
        {0, W, b, +18, false}, {0, W, w, +9, false}, {0, B, w, +31, true}, {0, B, w, +33, false},
        // Switched, the roles turn.
        {1, W, b, +9, false}, {1, W, b, +31, true}, {1, B, w, +9, true}, {1, B, w, -9, false}};
    for (const auto& c : cases) {
        Board squares{};
        squares[43] = c.king;
        squares[43 + c.offset] = c.pawn;
        const Side side = c.king == W ? Side::White : Side::Black;
        EXPECT_EQ(kingAttacked(squares, 43, side, c.sidesSwitched), c.attacks)
            << "pawn " << c.pawn << " at " << c.offset << ", switched " << c.sidesSwitched;
    }
}

// --- checklegal ---------------------------------------------------------------

TEST(Checklegal, ExposingEitherOfTwoKingsIsRefused)
{
    // The bishop on 32 shields the king on 0 from the rook on 64, the knight
    // on 119 shields the king on 127 from the rook on 103.
    const Position position = with({{0, kWhiteKing}, {127, kWhiteKing}, {32, kWhiteBishop},
                                    {64, kBlackRook}, {119, kWhiteKnight}, {103, kBlackRook},
                                    {20, kWhitePawn}});
    EXPECT_FALSE(sideInCheck(position));
    EXPECT_FALSE(checklegal(position, 1, 32));
    EXPECT_FALSE(checklegal(position, 102, 119));
    EXPECT_TRUE(checklegal(position, 21, 20));
    for (int shield : {32, 119}) {
        Position open = position;
        open.squares[shield] = kEmpty;
        EXPECT_TRUE(sideInCheck(open)) << "without " << shield;
        EXPECT_FALSE(checklegal(open, 21, 20)) << "without " << shield;
    }
}

TEST(Checklegal, EnPassantCaptureThatOpensALineIsRefused)
{
    struct Case {
        Status status;
        int up;   // code of the pawns that advance towards colmn 7
        int king; // the mover's king, its pawn, the pawn taken, the enemy rook
        int pawn;
        int taken;
        int rook;
        int drop;
    };
    const Case cases[] = {
        {Status::WhiteToMove, kWhitePawn, 36, 44, 52, 60, 53},
        {Status::BlackToMove, kWhitePawn, 35, 43, 51, 59, 50},
        {Status::BlackToMove, kBlackPawn, 36, 44, 52, 60, 53}, // after switching sides
    };
    for (const Case& c : cases) {
        const Side side = *sideToMove(c.status);
        Position position = with({{c.king, codeOf(side, Kind::King)},
                                  {c.pawn, codeOf(side, Kind::Pawn)},
                                  {c.taken, codeOf(opponent(side), Kind::Pawn)},
                                  {c.rook, codeOf(opponent(side), Kind::Rook)}},
                                 c.status);
        position.upPawn = c.up;
        position.downPawn = c.up == kWhitePawn ? kBlackPawn : kWhitePawn;
        position.sidesSwitched = c.up == kWhitePawn ? 0 : 1;
        position.enPassantSquare = c.taken;
        const Position before = position;
        EXPECT_FALSE(checklegal(position, c.drop, c.pawn)) << "pawn on " << c.pawn;
        EXPECT_EQ(position, before);
        // The same step without the en passant square leaves the pawn in the way.
        position.enPassantSquare = 0;
        EXPECT_TRUE(checklegal(position, c.drop, c.pawn)) << "pawn on " << c.pawn;
    }
}

TEST(Checklegal, EveryMoveIsAllowedOnceAResultShows)
{
    // A lone king in check, and a pawn move that does nothing about it.
    Position position = with({{0, kWhiteKing}, {32, kBlackRook}, {20, kWhitePawn}});
    EXPECT_FALSE(checklegal(position, 21, 20));
    EXPECT_FALSE(checklegal(position, 1, 0));
    for (Status result : {Status::WhiteWins, Status::BlackWins, Status::Draw}) {
        position.status = result;
        EXPECT_FALSE(sideInCheck(position));
        EXPECT_TRUE(checklegal(position, 21, 20));
        EXPECT_TRUE(checklegal(position, 1, 0));
    }
}

TEST(Checklegal, LoneKingWaitsForEitherFlag)
{
    for (Side side : {Side::White, Side::Black}) {
        const int king = codeOf(side, Kind::King);
        const int enemyRook = codeOf(opponent(side), Kind::Rook);
        // The rook on 52 guards 44; the bishop on 51 shields the king from the rook on 59.
        const Position position = with({{43, king}, {52, enemyRook}, {59, enemyRook},
                                        {51, codeOf(side, Kind::Bishop)},
                                        {0, codeOf(side, Kind::Knight)}},
                                       toMove(side));
        EXPECT_FALSE(checklegal(position, 42, 43));
        EXPECT_TRUE(generateTargets(position, 43).empty());
        EXPECT_TRUE(checklegal(position, 17, 0));   // other pieces move,
        EXPECT_FALSE(checklegal(position, 60, 51)); // but not out of a pin

        for (int Position::*flag : {&Position::kingTrial, &Position::loneKingFree}) {
            Position freed = position;
            freed.*flag = 1;
            EXPECT_TRUE(checklegal(freed, 42, 43));
            EXPECT_FALSE(checklegal(freed, 44, 43)); // still judged for check
        }
        Position twoKings = position;
        twoKings.squares[127] = king;
        EXPECT_TRUE(checklegal(twoKings, 42, 43));
    }
}

} // namespace
} // namespace palisade
