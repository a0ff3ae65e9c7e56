#include "engine/targets.h"

#include "engine/castling.h"
#include "engine/check.h"
#include "engine/directions.h"

namespace palisade {

namespace {

template <std::size_t N>
void walkRays(const Position& position, int index, const std::array<Step, N>& steps, TargetList& out)
{
    const int mover = position.squares[index];
    const Coords at = coordsOf(index);
    for (const Step& step : steps) {
        // A king goes one square along each ray.
        const int available = isKing(mover) ? std::min(1, raySquares(at, step)) : raySquares(at, step);
        for (int k = 1; k <= available; ++k) {
            const int t = index + k * step.delta();
            const int occupant = position.squares[t];
            if (occupant == kEmpty || areEnemies(mover, occupant)) {
                if (checklegal(position, t, index)) out.push_back({t, kTargetMark});
            }
            if (occupant != kEmpty) break;
        }
    }
}

} // namespace

void knight(const Position& position, int index, TargetList& out)
{
    const int mover = position.squares[index];
    const Coords at = coordsOf(index);
    for (const Step& jump : kKnightJumps) {
        if (!jumpFits(at, jump)) continue;
        const int t = index + jump.delta();
        const int occupant = position.squares[t];
        if ((occupant == kEmpty || areEnemies(mover, occupant)) && checklegal(position, t, index)) {
            out.push_back({t, kTargetMark});
        }
    }
}

void bishopQK(const Position& position, int index, TargetList& out)
{
    walkRays(position, index, kDiagonalSteps, out);
}

void rookQK(const Position& position, int index, TargetList& out)
{
    walkRays(position, index, kOrthogonalSteps, out);
}

TargetList ordinaryTargets(const Position& position, int index)
{
    TargetList targets;
    const int code = position.squares[index];
    if (code == position.upPawn) {
        whitepawn(position, index, targets);
    } else if (code == position.downPawn) {
        blackpawn(position, index, targets);
    } else if (code == kWhiteKnight || code == kBlackKnight) {
        knight(position, index, targets);
    } else if (isPiece(code)) {
        const Kind kind = kindOf(code);
        if (kind == Kind::Bishop || kind == Kind::Queen || kind == Kind::King) bishopQK(position, index, targets);
        if (kind == Kind::Rook || kind == Kind::Queen || kind == Kind::King) rookQK(position, index, targets);
    }
    return targets;
}

TargetList generateTargets(const Position& position, int index)
{
    TargetList targets = ordinaryTargets(position, index);
    if (isKing(position.squares[index])) queencastle(position, index, targets);
    return targets;
}

} // namespace palisade
