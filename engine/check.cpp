#include "engine/check.h"

#include "engine/directions.h"

namespace palisade {

namespace {

int enemyCode(Side kingSide, Kind kind) { return codeOf(opponent(kingSide), kind); }

bool knightAttacks(const Board& squares, int king, Coords at, Side kingSide)
{
    const int knight = enemyCode(kingSide, Kind::Knight);
    for (const Step& jump : kKnightJumps) {
        if (jumpFits(at, jump) && squares[king + jump.delta()] == knight) return true;
    }
    return false;
}

// Walks each ray to its first occupied square; `attacks(piece, k, step)` says
// whether the piece found k squares out attacks the king along it.
template <std::size_t N, typename Attacks>
bool rayAttacks(const Board& squares, int king, Coords at, const std::array<Step, N>& steps,
                Attacks attacks)
{
    for (const Step& step : steps) {
        const int available = raySquares(at, step);
        for (int k = 1; k <= available; ++k) {
            const int piece = squares[king + k * step.delta()];
            if (piece == kEmpty) continue;
            if (attacks(piece, k, step)) return true;
            break;
        }
    }
    return false;
}

bool diagonalAttacks(const Board& squares, int king, Coords at, Side kingSide, int sidesSwitched)
{
    const int bishop = enemyCode(kingSide, Kind::Bishop);
    const int queen = enemyCode(kingSide, Kind::Queen);
    const int enemyKing = enemyCode(kingSide, Kind::King);
    const int pawn = enemyCode(kingSide, Kind::Pawn);
    return rayAttacks(squares, king, at, kDiagonalSteps, [&](int piece, int k, Step step) {
        if (piece == bishop || piece == queen) return true;
        if (k != 1) return false;
        return piece == enemyKing
            || (piece == pawn && pawnAttacksFrom(step, kingSide, sidesSwitched));
    });
}

bool orthogonalAttacks(const Board& squares, int king, Coords at, Side kingSide)
{
    const int rook = enemyCode(kingSide, Kind::Rook);
    const int queen = enemyCode(kingSide, Kind::Queen);
    const int enemyKing = enemyCode(kingSide, Kind::King);
    return rayAttacks(squares, king, at, kOrthogonalSteps, [&](int piece, int k, Step) {
        return piece == rook || piece == queen || (k == 1 && piece == enemyKing);
    });
}

bool anyKingAttacked(const Board& squares, const KingSquares& kings, Side side, int sidesSwitched)
{
    for (int i = 0; i < kings.count; ++i) {
        if (kingAttacked(squares, kings.square[i], side, sidesSwitched)) return true;
    }
    return false;
}

} // namespace

bool pawnAttacksFrom(Step fromKingToPawn, Side kingSide, int sidesSwitched)
{
    const bool pawnBelow = fromKingToPawn.colmn < 0;
    const bool enemyAdvancesUp = (sidesSwitched == 0) == (kingSide == Side::Black);
    return pawnBelow == enemyAdvancesUp;
}

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
    const Coords at = coordsOf(king);
    return knightAttacks(squares, king, at, kingSide)
        || diagonalAttacks(squares, king, at, kingSide, sidesSwitched)
        || orthogonalAttacks(squares, king, at, kingSide);
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
