#pragma once

#include "gameroom/saved_game.h"

#include <optional>
#include <string>
#include <variant>

namespace palisade {

class GameRoom;

// The running game kept safe in a saved-game file of its own: written after
// each move of a game that has not been saved, removed once the game is saved
// or finished. A game left unsaved when the program stopped stays in it.
class RecoveryFile {
public:
    explicit RecoveryFile(std::string path) : path_(std::move(path)) {}

    const std::string& path() const { return path_; }
    bool exists() const;
    std::variant<SavedGame, FileError> read() const;

    // The game room's status changed: write or remove as the game now stands.
    // Tells why when the file could not be written.
    std::optional<FileError> follow(const GameRoom& room);
    void remove();

private:
    std::string path_;
    int movesWritten_ = 0;
};

} // namespace palisade
