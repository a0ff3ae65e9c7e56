#include "gameroom/result_reading.h"

#include "engine/check.h"
#include "engine/verdict.h"

namespace palisade {

namespace {

// The side to move before the last move, read off the record.
std::optional<Side> lastMover(const MoveHistory& history)
{
    const int k = history.halfMoves();
    if (k < 1) return std::nullopt;
    const auto& status = history.entry(k - 1).status;
    return status ? sideToMove(*status) : std::nullopt;
}

} // namespace

std::optional<EndReason> endReasonOf(const Position& position, const MoveHistory& history)
{
    const auto mover = lastMover(history);
    if (sideToMove(position.status) || !mover) return std::nullopt;
    // The position as it was judged: the other side to move.
    Position judged = position;
    const Side side = opponent(*mover);
    judged.status = toMove(side);
    judged.kingTrial = kingJustGivenUp(position.squares, history, side) ? 1 : 0;
    const Verdict verdict = palisade::verdict(judged, lookbackOf(history, position.sidesSwitched));

    if (position.status == winFor(*mover)) {
        return verdict.inCheck && !verdict.canMove ? std::optional(EndReason::Checkmate) : std::nullopt;
    }
    if (position.status != Status::Draw) return std::nullopt;
    if (verdict.judgement == Judgement::Stalemate) return EndReason::Stalemate;
    if (verdict.judgement == Judgement::LoneKingStuck) return EndReason::LoneKing;
    if (verdict.repetition) return EndReason::Repetition;
    return std::nullopt;
}

bool kingJustGivenUp(const Board& board, const MoveHistory& history, Side side)
{
    const int k = history.halfMoves();
    return k >= 1 && kingsOf(board, side).count == 1
           && kingsOf(history.entry(k - 1).squares, side).count == 2;
}

std::optional<int> givenUpKing(const Board& before, const Board& after, Side side)
{
    const KingSquares kings = kingsOf(before, side);
    if (kings.count != 2 || kingsOf(after, side).count != 1) return std::nullopt;
    for (const int square : kings.square) {
        if (after[square] == kEmpty) return square;
    }
    return std::nullopt;
}

} // namespace palisade
