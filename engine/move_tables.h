#pragma once

// Where pieces reach on an empty block, worked out once at compile time.

#include "engine/attackers.h"
#include "engine/bits.h"
#include "engine/directions.h"

#include <array>

namespace palisade {

// Rays 0..7 are the diagonals, 8..13 the straight lines, in the order of the
// rules' steps.
inline constexpr int kDiagonalRays = 8;
inline constexpr int kRayCount = 14;

// A pawn advancing towards colmn 7 (up) or towards colmn 0 (down).
enum PawnWay { kUp = 0, kDown = 1 };

struct MoveTables {
    std::array<Bits, kSquareCount> knight{};
    std::array<Bits, kSquareCount> king{};
    // Every square of a ray from a square outward, the square itself not included.
    std::array<std::array<Bits, kSquareCount>, kRayCount> ray{};
    // A ray whose squares have higher indices than its start.
    std::array<bool, kRayCount> rising{};
    // The squares a pawn on a square takes on.
    std::array<std::array<Bits, kSquareCount>, 2> pawnAttack{};
    // Every square of one colmn.
    std::array<Bits, 8> colmn{};
};

constexpr Step rayStep(int ray)
{
    return ray < kDiagonalRays ? kDiagonalSteps[ray] : kOrthogonalSteps[ray - kDiagonalRays];
}

constexpr MoveTables buildMoveTables()
{
    MoveTables t;
    for (int square = 0; square < kSquareCount; ++square) {
        const Coords at = coordsOf(square);
        t.colmn[at.colmn] |= bitOf(square);
        for (const Step& jump : kKnightJumps) {
            if (jumpFits(at, jump)) t.knight[square] |= bitOf(square + jump.delta());
        }
        for (int ray = 0; ray < kRayCount; ++ray) {
            const Step step = rayStep(ray);
            t.rising[ray] = step.delta() > 0;
            const int length = raySquares(at, step);
            if (length > 0) t.king[square] |= bitOf(square + step.delta());
            for (int k = 1; k <= length; ++k) t.ray[ray][square] |= bitOf(square + k * step.delta());
        }
        for (int ray = 0; ray < kDiagonalRays; ++ray) {
            const Step step = rayStep(ray);
            if (!jumpFits(at, step)) continue;
            for (const PawnWay way : {kUp, kDown}) {
                if (pawnTakesAlong(step, way == kUp)) {
                    t.pawnAttack[way][square] |= bitOf(square + step.delta());
                }
            }
        }
    }
    return t;
}

inline constexpr MoveTables kMoveTables = buildMoveTables();

// The squares seen from `square` along one ray up to and including the first
// occupied one.
inline Bits rayAttacks(int ray, int square, Bits occupied)
{
    Bits seen = kMoveTables.ray[ray][square];
    const Bits blockers = seen & occupied;
    if (blockers != 0) {
        const int first = kMoveTables.rising[ray] ? lowestSquare(blockers) : highestSquare(blockers);
        seen ^= kMoveTables.ray[ray][first];
    }
    return seen;
}

} // namespace palisade
