#include "engine/game_end.h"

#include "engine/targets.h"

namespace palisade {

bool hasLegalMove(const Position& position)
{
    const auto side = sideToMove(position.status);
    if (!side) return false;
    for (int square = 0; square < kSquareCount; ++square) {
        if (belongsTo(position.squares[square], *side) && !ordinaryTargets(position, square).empty()) return true;
    }
    return false;
}

} // namespace palisade
