#pragma once

#include "computer/search.h"

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace palisade {

// Threads that search the same position beside a searcher, in its table, so
// that what they find there speeds it up. They start at once and search until
// `stopAndJoin`, which destroying them also does.
class SearchHelpers {
public:
    SearchHelpers(int count, TranspositionTable& table, const EvalWeights& weights, const Position& position,
                  const SearchLimits& limits, const std::atomic<int>& leaderDepth);
    ~SearchHelpers();
    SearchHelpers(const SearchHelpers&) = delete;
    SearchHelpers& operator=(const SearchHelpers&) = delete;

    void stopAndJoin();
    // Their nodes: so far while they search, all of them once joined.
    std::int64_t nodes() const;

private:
    Position position_;
    SearchLimits limits_;
    std::atomic<bool> stop_{false};
    std::vector<std::unique_ptr<Searcher>> searchers_;
    std::vector<std::thread> threads_;
};

} // namespace palisade
