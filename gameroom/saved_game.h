#pragma once

#include "engine/position.h"
#include "gameroom/move_history.h"

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace palisade {

// Everything a .brd file holds: the position and the game flags, the
// selection, and the history entries 0..lastHalfMove.
struct SavedGame {
    Position position;
    int selectionLocked = 0;
    int pieceSelected = 0;
    int selectedSquare = 0;
    int lastHalfMove = 0;
    int halfMoves = 0;
    bool forwardVisible = false;
    std::vector<HistoryEntry> entries;

    friend bool operator==(const SavedGame&, const SavedGame&) = default;
};

// Why a file was refused, in words for the player.
struct FileError {
    std::string reason;
};

// The file's bytes: a 2-byte tag 8, a 2-byte length, then the text.
std::string encodeSavedGame(const SavedGame& game);

// Reads the binary layout, or the older plain-text one, and checks every
// field; a file no game could have written is refused with the reason.
std::variant<SavedGame, FileError> decodeSavedGame(std::string_view bytes);

} // namespace palisade
