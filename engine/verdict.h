#pragma once

#include "engine/position.h"

#include <array>
#include <optional>

namespace palisade {

// The boards the repetition rule looks back at: how many half-moves led to
// the judged position, and the boards four and eight half-moves before it,
// as the board now stands (turned when recorded before "Switch Sides").
struct Lookback {
    int halfMoves = 0;
    std::optional<Board> fourBack;
    std::optional<Board> eightBack;
};

// The same position four and eight half-moves back is a draw, once more than
// seven half-moves have been played. Only the pieces on the squares count:
// the flags, the en passant square and the turn take no part. Works on boards
// and on keys of boards alike.
template <typename Board>
constexpr bool repeatsFourAndEightBack(int halfMoves, const Board& now, const Board& fourBack,
                                       const Board& eightBack)
{
    return halfMoves > 7 && fourBack == now && eightBack == now;
}

// Under "Destroy Both Kings!" a side mated with two kings gives one up. Each
// king is tried alone, the other taken off the board: it can escape when a
// square shows its plain target mark (a castle's landing is no escape).
struct KingTrial {
    std::array<int, 2> king{};
    std::array<bool, 2> canEscape{};

    int escapes() const { return (canEscape[0] ? 1 : 0) + (canEscape[1] ? 1 : 0); }
};

// What the side to move faces.
enum class Judgement {
    Play,          // nothing to say
    Check,         // a king is attacked and the side can move: "Check!"
    Checkmate,     // attacked, nothing to move, and no king to give up: the other side wins
    KingTrial,     // attacked with two kings under "Destroy Both Kings!": see the trial
    Stalemate,     // not attacked and nothing to move with two kings: a draw
    LoneKingFreed, // a lone king with nothing else to move may now move itself
    LoneKingStuck, // nothing moves, not even the freed lone king: a draw
};

struct Verdict {
    bool inCheck = false;
    bool canMove = false; // any move other than a castle
    Judgement judgement = Judgement::Play;
    KingTrial trial;         // filled for Judgement::KingTrial
    bool repetition = false; // the position stands and repeats: a draw
};

// Judges the position for the side to move as the game does after every move.
// A position whose status shows a result is judged as Play.
Verdict verdict(const Position& position, const Lookback& lookback);

// The same for a side to move known to have no move but a castle, attacked or
// not: for a search that has already generated its moves.
Verdict verdictWithoutMove(const Position& position, bool inCheck);

// Each king of the side to move tried alone, as the two-king trial tries it.
KingTrial tryKingsAlone(const Position& position);

} // namespace palisade
