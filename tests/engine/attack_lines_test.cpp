#include "engine/attack_lines.h"
#include "engine/check.h"
#include "engine/refusal.h"
#include "test_positions.h"

#include <algorithm>
#include <random>

namespace palisade {
namespace {
using namespace letters;

// Crowded, lopsided positions in both orientations, with en passant squares
// that no pawn may use and ones that one may.
Position randomPosition(std::mt19937& random)
{
    std::uniform_int_distribution<int> square(0, kSquareCount - 1), code(1, 12), coin(0, 1),
        count(6, 40);
    Position position;
    position.sidesSwitched = coin(random);
    position.upPawn = position.sidesSwitched == 0 ? kWhitePawn : kBlackPawn;
    position.downPawn = position.sidesSwitched == 0 ? kBlackPawn : kWhitePawn;
    position.status = coin(random) == 0 ? W : Bl;
    for (int i = count(random); i > 0; --i) {
        const int at = square(random);
        const int piece = code(random);
        const int colmn = coordsOf(at).colmn;
        if ((piece == P || piece == p) && (colmn == 0 || colmn == 7)) continue;
        position.squares[at] = piece;
    }
    position.enPassantSquare = square(random);
    return position;
}

TEST(AttackLines, FindExactlyTheAttacksTheCheckTestSeesAlongUnbrokenLines)
{
    std::mt19937 random(9);
    for (int round = 0; round < 300; ++round) {
        const Position position = randomPosition(random);
        for (int king = 0; king < kSquareCount; ++king) {
            for (const Side side : {Side::White, Side::Black}) {
                const auto attacks =
                    attacksOn(position.squares, king, side, position.sidesSwitched);
                ASSERT_EQ(attacks.empty(),
                          !kingAttacked(position.squares, king, side, position.sidesSwitched));
                for (const Attack& attack : attacks) {
                    ASSERT_TRUE(attack.line.front() == attack.attacker
                                && attack.line.back() == king);
                    ASSERT_TRUE(belongsTo(position.squares[attack.attacker], opponent(side)));
                    for (std::size_t i = 1; i + 1 < attack.line.size(); ++i) {
                        ASSERT_EQ(position.squares[attack.line[i]], kEmpty);
                        ASSERT_EQ(attack.line[i + 1] - attack.line[i],
                                  attack.line[i] - attack.line[i - 1]);
                    }
                }
            }
        }
    }
}

TEST(AttackLines, CrossTheHalfBoardsAndNameEveryAttackerOfEachKing)
{
    // A knight's jump between half-boards on one king; a bishop's diagonal and
    // a rook's line, each across two half-boards, on the other.
    const Position position = with({{8, K}, {40, K}, {42, n}, {106, b}, {104, r}, {96, k}});
    const std::vector<Attack> expected = {
        {42, 8, {42, 8}}, {106, 40, {106, 73, 40}}, {104, 40, {104, 72, 40}}};
    EXPECT_EQ(kingAttacks(position), expected);
    EXPECT_TRUE(kingAttacks(with({{40, K}, {72, R}, {104, r}})).empty());
}

TEST(Refusal, SaysWhyForEveryMoveThatIsNotATargetAndNothingForTargets)
{
    std::mt19937 random(10);
    for (int round = 0; round < 200; ++round) {
        const Position position = randomPosition(random);
        const Side side = *sideToMove(position.status);
        for (int pick = 0; pick < kSquareCount; ++pick) {
            if (!belongsTo(position.squares[pick], side)) continue;
            const TargetList targets = ordinaryTargets(position, pick);
            for (int drop = 0; drop < kSquareCount; ++drop) {
                const bool target =
                    std::any_of(targets.begin(), targets.end(),
                                [drop](const Target& t) { return t.square == drop; });
                ASSERT_EQ(!whyNot(position, pick, drop).has_value(), target)
                    << pick << " -> " << drop;
            }
        }
    }
}

TEST(Refusal, NamesTheReasonAndThePiecesConcerned)
{
    using Kind = RefusalKind;
    const Position start = standardPosition();
    EXPECT_EQ(whyNot(start, 8, 73), (Refusal{Kind::OwnPiece, 73})); // own pawn on the square
    EXPECT_EQ(whyNot(start, 8, 43), (Refusal{Kind::NotAMove}));     // not a knight's jump
    EXPECT_EQ(whyNot(start, 0, 3), (Refusal{Kind::InTheWay, 1})); // the rook's own pawn in the way
    EXPECT_EQ(whyNot(start, 41, 50), (Refusal{Kind::OnlyCaptures}));
    // Straight ahead a piece of either side stops a pawn; aside only its own does.
    Position ahead = start;
    ahead.squares[42] = kBlackKnight;
    ahead.squares[50] = kWhiteKnight;
    EXPECT_EQ(whyNot(ahead, 41, 42), (Refusal{Kind::PawnBlocked, 42}));
    EXPECT_EQ(whyNot(ahead, 41, 43), (Refusal{Kind::PawnBlocked, 42}));
    EXPECT_EQ(whyNot(ahead, 41, 50), (Refusal{Kind::OwnPiece, 50}));
    EXPECT_EQ(whyNot(start, 41, 44), (Refusal{Kind::NotAMove}));
    EXPECT_EQ(whyNot(start, 40, 56), (Refusal{Kind::NoCastle})); // the queen stands between
    EXPECT_EQ(whyNot(start, 40, 42), (Refusal{Kind::NotAMove}));

    // The rook between its king and the enemy rook, two half-boards away, is pinned.
    const Position pinned = with({{8, K}, {40, K}, {72, R}, {104, r}});
    EXPECT_EQ(whyNot(pinned, 72, 73), (Refusal{Kind::KingAttacked, -1, 40, 104}));
    EXPECT_FALSE(whyNot(pinned, 72, 104));
    // A king stepping onto an attacked square is named where it would stand.
    EXPECT_EQ(whyNot(with({{8, K}, {40, K}, {96, r}}), 40, 32),
              (Refusal{Kind::KingAttacked, -1, 32, 96}));

    Position lone = with({{40, K}, {100, r}, {10, P}});
    EXPECT_EQ(whyNot(lone, 40, 41), (Refusal{Kind::LoneKing}));
    lone.loneKingFree = 1;
    EXPECT_FALSE(whyNot(lone, 40, 41));
}

} // namespace
} // namespace palisade
