#pragma once

#include "shell/sound_kind.h"

#include <optional>

namespace palisade {

class GameRoom;

// Tells from what the game room shows whether a move was just made, and which
// sound it calls for: the game's end, then check, then a castle, then a
// capture (a piece fewer on the board), else a plain move.
class MoveSound {
public:
    // Looks at the room as it stands now; nothing when no move was made since
    // the last look. Every look also notes the pieces on the board, so that
    // taking back, loading or a new game never counts as a capture.
    std::optional<SoundKind> after(const GameRoom& room);

private:
    int movesSeen_ = 0;
    int piecesSeen_ = -1;
};

} // namespace palisade
