#include "gameroom/game_room.h"

#include "gameroom/result_text.h"

namespace palisade {

std::optional<GameResult> GameRoom::result() const
{
    if (sideToMove(position_.status)) return std::nullopt;
    return GameResult{position_.status, spokenEnd_ ? spokenEnd_ : endReasonOf(position_, history_)};
}

std::optional<GivenUpKing> GameRoom::kingGivenUp(int k) const
{
    if (k < 1 || k > history_.lastHalfMove()) return std::nullopt;
    const HistoryEntry& before = history_.entry(k - 1);
    const auto mover = before.status ? sideToMove(*before.status) : std::nullopt;
    if (!mover) return std::nullopt;
    const bool onBoard = k == history_.halfMoves();
    if (!onBoard && !history_.entry(k).status) return std::nullopt;
    const Board after = onBoard ? position_.squares : seenNow(history_.entry(k));
    const Side side = opponent(*mover);
    const auto square = givenUpKing(seenNow(before), after, side);
    if (!square) return std::nullopt;
    return GivenUpKing{side, *square};
}

std::string GameRoom::standingNotice() const
{
    if (const auto ended = result()) return resultNotice(*ended);
    if (const auto king = kingGivenUp(history_.halfMoves())) {
        return givenUpText(king->side, king->square, position_.sidesSwitched) + ".";
    }
    return {};
}

std::string GameRoom::moveListText(int halfMove) const
{
    const std::string& move = history_.moveText(halfMove);
    const auto king = kingGivenUp(halfMove);
    if (!king) return move;
    return move + " (" + givenUpText(king->side, king->square, position_.sidesSwitched) + ")";
}

} // namespace palisade
