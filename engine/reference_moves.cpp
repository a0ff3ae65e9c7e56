#include "engine/reference_moves.h"

#include "engine/apply.h"
#include "engine/remember.h"
#include "engine/targets.h"

#include <algorithm>

namespace palisade {

namespace {

void addTarget(const Position& position, int pick, const Target& target, std::vector<Move>& out)
{
    const auto pickByte = static_cast<std::uint8_t>(pick);
    const auto drop = static_cast<std::uint8_t>(target.square);
    if (target.mark != kQueensideCastleMark && promotes(position, target.square, pick)) {
        for (MoveExtra extra : {MoveExtra::Queen, MoveExtra::Knight, MoveExtra::Rook, MoveExtra::Bishop}) {
            out.push_back({pickByte, drop, extra});
        }
        return;
    }
    if (target.mark != kQueensideCastleMark) out.push_back({pickByte, drop, MoveExtra::Plain});
    if (target.mark != kTargetMark) out.push_back({pickByte, drop, MoveExtra::Castle});
}

std::vector<Move> unsortedMoves(const Position& position)
{
    std::vector<Move> moves;
    const auto side = sideToMove(position.status);
    if (!side) return moves;
    for (int pick = 0; pick < kSquareCount; ++pick) {
        if (!belongsTo(position.squares[pick], *side)) continue;
        const TargetList targets = generateTargets(position, pick);
        for (auto target = targets.begin(); target != targets.end(); ++target) {
            // A later mark on the same square replaces an earlier one.
            const auto later = std::find_if(target + 1, targets.end(),
                                            [&](const Target& t) { return t.square == target->square; });
            if (later == targets.end()) addTarget(position, pick, *target, moves);
        }
    }
    return moves;
}

} // namespace

std::vector<Move> referenceMoves(const Position& position)
{
    std::vector<Move> moves = unsortedMoves(position);
    std::sort(moves.begin(), moves.end());
    return moves;
}

std::uint64_t referencePerft(const Position& position, int depth)
{
    if (depth <= 0) return 1;
    const std::vector<Move> moves = unsortedMoves(position);
    if (depth == 1) return moves.size();
    std::uint64_t nodes = 0;
    for (const Move& move : moves) {
        Position next = position;
        apply(next, move);
        nodes += referencePerft(next, depth - 1);
    }
    return nodes;
}

} // namespace palisade
