#pragma once

#include "engine/position.h"
#include "gameroom/move_history.h"

#include <optional>

namespace palisade {

// Why a game ended.
enum class EndReason {
    Checkmate,  // the side to move is attacked and has no move
    Stalemate,  // the side to move has both kings, no move and no attack on them
    LoneKing,   // nothing of the side to move can go, not even its freed lone king
    Repetition, // the same position after four and after eight half-moves
    // Only the game being played knows these: the record cannot tell them.
    Resignation,
    DrawDeclared,
    TimeRanOut, // the loser's clock
};

// A result that shows, with its reason when the game can tell it.
struct GameResult {
    Status status = Status::Draw;
    std::optional<EndReason> reason;

    friend bool operator==(const GameResult&, const GameResult&) = default;
};

// Why the game on the board ended, read off the position and the record of
// the ones before it exactly as the end-of-game test judged them; nothing
// while a side is to move, or when the record cannot tell (a resignation, a
// declared draw).
std::optional<EndReason> endReasonOf(const Position& position, const MoveHistory& history);

// A king a side gave up under "Destroy Both Kings!".
struct GivenUpKing {
    Side side = Side::White;
    int square = 0;

    friend bool operator==(const GivenUpKing&, const GivenUpKing&) = default;
};

// Whether `side`, on `board` right after the record's newest position, has
// just given up one of two kings: the king it kept may then move at once.
bool kingJustGivenUp(const Board& board, const MoveHistory& history, Side side);

// The king of `side` that stood on `before` and is gone from `after` without
// being taken, when the side went from two kings to one: the king it gave up.
// Both boards in one orientation.
std::optional<int> givenUpKing(const Board& before, const Board& after, Side side);

} // namespace palisade
