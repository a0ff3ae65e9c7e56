#include "gameroom/recovery_file.h"

#include "gameroom/game_file.h"
#include "gameroom/game_room.h"

#include <cstdio>
#include <sys/stat.h>

namespace palisade {

bool RecoveryFile::exists() const
{
    struct stat file {};
    return ::stat(path_.c_str(), &file) == 0;
}

std::variant<SavedGame, FileError> RecoveryFile::read() const { return readSavedGame(path_); }

std::optional<FileError> RecoveryFile::follow(const GameRoom& room)
{
    // Half a two-king trial is kept once the king is chosen.
    if (room.gameSaved() || room.kingChoice()) return std::nullopt;
    if (!sideToMove(room.position().status)) {
        remove();
        return std::nullopt;
    }
    if (room.movesPlayed() == movesWritten_) return std::nullopt;
    movesWritten_ = room.movesPlayed();
    return writeSavedGame(path_, room.savedGame());
}

void RecoveryFile::remove() { std::remove(path_.c_str()); }

} // namespace palisade
