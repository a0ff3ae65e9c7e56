#include "computer/search_helpers.h"

#include <system_error>

namespace palisade {

namespace {

// A helper searches without limits of its own and reports to nobody: the
// searcher it helps decides when all stop.
SearchLimits helperLimits(const SearchLimits& limits)
{
    SearchLimits helper = limits;
    helper.maxNodes = 0;
    helper.maxTime = std::chrono::milliseconds(0);
    helper.multiPv = 1;
    helper.threads = 1;
    helper.onIteration = nullptr;
    return helper;
}

} // namespace

SearchHelpers::SearchHelpers(int count, TranspositionTable& table, const EvalWeights& weights,
                             const Position& position, const SearchLimits& limits,
                             const std::atomic<int>& leaderDepth)
    : position_(position), limits_(helperLimits(limits))
{
    for (int number = 1; number <= count; ++number) {
        searchers_.push_back(std::unique_ptr<Searcher>(new Searcher(table, weights, number, leaderDepth)));
    }
    // A thread the system refuses is a helper fewer; the search goes on without it.
    try {
        for (const auto& searcher : searchers_) {
            threads_.emplace_back([this, helper = searcher.get()] { helper->help(position_, limits_, stop_); });
        }
    } catch (const std::system_error&) {
    }
}

SearchHelpers::~SearchHelpers() { stopAndJoin(); }

void SearchHelpers::stopAndJoin()
{
    stop_.store(true, std::memory_order_relaxed);
    for (std::thread& thread : threads_) {
        if (thread.joinable()) thread.join();
    }
}

std::int64_t SearchHelpers::nodes() const
{
    std::int64_t total = 0;
    for (const auto& searcher : searchers_) total += searcher->nodesSoFar();
    return total;
}

} // namespace palisade
