#include "engine/attack_lines.h"

#include "engine/check.h"
#include "engine/directions.h"

namespace palisade {

namespace {

// Walks each ray to its first occupied square; `attacks(piece, k, step)` says
// whether the piece found k squares out attacks the king along it.
template <std::size_t N, typename Attacks>
void collectRayAttacks(const Board& squares, int king, const std::array<Step, N>& steps,
                       Attacks attacks, std::vector<Attack>& out)
{
    const Coords at = coordsOf(king);
    for (const Step& step : steps) {
        for (int k = 1; k <= raySquares(at, step); ++k) {
            const int square = king + k * step.delta();
            if (squares[square] == kEmpty) continue;
            if (attacks(squares[square], k, step)) {
                Attack attack{square, king, {}};
                for (int i = k; i >= 0; --i) attack.line.push_back(king + i * step.delta());
                out.push_back(attack);
            }
            break;
        }
    }
}

} // namespace

std::vector<Attack> attacksOn(const Board& squares, int king, Side kingSide, int sidesSwitched)
{
    const Side enemy = opponent(kingSide);
    const int knight = codeOf(enemy, Kind::Knight);
    const int bishop = codeOf(enemy, Kind::Bishop);
    const int rook = codeOf(enemy, Kind::Rook);
    const int queen = codeOf(enemy, Kind::Queen);
    const int enemyKing = codeOf(enemy, Kind::King);
    const int pawn = codeOf(enemy, Kind::Pawn);

    std::vector<Attack> attacks;
    const Coords at = coordsOf(king);
    for (const Step& jump : kKnightJumps) {
        const int square = king + jump.delta();
        if (jumpFits(at, jump) && squares[square] == knight) {
            attacks.push_back({square, king, {square, king}});
        }
    }
    collectRayAttacks(
        squares, king, kDiagonalSteps,
        [&](int piece, int k, Step step) {
            if (piece == bishop || piece == queen) return true;
            return k == 1
                   && (piece == enemyKing
                       || (piece == pawn && pawnAttacksFrom(step, kingSide, sidesSwitched)));
        },
        attacks);
    collectRayAttacks(
        squares, king, kOrthogonalSteps,
        [&](int piece, int k, Step) {
            return piece == rook || piece == queen || (k == 1 && piece == enemyKing);
        },
        attacks);
    return attacks;
}

std::vector<Attack> kingAttacks(const Position& position)
{
    std::vector<Attack> attacks;
    for (const Side side : {Side::White, Side::Black}) {
        const KingSquares kings = kingsOf(position.squares, side);
        for (int i = 0; i < kings.count; ++i) {
            const auto onKing =
                attacksOn(position.squares, kings.square[i], side, position.sidesSwitched);
            attacks.insert(attacks.end(), onKing.begin(), onKing.end());
        }
    }
    return attacks;
}

} // namespace palisade
