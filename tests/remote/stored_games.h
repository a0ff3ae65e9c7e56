#pragma once

// What the tests of the stored remote games share: a folder of their own and
// games played by clicks.

#include "gameroom/game_file.h"
#include "gameroom/game_room.h"
#include "gameroom/silent_view.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>
#include <string>
#include <utility>
#include <variant>

namespace palisade::remote {

inline constexpr const char* kGameId = "0123456789abcdef";

// A folder of its own for each test, gone afterwards; "games" inside it is
// made by whoever needs it.
struct Folder {
    Folder() { std::filesystem::remove_all(root); }
    ~Folder() { std::filesystem::remove_all(root); }
    std::filesystem::path root = std::filesystem::temp_directory_path()
                                 / ("palisade_remote_store_" + std::to_string(::getpid()) + "_"
                                    + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::path path = root / "games";
};

inline std::string bytesOf(const std::string& path)
{
    const auto bytes = readFileBytes(path);
    return std::holds_alternative<std::string>(bytes) ? std::get<std::string>(bytes) : "(unreadable)";
}

// Plays the first move found, scanning the squares in order.
inline void playSomeMove(GameRoom& room)
{
    const int before = room.movesPlayed();
    for (int pick = 0; pick < kSquareCount && room.movesPlayed() == before; ++pick) {
        room.clickSquare(pick);
        if (!room.pieceSelected()) continue;
        for (int drop = 0; drop < kSquareCount; ++drop) {
            if (!room.isTarget(drop)) continue;
            room.clickSquare(drop);
            break;
        }
        if (room.pieceSelected()) room.clickSquare(pick);
    }
    ASSERT_EQ(room.movesPlayed(), before + 1);
}

// The first move `room` allows, scanning the squares in order: pick and drop.
inline std::pair<int, int> firstMove(const GameRoom& room)
{
    SilentView screen;
    GameRoom scratch(screen);
    scratch.load(room.savedGame(), {});
    for (int pick = 0; pick < kSquareCount; ++pick) {
        scratch.clickSquare(pick);
        if (!scratch.pieceSelected()) continue;
        for (int drop = 0; drop < kSquareCount; ++drop) {
            if (scratch.isTarget(drop)) return {pick, drop};
        }
        scratch.clickSquare(pick);
    }
    return {0, 0};
}

// A game of `moves` half-moves, taken back `back` of them.
inline SavedGame playedGame(int moves, int back = 0)
{
    SilentView screen;
    GameRoom room(screen);
    room.setUp();
    for (int i = 0; i < moves; ++i) playSomeMove(room);
    for (int i = 0; i < back; ++i) room.takeBack();
    return room.savedGame();
}

} // namespace palisade::remote
