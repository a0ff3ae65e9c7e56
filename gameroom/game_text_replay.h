#pragma once

#include "gameroom/game_text.h"
#include "gameroom/saved_game.h"

#include <string>
#include <variant>

namespace palisade {

// Who played and when, for the header of a game text.
struct GameTextHeader {
    std::string date = "?";
    std::string white = "?";
    std::string black = "?";
};

// Plays the moves of a game text from its first position through a fresh
// game room, the questions answered from the text, and gives the game as it
// would be saved. A move that cannot be played stops the replay with its
// number and its text; nothing outside the fresh room is touched.
std::variant<SavedGame, TextError> replayGameText(const GameText& text);

// The game text of a saved game: its line of play read off the recorded
// positions, each move found among the legal ones and played again in a
// fresh room, so that the text replays to the same game.
std::variant<GameText, TextError> gameTextOf(const SavedGame& game, const GameTextHeader& header);

} // namespace palisade
