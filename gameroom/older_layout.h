#pragma once

#include "gameroom/saved_game.h"

#include <string_view>
#include <variant>

namespace palisade {

// Reads a game saved by earlier versions as plain text values separated by
// commas or line ends, strings in double quotes, in the order the binary
// layout keeps its fields; the status texts are written out.
std::variant<SavedGame, FileError> readOlderLayout(std::string_view text);

} // namespace palisade
