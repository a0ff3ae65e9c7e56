#include "gameroom/move_history.h"

#include "engine/orientation.h"

#include <algorithm>

namespace palisade {

Board boardSeenAs(const HistoryEntry& entry, int sidesSwitched)
{
    Board seen = entry.squares;
    if (entry.sidesSwitched != sidesSwitched) turnHalfBoards(seen);
    return seen;
}

Lookback lookbackOf(const MoveHistory& history, int sidesSwitched)
{
    Lookback lookback;
    const int k = history.halfMoves();
    lookback.halfMoves = k;
    if (k >= 4) lookback.fourBack = boardSeenAs(history.entry(k - 4), sidesSwitched);
    if (k >= 8) lookback.eightBack = boardSeenAs(history.entry(k - 8), sidesSwitched);
    return lookback;
}

void MoveHistory::record(const HistoryEntry& now)
{
    if (halfMoves_ == kLast) {
        // Full: the position on the board takes entry 400 with the move that
        // led to it, and the new move goes to 401.
        halfMoves_ = kLast - 1;
        moveTexts_[halfMoves_] = moveTexts_[kLast];
    }
    entries_[halfMoves_] = now;
    ++halfMoves_;
    lastHalfMove_ = halfMoves_;
    entries_[halfMoves_] = HistoryEntry{};
    moveTexts_[halfMoves_].clear();
}

std::optional<int> MoveHistory::takeBack(const HistoryEntry& now)
{
    entries_[halfMoves_] = now;
    if (halfMoves_ < 1) return std::nullopt;
    return --halfMoves_;
}

std::optional<int> MoveHistory::forward()
{
    if (!canGoForward()) return std::nullopt;
    return ++halfMoves_;
}

std::optional<int> MoveHistory::backToFirst(const HistoryEntry& now)
{
    if (halfMoves_ < 1) return std::nullopt;
    entries_[halfMoves_] = now;
    halfMoves_ = 0;
    return 0;
}

std::optional<int> MoveHistory::forwardToEnd()
{
    if (!canGoForward()) return std::nullopt;
    halfMoves_ = lastHalfMove_;
    return halfMoves_;
}

void MoveHistory::clear()
{
    entries_.fill(HistoryEntry{});
    for (std::string& text : moveTexts_) text.clear();
    halfMoves_ = 0;
    lastHalfMove_ = 0;
}

void MoveHistory::load(const std::vector<HistoryEntry>& entries, int halfMoves)
{
    clear();
    std::copy(entries.begin(), entries.end(), entries_.begin());
    lastHalfMove_ = static_cast<int>(entries.size()) - 1;
    halfMoves_ = halfMoves;
}

} // namespace palisade
