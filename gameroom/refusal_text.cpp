#include "gameroom/refusal_text.h"

#include "gameroom/notation.h"

namespace palisade {

namespace {

std::string kindName(int code)
{
    switch (kindOf(code)) {
    case Kind::Pawn: return "pawn";
    case Kind::Knight: return "knight";
    case Kind::Bishop: return "bishop";
    case Kind::Rook: return "rook";
    case Kind::Queen: return "queen";
    case Kind::King: return "king";
    }
    return "piece";
}

std::string sideName(int code) { return isWhite(code) ? "White's " : "Black's "; }

} // namespace

std::string refusalText(const Position& position, int pick, int drop, const Refusal& refusal)
{
    const Board& squares = position.squares;
    auto at = [&position](int square) { return squareText(square, position.sidesSwitched); };
    const std::string mover = "The " + kindName(squares[pick]) + " on " + at(pick);
    // A piece of either side, named with its side: "Black's knight on 2b3".
    auto pieceOn = [&](int square) {
        return sideName(squares[square]) + kindName(squares[square]) + " on " + at(square);
    };

    switch (refusal.kind) {
    case RefusalKind::NotAMove: return mover + " does not move to " + at(drop) + ".";
    case RefusalKind::InTheWay:
        return mover + " is blocked by the " + kindName(squares[refusal.blocker]) + " on "
               + at(refusal.blocker) + ".";
    case RefusalKind::OwnPiece:
        return mover + " cannot go to " + at(drop) + ": a " + kindName(squares[drop])
               + " of its own side stands there.";
    case RefusalKind::PawnBlocked:
        return mover + " is blocked straight ahead by " + pieceOn(refusal.blocker) + ".";
    case RefusalKind::OnlyCaptures:
        return mover + " goes to " + at(drop) + " only to take a piece.";
    case RefusalKind::KingAttacked: {
        const std::string king = sideName(squares[pick]) + "king";
        const std::string attacker = pieceOn(refusal.attacker);
        if (refusal.king == drop) {
            return king + " would be attacked on " + at(drop) + " by " + attacker + ".";
        }
        return "That would leave " + king + " on " + at(refusal.king) + " attacked by " + attacker
               + ".";
    }
    case RefusalKind::NoCastle: return mover + " cannot castle to " + at(drop) + " now.";
    case RefusalKind::LoneKing:
        return "A side down to one king may move it only when no other piece can move.";
    }
    return {};
}

} // namespace palisade
