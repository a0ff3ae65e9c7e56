#include "computer/sample_positions.h"

#include "computer/search.h"
#include "engine/apply.h"

namespace palisade {

Position middleGamePosition()
{
    constexpr int kHalfMoves = 40;
    Position position = standardPosition();
    Searcher searcher(4);
    SearchLimits limits;
    limits.maxNodes = 2000;
    const std::atomic<bool> never{false};
    for (int k = 0; k < kHalfMoves; ++k) {
        const auto best = searcher.search(position, limits, never).best;
        if (!best) break;
        apply(position, *best);
    }
    return position;
}

} // namespace palisade
