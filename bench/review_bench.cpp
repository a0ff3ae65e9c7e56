#include "computer/game_review.h"
#include "computer/sample_positions.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

using namespace palisade;

const std::atomic<bool> kNoStop{false};

// What a player waits for "Review Game", position by position, at the
// program's budget and at others: ten positions of a middle-game line, from
// the opening on.
void reviewPositions(benchmark::State& state)
{
    const std::vector<Position> positions = benchPositions();
    const std::int64_t nodes = state.range(0);
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(reviewGame(positions, nodes, kNoStop));
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["ms_per_position"] = 1000.0 * seconds / static_cast<double>(positions.size());
}
BENCHMARK(reviewPositions)
    ->Arg(kReviewNodes / 10)
    ->Arg(kReviewNodes)
    ->Arg(kReviewNodes * 3)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
