#include "engine/game_end.h"

#include "engine/targets.h"

namespace palisade {

namespace {

// The ordinary targets of one piece: its kind's generators without castles.
TargetList movesOf(const Position& position, int square)
{
    TargetList out;
    const int code = position.squares[square];
    if (code == position.upPawn) {
        whitepawn(position, square, out);
    } else if (code == position.downPawn) {
        blackpawn(position, square, out);
    } else if (kindOf(code) == Kind::Knight) {
        knight(position, square, out);
    } else {
        const Kind kind = kindOf(code);
        if (kind != Kind::Rook) bishopQK(position, square, out);
        if (kind != Kind::Bishop) rookQK(position, square, out);
    }
    return out;
}

} // namespace

bool hasLegalMove(const Position& position)
{
    const auto side = sideToMove(position.status);
    if (!side) return false;
    for (int square = 0; square < kSquareCount; ++square) {
        if (belongsTo(position.squares[square], *side) && !movesOf(position, square).empty()) return true;
    }
    return false;
}

} // namespace palisade
