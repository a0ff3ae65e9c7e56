#include "computer/evaluation.h"
#include "computer/levels.h"
#include "computer/sample_positions.h"
#include "computer/search.h"

#include <benchmark/benchmark.h>

namespace {

using namespace palisade;

const std::atomic<bool> kNoStop{false};

// One second of search: nodes per second (of all threads) and the depth it finished.
void searchOneSecond(benchmark::State& state, const Position& position, int threads)
{
    SearchReport report;
    for (auto _ : state) {
        Searcher searcher(64);
        SearchLimits limits;
        limits.maxTime = std::chrono::milliseconds(1000);
        limits.threads = threads;
        report = searcher.search(position, limits, kNoStop);
    }
    state.counters["depth"] = report.depth;
    state.counters["nodes_per_second"] = benchmark::Counter(
        static_cast<double>(report.nodes) / std::max<double>(0.001, report.elapsed.count() / 1000.0));
}
BENCHMARK_CAPTURE(searchOneSecond, start, standardPosition(), 1)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(searchOneSecond, middle_game, middleGamePosition(), 1)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(searchOneSecond, start_2_threads, standardPosition(), 2)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(searchOneSecond, middle_game_2_threads, middleGamePosition(), 2)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// What a player waits for a hint, which searches as the default level plays.
void hintAtDefaultLevel(benchmark::State& state, const Position& position)
{
    for (auto _ : state) {
        Searcher searcher(64);
        benchmark::DoNotOptimize(searcher.search(position, limitsOf(levelOf(kDefaultLevel), 1), kNoStop));
    }
}
BENCHMARK_CAPTURE(hintAtDefaultLevel, start, standardPosition())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(hintAtDefaultLevel, middle_game, middleGamePosition())->Unit(benchmark::kMillisecond);

void evaluation(benchmark::State& state)
{
    const MoveBoard board(middleGamePosition());
    for (auto _ : state) benchmark::DoNotOptimize(evaluate(board));
}
BENCHMARK(evaluation);

} // namespace

BENCHMARK_MAIN();
