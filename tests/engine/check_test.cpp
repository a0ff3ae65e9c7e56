#include "engine/check.h"
#include "test_positions.h"

#include <algorithm>

namespace palisade {
namespace {
using namespace letters;

// From every square of an empty block a piece reaches, and attacks a king on,
// exactly the squares along its own lines: no ray or jump wraps into another
// line. The knight has no jumps in the plane of half-board and rw; a piece of
// the king's own side attacks nothing.
TEST(Lines, EachPieceReachesAndAttacksExactlyAlongItsOwnLines)
{
    const std::pair<Kind, bool (*)(Distance)> kinds[] = {{Kind::Knight, knightJump}, {Kind::Bishop, diagonalLine},
                                                         {Kind::Rook, straightLine}, {Kind::Queen, queenLine},
                                                         {Kind::King, kingStep}};
    for (const auto& [kind, along] : kinds) {
        for (int from = 0; from < kSquareCount; ++from) {
            const Side mover = from % 2 ? Side::Black : Side::White;
            Position alone = with({{from, codeOf(mover, kind)}}, toMove(mover));
            alone.loneKingFree = 1;
            Squares reached = targetsOf(alone, from), expected;
            std::sort(reached.begin(), reached.end());
            for (int to = 0; to < kSquareCount; ++to) {
                if (to == from) continue;
                if (along(distance(from, to))) expected.push_back(to);
                Board squares{};
                squares[to] = codeOf(opponent(mover), Kind::King);
                squares[from] = codeOf(mover, kind);
                const bool attacks = along(distance(from, to));
                ASSERT_EQ(kingAttacked(squares, to, opponent(mover), 0), attacks) << from << " " << to;
                squares[from] = codeOf(opponent(mover), kind);
                ASSERT_FALSE(kingAttacked(squares, to, opponent(mover), 0)) << from << " " << to;
            }
            ASSERT_EQ(reached, expected) << "kind " << int(kind) << " on " << from;
        }
    }
}

TEST(KingAttacked, PawnsTakeOnlyTowardsTheirAdvance)
{
    // King on 43, the pawn on 43 + offset. Unswitched, Black's pawns take towards
    // lower colmn, White's towards higher; switched, the roles turn.
    struct {
        int sidesSwitched, king, pawn, offset;
        bool attacks;
    } cases[] = {{0, K, p, +9, true},   {0, K, p, -31, true}, {0, K, p, -9, false}, {0, K, p, +1, false},
                 {0, K, p, +18, false}, {0, K, P, +9, false}, {0, k, P, +31, true}, {0, k, P, +33, false},
                 {1, K, p, +9, false},  {1, K, p, +31, true}, {1, k, P, +9, true},  {1, k, P, -9, false}};
    for (const auto& c : cases) {
        Board squares{};
        squares[43] = c.king;
        squares[43 + c.offset] = c.pawn;
        EXPECT_EQ(kingAttacked(squares, 43, c.king == K ? Side::White : Side::Black, c.sidesSwitched), c.attacks)
            << "pawn " << c.pawn << " at " << c.offset << ", switched " << c.sidesSwitched;
    }
}

TEST(Checklegal, ExposingEitherOfTwoKingsIsRefused)
{
    // The bishop on 32 shields the king on 0 from the rook on 64, the knight on
    // 119 the king on 127 from the rook on 103.
    const Position position = with({{0, K}, {127, K}, {32, B}, {64, r}, {119, N}, {103, r}, {20, P}});
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
    // The mover's king, its pawn, the pawn taken and the enemy rook in a line;
    // the third case after switching sides.
    struct {
        Status status;
        int up, king, pawn, taken, rook, drop;
    } cases[] = {{W, P, 36, 44, 52, 60, 53}, {Bl, P, 35, 43, 51, 59, 50}, {Bl, p, 36, 44, 52, 60, 53}};
    for (const auto& c : cases) {
        const Side side = *sideToMove(c.status);
        const Side other = opponent(side);
        Position position = with({{c.king, codeOf(side, Kind::King)}, {c.pawn, codeOf(side, Kind::Pawn)},
                                  {c.taken, codeOf(other, Kind::Pawn)}, {c.rook, codeOf(other, Kind::Rook)}},
                                 c.status);
        position.upPawn = c.up;
        position.downPawn = c.up == P ? p : P;
        position.sidesSwitched = c.up == P ? 0 : 1;
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
    Position position = with({{0, K}, {32, r}, {20, P}});
    EXPECT_FALSE(checklegal(position, 21, 20));
    EXPECT_FALSE(checklegal(position, 1, 0));
    for (Status result : {Status::WhiteWins, Status::BlackWins, Status::Draw}) {
        position.status = result;
        EXPECT_FALSE(sideInCheck(position));
        EXPECT_TRUE(checklegal(position, 21, 20) && checklegal(position, 1, 0));
    }
}

TEST(Checklegal, LoneKingWaitsForEitherFlag)
{
    for (Side side : {Side::White, Side::Black}) {
        const int king = codeOf(side, Kind::King), enemyRook = codeOf(opponent(side), Kind::Rook);
        // The rook on 52 guards 44; the bishop on 51 shields the king from the rook on 59.
        const Position position = with({{43, king}, {52, enemyRook}, {59, enemyRook}, {51, codeOf(side, Kind::Bishop)},
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
