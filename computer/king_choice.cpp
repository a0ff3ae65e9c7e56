#include "computer/king_choice.h"

#include "computer/search.h"

namespace palisade {

namespace {

// A short look at each king's best move.
constexpr std::int64_t kChoiceNodes = 3000;

int keptKingScore(const Position& position, int king, const std::atomic<bool>& stop)
{
    Searcher searcher(1);
    SearchLimits limits;
    limits.maxNodes = kChoiceNodes;
    limits.onlyFrom = king;
    const SearchReport report = searcher.search(position, limits, stop);
    return report.best ? report.score : -kMateScore;
}

} // namespace

int kingToKeep(const Position& offered, const KingChoice& choice, const std::atomic<bool>& stop)
{
    Position keepOffered = offered;
    keepOffered.kingsStanding = 1;
    Position keepOther = keepOffered;
    keepOther.squares[choice.other] = keepOther.squares[choice.offered];
    keepOther.squares[choice.offered] = kEmpty;
    const bool offeredBetter =
        keptKingScore(keepOffered, choice.offered, stop) >= keptKingScore(keepOther, choice.other, stop);
    return offeredBetter ? choice.offered : choice.other;
}

} // namespace palisade
