#include "bench_positions.h"
#include "engine/check.h"
#include "engine/targets.h"

#include <benchmark/benchmark.h>

namespace {

using namespace palisade;

// What a click costs: the targets of every piece of the side to move.
void targetsOfEveryPiece(benchmark::State& state, const Position& position)
{
    for (auto _ : state) {
        std::size_t count = 0;
        for (int square = 0; square < kSquareCount; ++square) {
            if (isWhite(position.squares[square])) count += generateTargets(position, square).size();
        }
        benchmark::DoNotOptimize(count);
    }
}

void BM_TargetsAtStart(benchmark::State& state) { targetsOfEveryPiece(state, standardPosition()); }
void BM_TargetsInMiddleGame(benchmark::State& state) { targetsOfEveryPiece(state, middleGame()); }

void BM_Checklegal(benchmark::State& state)
{
    const Position position = middleGame();
    for (auto _ : state) benchmark::DoNotOptimize(checklegal(position, 58, 48));
}

void BM_KingAttacked(benchmark::State& state)
{
    const Position position = middleGame();
    for (auto _ : state) benchmark::DoNotOptimize(kingAttacked(position.squares, 40, Side::White, 0));
}

} // namespace

BENCHMARK(BM_TargetsAtStart);
BENCHMARK(BM_TargetsInMiddleGame);
BENCHMARK(BM_Checklegal);
BENCHMARK(BM_KingAttacked);
