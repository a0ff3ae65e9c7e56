#pragma once

#include "engine/position.h"

#include <optional>

namespace palisade {

enum class RefusalKind {
    NotAMove,     // the piece never moves that way
    InTheWay,     // a piece stands between the mover and the square
    OwnPiece,     // one of the mover's own pieces stands on the square
    PawnBlocked,  // a pawn goes straight ahead only over and onto empty squares
    OnlyCaptures, // a pawn goes aside only to take
    KingAttacked, // a king of the mover would stand attacked
    LoneKing,     // a side down to one king may not move it yet
    NoCastle,     // a king two squares from a castle's landing may not castle now
};

struct Refusal {
    RefusalKind kind = RefusalKind::NotAMove;
    int blocker = -1;  // InTheWay, OwnPiece, PawnBlocked: the piece that stops the move
    int king = -1;     // KingAttacked: where the attacked king would stand
    int attacker = -1; // KingAttacked: a piece attacking it

    friend bool operator==(const Refusal&, const Refusal&) = default;
};

// Why the piece on `pick` may not go to `drop` in this position; nothing when
// the move is one of its ordinary targets. A king's step of two squares onto
// a queenside castle's landing is told as a castle not possible now: whether
// it is possible is for the castle marks to say.
std::optional<Refusal> whyNot(const Position& position, int pick, int drop);

} // namespace palisade
