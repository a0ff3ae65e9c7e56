#include "computer/background_search.h"

namespace palisade {

BackgroundSearch::BackgroundSearch(std::size_t tableMegabytes)
    : searcher_(std::make_unique<Searcher>(tableMegabytes))
{
}

BackgroundSearch::~BackgroundSearch() { finish(); }

void BackgroundSearch::start(const Position& position, SearchLimits limits, Done done)
{
    run([this, position, limits = std::move(limits), done = std::move(done)](const std::atomic<bool>& stop) {
        done(searcher_->search(position, limits, stop));
    });
}

void BackgroundSearch::run(Job job)
{
    finish();
    stop_.store(false);
    thread_ = std::thread([this, job = std::move(job)] { job(stop_); });
}

void BackgroundSearch::finish()
{
    stop();
    if (thread_.joinable()) thread_.join();
}

} // namespace palisade
