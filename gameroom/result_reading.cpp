#include "gameroom/result_reading.h"

#include "engine/check.h"
#include "engine/game_end.h"

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
    const bool inCheck = sideInCheck(judged);

    if (position.status == winFor(*mover)) {
        return inCheck && !hasLegalMove(judged) ? std::optional(EndReason::Checkmate)
                                                : std::nullopt;
    }
    if (position.status != Status::Draw) return std::nullopt;
    if (!inCheck && !hasLegalMove(judged)) {
        if (kingsOf(judged.squares, side).count == 2) return EndReason::Stalemate;
        judged.loneKingFree = 1;
        if (!hasLegalMove(judged)) return EndReason::LoneKing;
    }
    if (repeatsFourAndEightBack(position, history)) return EndReason::Repetition;
    return std::nullopt;
}

bool repeatsFourAndEightBack(const Position& position, const MoveHistory& history)
{
    const int k = history.halfMoves();
    if (k <= 7) return false;
    auto repeats = [&position](const HistoryEntry& entry) {
        return boardSeenAs(entry, position.sidesSwitched) == position.squares;
    };
    return repeats(history.entry(k - 4)) && repeats(history.entry(k - 8));
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
