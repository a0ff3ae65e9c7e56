#pragma once

#include "gameroom/saved_game.h"

#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace palisade {

// Reads and checks the saved game at `path`.
std::variant<SavedGame, FileError> readSavedGame(const std::string& path);

// Writes the game so that the old file stays whole until the new one is
// complete: a temporary file beside it, flushed to disk, then renamed over it.
std::optional<FileError> writeSavedGame(const std::string& path, const SavedGame& game);

// The bytes of a file no larger than a saved game can be, and any file
// written whole the way a saved game is.
std::variant<std::string, FileError> readFileBytes(const std::string& path);
std::optional<FileError> writeFileWhole(const std::string& path, const std::string& bytes);
// Files that belong together, each (path, bytes): every old one stays whole
// until all the new ones are complete, then they replace them in order.
std::optional<FileError> writeFilesWhole(const std::vector<std::pair<std::string, std::string>>& files);

} // namespace palisade
