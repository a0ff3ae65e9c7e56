#include "engine/attack_lines.h"

#include "engine/attackers.h"
#include "engine/check.h"

namespace palisade {

std::vector<Attack> attacksOn(const Board& squares, int king, Side kingSide, int sidesSwitched)
{
    std::vector<Attack> attacks;
    findAttackers(squares, king, kingSide, sidesSwitched, [&](const Attacker& found) {
        Attack& attack = attacks.emplace_back(Attack{found.square, king, {}});
        for (int i = found.distance; i >= 0; --i) {
            attack.line.push_back(king + i * found.step.delta());
        }
        return false;
    });
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
