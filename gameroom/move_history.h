#pragma once

#include "engine/position.h"
#include "engine/verdict.h"

#include <array>
#include <cassert>
#include <optional>
#include <string>
#include <vector>

namespace palisade {

// One recorded position, with what the screen showed of it.
struct HistoryEntry {
    Board squares{};
    std::array<int, kCastleFlagCount> castleLost{};
    int sidesSwitched = 0;
    int enPassantSquare = 0;
    int kingsStanding = 0;
    int check = 0;                // "Check!" was shown
    std::optional<Status> status; // none in an entry no position was written to
    int loneKingFree = 0;

    friend bool operator==(const HistoryEntry&, const HistoryEntry&) = default;
};

// A recorded board as it stands in the orientation `sidesSwitched`: turned
// when it was recorded before "Switch Sides".
Board boardSeenAs(const HistoryEntry& entry, int sidesSwitched);

// The positions of the current game for Take Back, Forward and the jumps:
// entry k is the position after k half-moves, `halfMoves` the one on the board.
// It holds 402 entries; from the 401st half-move on, each new move overwrites
// entry 400, so entries 0..399 keep the game's opening and 400, 401 its end.
class MoveHistory {
public:
    static constexpr int kEntries = 402;
    static constexpr int kLast = kEntries - 1;

    int halfMoves() const { return halfMoves_; }
    int lastHalfMove() const { return lastHalfMove_; }
    bool canGoForward() const { return halfMoves_ < lastHalfMove_; }
    const HistoryEntry& entry(int k) const
    {
        assert(k >= 0 && k < kEntries);
        return entries_[k];
    }

    // The notation of the move that led to entry k (k >= 1).
    const std::string& moveText(int k) const
    {
        assert(k >= 1 && k < kEntries);
        return moveTexts_[k];
    }

    // A move is about to be made from `now`. The line beyond it is cut.
    void record(const HistoryEntry& now);
    // The notation of the move just recorded.
    void setLatestMoveText(const std::string& text) { setMoveText(halfMoves_, text); }
    void setMoveText(int k, const std::string& text)
    {
        assert(k >= 1 && k < kEntries);
        moveTexts_[k] = text;
    }

    // Each keeps `now` for coming back and returns the entry to show, or
    // nothing when there is nowhere to go.
    std::optional<int> takeBack(const HistoryEntry& now);
    std::optional<int> forward();
    std::optional<int> backToFirst(const HistoryEntry& now);
    std::optional<int> forwardToEnd();

    void clear();
    // Takes over the entries 0..lastHalfMove of a saved game, `halfMoves` the
    // one on the board; their move texts are worked out from the positions.
    void load(const std::vector<HistoryEntry>& entries, int halfMoves);

private:
    std::array<HistoryEntry, kEntries> entries_{};
    std::array<std::string, kEntries> moveTexts_{};
    int halfMoves_ = 0;
    int lastHalfMove_ = 0;
};

// What the repetition rule reads of the record before the position on the
// board, the earlier boards as they stand in the orientation `sidesSwitched`.
Lookback lookbackOf(const MoveHistory& history, int sidesSwitched);

} // namespace palisade
