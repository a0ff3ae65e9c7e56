#pragma once

// Which enemy pieces attack a king: the one reading of reach that the check
// test and the lines of a check share.

#include "engine/directions.h"
#include "engine/position.h"

namespace palisade {

// Whether the pawns of `side` advance towards higher colmn: before the sides
// are switched White's do.
constexpr bool advancesUp(Side side, int sidesSwitched)
{
    return (sidesSwitched == 0) == (side == Side::White);
}

// A pawn takes one diagonal step forward, never back.
constexpr bool pawnTakesAlong(Step step, bool advancingUp)
{
    return (step.colmn > 0) == advancingUp;
}

// An enemy piece attacking a king: it stands `distance` times `step` from the
// king (a knight one jump), every square between empty.
struct Attacker {
    int square = 0;
    Step step;
    int distance = 0;
};

namespace attackers_detail {

struct EnemyCodes {
    int pawn, knight, bishop, rook, queen, king;
    bool pawnsUp;
};

constexpr EnemyCodes enemyOf(Side kingSide, int sidesSwitched)
{
    const Side enemy = opponent(kingSide);
    return {.pawn = codeOf(enemy, Kind::Pawn),
            .knight = codeOf(enemy, Kind::Knight),
            .bishop = codeOf(enemy, Kind::Bishop),
            .rook = codeOf(enemy, Kind::Rook),
            .queen = codeOf(enemy, Kind::Queen),
            .king = codeOf(enemy, Kind::King),
            .pawnsUp = advancesUp(enemy, sidesSwitched)};
}

// The piece `distance` steps out along a diagonal from the king attacks it.
constexpr bool attacksDiagonally(const EnemyCodes& enemy, int piece, Step step, int distance)
{
    if (piece == enemy.bishop || piece == enemy.queen) return true;
    if (distance != 1) return false;
    const Step backToKing{-step.boards, -step.rw, -step.colmn};
    return piece == enemy.king
           || (piece == enemy.pawn && pawnTakesAlong(backToKing, enemy.pawnsUp));
}

constexpr bool attacksStraight(const EnemyCodes& enemy, int piece, int distance)
{
    return piece == enemy.rook || piece == enemy.queen || (distance == 1 && piece == enemy.king);
}

// Walks each ray to its first occupied square and tells `found` of the piece
// there when `attacks(piece, step, distance)` says it attacks the king.
template <std::size_t N, typename Attacks, typename Found>
bool walkRays(const Board& squares, int king, const std::array<Step, N>& steps, Attacks attacks,
              Found& found)
{
    const Coords at = coordsOf(king);
    for (const Step& step : steps) {
        const int available = raySquares(at, step);
        for (int k = 1; k <= available; ++k) {
            const int square = king + k * step.delta();
            const int piece = squares[square];
            if (piece == kEmpty) continue;
            if (attacks(piece, step, k) && found(Attacker{square, step, k})) return true;
            break;
        }
    }
    return false;
}

} // namespace attackers_detail

// Looks outward from the king of `kingSide` on `king` along knight jumps, then
// diagonals, then straight lines, and hands each enemy piece attacking it to
// `found(const Attacker&)` in that order. The look stops, and the answer is
// true, as soon as `found` returns true. Which way the pawns take follows
// `sidesSwitched`.
template <typename Found>
bool findAttackers(const Board& squares, int king, Side kingSide, int sidesSwitched, Found found)
{
    using namespace attackers_detail;
    const EnemyCodes enemy = enemyOf(kingSide, sidesSwitched);
    const Coords at = coordsOf(king);
    for (const Step& jump : kKnightJumps) {
        const int square = king + jump.delta();
        if (jumpFits(at, jump) && squares[square] == enemy.knight
            && found(Attacker{square, jump, 1})) {
            return true;
        }
    }
    auto diagonal = [&](int piece, Step step, int k) {
        return attacksDiagonally(enemy, piece, step, k);
    };
    auto straight = [&](int piece, Step, int k) { return attacksStraight(enemy, piece, k); };
    return walkRays(squares, king, kDiagonalSteps, diagonal, found)
           || walkRays(squares, king, kOrthogonalSteps, straight, found);
}

} // namespace palisade
