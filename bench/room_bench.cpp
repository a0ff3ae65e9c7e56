// What a player waits for in the game room itself, through the real controller.

#include "bench_positions.h"
#include "engine/check.h"
#include "engine/game_end.h"
#include "engine/targets.h"
#include "gameroom/game_room.h"
#include "gameroom/silent_view.h"

#include <benchmark/benchmark.h>

namespace {

using namespace palisade;

// White's queen of the middle game, with a dozen targets.
constexpr int kQueen = 50;

// Picking a queen in a busy middle game: every target marked. The second
// click puts it down again, so each pair is an upper bound on one pick.
void BM_SelectClick(benchmark::State& state)
{
    SilentView view(true, true);
    GameRoom room(view);
    room.setUp(middleGame());
    for (auto _ : state) {
        room.clickSquare(kQueen);
        benchmark::DoNotOptimize(room.mark(kQueen + 1));
        room.clickSquare(kQueen);
    }
}

// The verdict after a move: is the side to move in check, can it move at all.
void BM_EndOfGameTest(benchmark::State& state)
{
    const Position position = middleGame();
    for (auto _ : state) {
        benchmark::DoNotOptimize(sideInCheck(position));
        benchmark::DoNotOptimize(hasLegalMove(position));
    }
}

// A whole move as a player makes it: pick, drop (with the verdict), take back.
void BM_MoveAndTakeBack(benchmark::State& state)
{
    SilentView view(true, true);
    GameRoom room(view);
    room.setUp(middleGame());
    const int drop = generateTargets(room.position(), kQueen).front().square;
    for (auto _ : state) {
        room.clickSquare(kQueen);
        room.clickSquare(drop);
        room.takeBack();
    }
}

} // namespace

BENCHMARK(BM_SelectClick);
BENCHMARK(BM_EndOfGameTest);
BENCHMARK(BM_MoveAndTakeBack);
