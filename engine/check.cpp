#include "engine/check.h"

#include "engine/attackers.h"

namespace palisade {

namespace {

bool anyKingAttacked(const Board& squares, const KingSquares& kings, Side side, int sidesSwitched)
{
    for (int i = 0; i < kings.count; ++i) {
        if (kingAttacked(squares, kings.square[i], side, sidesSwitched)) return true;
    }
    return false;
}

} // namespace

Board boardAfterMove(const Position& position, int drop, int pick)
{
    Board board = position.squares;
    const int mover = board[pick];
    board[drop] = mover;
    board[pick] = kEmpty;
    // The pawn taken en passant leaves the board with the move.
    const int ep = position.enPassantSquare;
    if ((mover == position.upPawn && ep == drop - 1) || (mover == position.downPawn && ep == drop + 1)) {
        if (isSquare(ep)) board[ep] = kEmpty;
    }
    return board;
}

KingSquares kingsOf(const Board& squares, Side side)
{
    const int king = codeOf(side, Kind::King);
    KingSquares kings;
    for (int i = 0; i < kSquareCount && kings.count < 2; ++i) {
        if (squares[i] == king) kings.square[kings.count++] = i;
    }
    return kings;
}

bool kingAttacked(const Board& squares, int king, Side kingSide, int sidesSwitched)
{
    return findAttackers(squares, king, kingSide, sidesSwitched, [](const Attacker&) { return true; });
}

bool sideInCheck(const Position& position)
{
    const auto side = sideToMove(position.status);
    if (!side) return false;
    return anyKingAttacked(position.squares, kingsOf(position.squares, *side), *side,
                           position.sidesSwitched);
}

bool checklegal(const Position& position, int drop, int pick)
{
    const Board board = boardAfterMove(position, drop, pick);
    const auto side = sideToMove(position.status);
    const KingSquares kings = side ? kingsOf(board, *side) : KingSquares{};
    if (isKing(board[drop]) && kings.count == 1 && position.kingTrial == 0 && position.loneKingFree == 0) {
        return false;
    }
    return !(side && anyKingAttacked(board, kings, *side, position.sidesSwitched));
}

} // namespace palisade
