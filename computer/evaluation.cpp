#include "computer/evaluation.h"

#include "engine/move_tables.h"

#include <array>

namespace palisade {

namespace {

Bits sliderReach(int square, int first, int last, Bits occupied)
{
    Bits reach = 0;
    for (int ray = first; ray < last; ++ray) reach |= rayAttacks(ray, square, occupied);
    return reach;
}

Bits reachOf(Kind kind, int square, Bits occupied)
{
    switch (kind) {
    case Kind::Knight: return kMoveTables.knight[square];
    case Kind::Bishop: return sliderReach(square, 0, kDiagonalRays, occupied);
    case Kind::Rook: return sliderReach(square, kDiagonalRays, kRayCount, occupied);
    case Kind::Queen: return sliderReach(square, 0, kRayCount, occupied);
    default: return 0;
    }
}

// Pawns move up (towards colmn 7) for the side whose pawns the board calls up.
int pawnSteps(const MoveBoard& board, Side side, int square)
{
    const bool whiteUp = board.sidesSwitched() == 0;
    const bool up = (side == Side::White) == whiteUp;
    const int colmn = coordsOf(square).colmn;
    return up ? colmn - 1 : 6 - colmn;
}

int sideScore(const MoveBoard& board, Side side, const EvalWeights& weights)
{
    const Bits own = board.piecesOf(side);
    const Bits enemy = board.piecesOf(opponent(side));
    const Bits occupied = own | enemy;
    const Bits enemyPawns = board.piecesOf(codeOf(opponent(side), Kind::Pawn));
    const std::array<int, 7> value = {0, weights.pawn, weights.knight, weights.bishop, weights.rook, weights.queen,
                                      weights.king};
    int score = 0;

    Bits pieces = own;
    while (pieces != 0) {
        const int square = popLowest(pieces);
        const int code = board.pieceAt(square);
        const Kind kind = kindOf(code);
        score += value[static_cast<int>(kind)];
        if (kind == Kind::Pawn) {
            const int steps = pawnSteps(board, side, square);
            score += weights.pawnStep * steps * (steps + 1) / 2;
        } else if (kind == Kind::King) {
            const Bits near = kMoveTables.king[square];
            score += weights.kingShelter * squareCount(near & own);
            score -= weights.kingDanger * squareCount((near | kMoveTables.knight[square]) & enemy & ~enemyPawns);
        } else {
            score += weights.mobility * squareCount(reachOf(kind, square, occupied) & ~own);
        }
    }
    return score;
}

} // namespace

int pieceValue(int code, const EvalWeights& weights)
{
    if (!isPiece(code)) return 0;
    switch (kindOf(code)) {
    case Kind::Pawn: return weights.pawn;
    case Kind::Knight: return weights.knight;
    case Kind::Bishop: return weights.bishop;
    case Kind::Rook: return weights.rook;
    case Kind::Queen: return weights.queen;
    case Kind::King: return weights.king;
    }
    return 0;
}

int evaluate(const MoveBoard& board, const EvalWeights& weights)
{
    const Side side = board.sideToMove().value_or(Side::White);
    return sideScore(board, side, weights) - sideScore(board, opponent(side), weights);
}

} // namespace palisade
