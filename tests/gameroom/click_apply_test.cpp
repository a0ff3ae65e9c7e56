// Every move a player makes by clicks, with its answers, leaves the position
// the engine's own `apply` gives, and what the game then says follows the
// engine's `verdict`: the window and the computer can never disagree.

#include "engine/apply.h"
#include "engine/move_board.h"
#include "random_starts.h"
#include "recording_view.h"

#include <gtest/gtest.h>


namespace palisade {
namespace {

// The answers a player gives to play `move` by clicks.
std::vector<bool> answersFor(const Move& move)
{
    switch (move.extra) {
    case MoveExtra::Queen: return {true};
    case MoveExtra::Knight: return {false, true};
    case MoveExtra::Rook: return {false, false, true};
    case MoveExtra::Bishop: return {false, false, false};
    case MoveExtra::Castle: return {true};
    case MoveExtra::Plain: return {false}; // declines a kingside castle
    }
    return {};
}

// What the game room makes of the position once the verdict is shown; the
// two-king trial is left out, since its board depends on the king kept.
std::optional<Position> judged(Position position)
{
    const Verdict verdict = palisade::verdict(position, Lookback{});
    const Side side = *sideToMove(position.status);
    switch (verdict.judgement) {
    case Judgement::Play:
    case Judgement::Check: break;
    case Judgement::Checkmate: position.status = winFor(opponent(side)); break;
    case Judgement::KingTrial: return std::nullopt;
    case Judgement::Stalemate: position.status = Status::Draw; break;
    case Judgement::LoneKingFreed: position.loneKingFree = 1; break;
    case Judgement::LoneKingStuck:
        position.loneKingFree = 1;
        position.status = Status::Draw;
        break;
    }
    return position;
}

TEST(ClickedMoves, LeaveThePositionApplyGivesAndTheVerdictJudges)
{
    Room room;
    trace::Dice dice(17);
    int compared = 0, promotions = 0, castles = 0, ended = 0;
    for (int start = 0; start < 400; ++start) {
        const Position position = trace::randomStart(dice).position;
        MoveList moves;
        MoveBoard(position).generate(moves);
        for (const Move& move : moves) {
            room.setUp(position);
            room.answers = answersFor(move);
            room.clickSquare(move.pick);
            ASSERT_TRUE(room.isTarget(move.drop)) << moveText(move);
            room.clickSquare(move.drop);

            Position expected = position;
            apply(expected, move);
            const auto afterVerdict = judged(expected);
            if (!afterVerdict) continue;
            ASSERT_EQ(room.position(), *afterVerdict) << "start " << start << ", move " << moveText(move);
            EXPECT_EQ(room.checkShown(), verdict(expected, Lookback{}).judgement == Judgement::Check);
            ++compared;
            promotions += move.extra != MoveExtra::Plain && move.extra != MoveExtra::Castle;
            castles += move.extra == MoveExtra::Castle;
            ended += !sideToMove(room.position().status);
        }
    }
    // The starts reach every kind of move and ending.
    EXPECT_GT(compared, 10000);
    EXPECT_GT(promotions, 40);
    EXPECT_GT(castles, 100);
    EXPECT_GT(ended, 500);
}

} // namespace
} // namespace palisade
