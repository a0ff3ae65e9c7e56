#include "computer/sample_positions.h"

#include "computer/search.h"
#include "engine/apply.h"

namespace palisade {

namespace {

// The start position and the positions after each half-move of the fixed line.
std::vector<Position> sampleLine(int halfMoves)
{
    std::vector<Position> line{standardPosition()};
    Searcher searcher(4);
    SearchLimits limits;
    limits.maxNodes = 2000;
    const std::atomic<bool> never{false};
    for (int k = 0; k < halfMoves; ++k) {
        Position next = line.back();
        const auto best = searcher.search(next, limits, never).best;
        if (!best) break;
        apply(next, *best);
        line.push_back(next);
    }
    return line;
}

} // namespace

Position middleGamePosition() { return sampleLine(40).back(); }

std::vector<Position> benchPositions()
{
    const std::vector<Position> line = sampleLine(36);
    std::vector<Position> positions;
    for (std::size_t k = 0; k < line.size(); k += 4) positions.push_back(line[k]);
    return positions;
}

} // namespace palisade
