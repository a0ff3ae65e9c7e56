#include "computer/background_search.h"

namespace palisade {

BackgroundSearch::BackgroundSearch(std::size_t tableMegabytes)
    : searcher_(std::make_unique<Searcher>(tableMegabytes))
{
}

BackgroundSearch::~BackgroundSearch() { finish(); }

void BackgroundSearch::start(const Position& position, SearchLimits limits, Done done)
{
    finish();
    stop_.store(false);
    thread_ = std::thread([this, position, limits = std::move(limits), done = std::move(done)] {
        const SearchReport report = searcher_->search(position, limits, stop_);
        done(report);
    });
}

void BackgroundSearch::finish()
{
    stop();
    if (thread_.joinable()) thread_.join();
}

} // namespace palisade
