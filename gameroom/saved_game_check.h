#pragma once

#include "gameroom/saved_game.h"

#include <optional>

namespace palisade {

// Refuses a game no play could have produced: piece codes above 12, squares
// off the block, flags other than 0 or 1, a pawn on the first or last colmn
// or a third king of one side in the position, a history longer than the
// record or a current move beyond it.
std::optional<FileError> checkSavedGame(const SavedGame& game);

} // namespace palisade
