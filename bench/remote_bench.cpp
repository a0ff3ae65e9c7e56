// What the remote game adds to a move: reading its message, and the session
// trying it on a copy of the game before playing it in the room.

#include "gameroom/game_room.h"
#include "gameroom/silent_view.h"
#include "remote/position_hash.h"
#include "remote/remote_answers.h"
#include "remote/remote_game.h"
#include "remote/wire_message.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using namespace palisade;
using namespace palisade::remote;

constexpr std::string_view kId = "00000000000000b1";

struct Quiet : RemoteListener {
    void send(const std::string&) override {}
};

// Black's side of a game `halfMoves` long (at most 60: pawns stepping up
// two squares each, all but White's on 25), White to move.
struct Receiver {
    SilentView screen;
    RemoteAnswers answers{screen};
    GameRoom room{answers};
    Quiet listener;
    std::unique_ptr<RemoteGame> game;

    explicit Receiver(int halfMoves)
    {
        std::vector<std::pair<int, int>> white, black;
        for (int step = 0; step < 2; ++step) {
            for (int line = 0; line < 16; ++line) {
                if (8 * line + 1 != 25) white.push_back({8 * line + 1 + step, 8 * line + 2 + step});
                black.push_back({8 * line + 6 - step, 8 * line + 5 - step});
            }
        }
        for (int k = 0; k < halfMoves; ++k) {
            const auto [from, to] = k % 2 == 0 ? white[static_cast<std::size_t>(k / 2)] : black[static_cast<std::size_t>(k / 2)];
            room.clickSquare(from);
            room.clickSquare(to);
        }
        if (room.halfMoves() != halfMoves) std::abort();
        SessionState state;
        state.lastReceived = 1;
        state.agreedHalfMove = room.halfMoves();
        game = std::make_unique<RemoteGame>(room, answers, listener, GameSetup{std::string(kId), Side::Black, "w"},
                                            state);
    }
};

std::string pawnMove(const Receiver& receiver)
{
    SilentView view;
    GameRoom copy(view);
    copy.loadRecovered(receiver.room.savedGame());
    copy.clickSquare(25);
    copy.clickSquare(27);
    return encode({std::string(kId), 2, MoveMessage{receiver.room.halfMoves(), 25, 27, MoveAnswer::None, roomHash(copy)}});
}

void BM_DecodeMove(benchmark::State& state)
{
    const std::string text = encode({std::string(kId), 7, MoveMessage{12, 33, 41, MoveAnswer::Queen, 0x5f3a09c2d4e1b687}});
    for (auto _ : state) benchmark::DoNotOptimize(decode(text));
    state.counters["bytes"] = static_cast<double>(text.size());
}

// From the message's arrival to the move shown in the room, at a game's depth.
void BM_ReceiveMove(benchmark::State& state)
{
    const int halfMoves = static_cast<int>(state.range(0));
    const std::string text = pawnMove(Receiver(halfMoves));
    for (auto _ : state) {
        state.PauseTiming();
        Receiver receiver(halfMoves);
        state.ResumeTiming();
        receiver.game->received(text);
        if (receiver.room.halfMoves() != halfMoves + 1) state.SkipWithError("the move was refused");
    }
}

} // namespace

BENCHMARK(BM_DecodeMove);
BENCHMARK(BM_ReceiveMove)->Arg(0)->Arg(20)->Arg(60);
