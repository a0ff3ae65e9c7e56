#include "engine/targets.h"
#include "engine/verdict.h"
#include "test_positions.h"

#include <gtest/gtest.h>

namespace palisade {
namespace {

using namespace letters;

// White's kings on 40 and 42 are mated under "Destroy Both Kings!". Alone, the
// king on 40 could step only to 8, which is also the landing of its kingside
// castle: the castle's mark replaces the plain one there, so the trial shows
// no escape for it, and none for the other: the game is lost.
TEST(Verdict, AKingWhoseOnlyStepIsItsCastleLandingHasNoEscape)
{
    Position position = with({{0, R}, {2, k}, {18, k}, {34, q}, {40, K}, {42, K}, {77, r}});
    position.winOption = 1;
    const Verdict verdict = palisade::verdict(position, Lookback{});
    ASSERT_EQ(verdict.judgement, Judgement::KingTrial);
    EXPECT_EQ(verdict.trial.king, (std::array<int, 2>{40, 42}));
    EXPECT_EQ(verdict.trial.escapes(), 0);

    Position alone = position;
    alone.kingTrial = 1;
    alone.squares[42] = kEmpty;
    EXPECT_EQ(ordinaryTargets(alone, 40), (TargetList{{8, kTargetMark}}));
    EXPECT_EQ(generateTargets(alone, 40).back(), (Target{8, kKingsideCastleMark}));
}

// The repetition draw compares the pieces alone, from the eighth half-move on.
TEST(Verdict, RepetitionLooksAtThePiecesFromTheEighthHalfMove)
{
    Position now = standardPosition();
    now.enPassantSquare = 18;
    now.castleLost[3] = 1;
    Lookback lookback{8, standardPosition().squares, standardPosition().squares};
    EXPECT_TRUE(verdict(now, lookback).repetition);
    lookback.halfMoves = 7;
    EXPECT_FALSE(verdict(now, lookback).repetition);
    lookback.halfMoves = 8;
    lookback.eightBack->at(8) = kEmpty;
    EXPECT_FALSE(verdict(now, lookback).repetition);
}

} // namespace
} // namespace palisade
