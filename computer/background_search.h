#pragma once

#include "computer/search.h"

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace palisade {

// Runs one search, or one other look ahead, at a time on a thread of its own.
// `done` is called on that thread when the search ends, by its limits or by
// `stop`; whoever receives it must hand it over to its own thread. Destroying
// the object stops and joins the thread.
class BackgroundSearch {
public:
    using Done = std::function<void(const SearchReport&)>;

    explicit BackgroundSearch(std::size_t tableMegabytes = 32);
    ~BackgroundSearch();
    BackgroundSearch(const BackgroundSearch&) = delete;
    BackgroundSearch& operator=(const BackgroundSearch&) = delete;

    // Ends any search still running (its `done` is still called) and starts this one.
    void start(const Position& position, SearchLimits limits, Done done);
    // The same for any work that watches the stop flag.
    using Job = std::function<void(const std::atomic<bool>& stop)>;
    void run(Job job);
    // Asks the search to end soon with its best move so far.
    void stop() { stop_.store(true); }
    // Stops and waits until the thread has finished.
    void finish();

    // Nodes searched so far by the running search.
    std::int64_t nodes() const { return searcher_->nodesSoFar(); }

private:
    std::unique_ptr<Searcher> searcher_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace palisade
