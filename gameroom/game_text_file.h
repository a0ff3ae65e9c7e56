#pragma once

#include "gameroom/game_text.h"
#include "gameroom/game_text_replay.h"
#include "gameroom/saved_game.h"

#include <optional>
#include <string>
#include <variant>

namespace palisade {

// A game text read from `path`, and played through to the game it gives.
std::variant<SavedGame, TextError> importGameText(std::string_view text);
std::variant<SavedGame, TextError> importGameTextFile(const std::string& path);

// The text of `game` written to `path`, the old file whole until the new one is.
std::optional<TextError> exportGameTextFile(const std::string& path, const SavedGame& game,
                                            const GameTextHeader& header);

// Today's date as the Date tag writes it, "2026.12.07".
std::string todayForGameText();

} // namespace palisade
