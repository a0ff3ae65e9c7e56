#include "engine/remember.h"

#include "engine/castling.h"

#include <cstdlib>

namespace palisade {

namespace {

void takeEnPassant(Position& position, int drop, int pick)
{
    Board& squares = position.squares;
    const int ep = position.enPassantSquare;
    if (drop >= 1 && squares[pick] == position.upPawn && squares[drop - 1] == position.downPawn
        && ep == drop - 1) {
        squares[drop - 1] = kEmpty;
    }
    if (drop <= kSquareCount - 2 && squares[pick] == position.downPawn
        && squares[drop + 1] == position.upPawn && ep == drop + 1) {
        squares[drop + 1] = kEmpty;
    }
}

} // namespace

bool promotes(const Position& position, int drop, int pick)
{
    const int colmn = coordsOf(drop).colmn;
    return (colmn == 0 || colmn == 7) && isPawn(position.squares[pick]);
}

void remember(Position& position, int drop, int pick, Kind promotedKind)
{
    takeEnPassant(position, drop, pick);

    // Every move ends the chance of an earlier en passant.
    const bool doubleStep = isPawn(position.squares[pick]) && std::abs(drop - pick) == 2;
    position.enPassantSquare = doubleStep ? drop : 0;

    if (promotes(position, drop, pick)) {
        const Side side = isWhite(position.squares[pick]) ? Side::White : Side::Black;
        position.squares[pick] = codeOf(side, promotedKind);
    }
    loseCastlingRights(position, pick);
}

} // namespace palisade
