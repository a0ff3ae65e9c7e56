#include "engine/check.h"
#include "engine/targets.h"

#include <benchmark/benchmark.h>

namespace {

using namespace palisade;

// A middle game: both sides have brought pieces out into the block.
Position middleGame()
{
    Position position = standardPosition();
    auto move = [&position](int from, int to) {
        position.squares[to] = position.squares[from];
        position.squares[from] = kEmpty;
    };
    move(8, 18);
    move(15, 21);
    move(64, 74);
    move(71, 77);
    move(41, 43);
    move(46, 44);
    move(48, 50);
    move(55, 53);
    return position;
}

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
