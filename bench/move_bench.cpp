// Perft of the fast generator and of the rules engine side by side.

#include "bench_positions.h"
#include "engine/perft.h"
#include "engine/reference_moves.h"

#include <benchmark/benchmark.h>

namespace {

using namespace palisade;

void countLeaves(benchmark::State& state, std::uint64_t nodes)
{
    state.counters["nodes"] = static_cast<double>(nodes);
    state.counters["nps"] = benchmark::Counter(static_cast<double>(nodes) * static_cast<double>(state.iterations()),
                                               benchmark::Counter::kIsRate);
}

void BM_PerftFast(benchmark::State& state)
{
    MoveBoard board(standardPosition());
    std::uint64_t nodes = 0;
    for (auto _ : state) nodes = perft(board, static_cast<int>(state.range(0)));
    countLeaves(state, nodes);
}

void BM_PerftReference(benchmark::State& state)
{
    const Position start = standardPosition();
    std::uint64_t nodes = 0;
    for (auto _ : state) nodes = referencePerft(start, static_cast<int>(state.range(0)));
    countLeaves(state, nodes);
}

void BM_PerftFastMiddleGame(benchmark::State& state)
{
    MoveBoard board(middleGame());
    std::uint64_t nodes = 0;
    for (auto _ : state) nodes = perft(board, static_cast<int>(state.range(0)));
    countLeaves(state, nodes);
}

} // namespace

BENCHMARK(BM_PerftFast)->Arg(3)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PerftReference)->Arg(3)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PerftFastMiddleGame)->Arg(3)->Unit(benchmark::kMillisecond);
