// Any bytes, line by line, given to the message reader and to a session that
// plays Black from the start: a line is refused with a reason, or it is a
// message that writes back to the very same line. The session takes every
// line as it came, and again fitted to its game (its id, the next sequence,
// the true position hash), and answers each move of White's with a move of
// its own; the room must hold a game the saved-game reader accepts throughout.

#include "engine/orientation.h"
#include "gameroom/game_room.h"
#include "gameroom/saved_game.h"
#include "gameroom/silent_view.h"
#include "remote/position_hash.h"
#include "remote/remote_answers.h"
#include "remote/remote_game.h"
#include "remote/wire_message.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using namespace palisade;
using namespace palisade::remote;

constexpr std::string_view kGameId = "00000000000000a1";

struct Quiet : RemoteListener {
    void send(const std::string&) override {}
    void refused(std::string_view reason) override
    {
        if (reason.empty()) std::abort();
    }
};

struct Black {
    SilentView screen;
    RemoteAnswers answers{screen};
    GameRoom room{answers};
    Quiet listener;
    RemoteGame game{room, answers, listener, GameSetup{std::string(kGameId), Side::Black, "white"}};

    Black() { game.acceptInvite(1); }

    // The first move the rules give any piece of Black's.
    void reply()
    {
        if (!game.localTurn()) return;
        for (int pick = 0; pick < kSquareCount; ++pick) {
            const RemoteGame::LocalInput input(game);
            room.clickSquare(pick);
            if (!room.pieceSelected()) continue;
            for (int drop = 0; drop < kSquareCount; ++drop) {
                if (!room.isTarget(drop)) continue;
                room.clickSquare(drop);
                return;
            }
            room.clickSquare(room.selectedSquare());
        }
    }

    // The position White's move would lead to, found on a copy of the game.
    std::uint64_t hashAfter(const MoveMessage& move) const
    {
        SilentView view;
        GameRoom copy(view);
        copy.loadRecovered(room.savedGame());
        const auto seen = [&](int square) { return copy.position().sidesSwitched ? turnedSquare(square) : square; };
        copy.clickSquare(seen(move.pick));
        copy.clickSquare(seen(move.drop));
        return roomHash(copy);
    }

    void take(const std::string& text)
    {
        game.received(text);
        game.acceptResync();
        if (encodeSavedGame(room.savedGame()).empty()) std::abort();
        const auto reread = decodeSavedGame(encodeSavedGame(room.savedGame()));
        if (!std::holds_alternative<SavedGame>(reread)) std::abort();
        reply();
    }
};

void checkRoundTrip(std::string_view line, const WireMessage& message)
{
    const std::string written = encode(message);
    if (written != line) std::abort();
    const auto again = decode(written);
    if (!std::holds_alternative<WireMessage>(again) || !(std::get<WireMessage>(again) == message)) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Black black;
    std::size_t start = 0;
    while (start <= bytes.size()) {
        const auto end = std::min(bytes.find('\n', start), bytes.size());
        const std::string_view line = bytes.substr(start, end - start);
        start = end + 1;
        const auto decoded = decode(line);
        if (const auto* error = std::get_if<DecodeError>(&decoded)) {
            if (error->reason.empty()) std::abort();
            black.take(std::string(line));
            continue;
        }
        WireMessage message = std::get<WireMessage>(decoded);
        checkRoundTrip(line, message);
        black.take(std::string(line));
        message.gameId = kGameId;
        if (!std::holds_alternative<Acknowledge>(message.body)) message.sequence = black.game.state().lastReceived + 1;
        if (auto* move = std::get_if<MoveMessage>(&message.body)) {
            move->halfMove = black.game.state().agreedHalfMove;
            move->hash = black.hashAfter(*move);
        }
        black.take(encode(message));
    }
    return 0;
}
