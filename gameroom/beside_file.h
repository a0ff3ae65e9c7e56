#pragma once

#include "gameroom/saved_game.h"

#include <optional>
#include <string>
#include <string_view>

namespace palisade {

// What the program keeps about a saved game that the game file has no room
// for (who plays each side, ...) lives in a small file beside it,
// NAME.brd.KIND. Its first line is the SHA-256 of the game file's bytes it
// belongs to: once the game file changes without it, it no longer counts.
std::string besideFileName(const std::string& gameFile, std::string_view kind);

struct BesideFile {
    enum class State {
        Missing,   // no such file: nothing was kept
        Belongs,   // kept for the game file as it is now
        Stale,     // kept for other bytes of the game file, or none
        Unreadable // not a file this program wrote
    };
    State state = State::Missing;
    std::string content;
};

BesideFile readBeside(const std::string& gameFile, std::string_view kind);

// Writes `content` tied to the game file's present bytes, whole or not at all;
// the game file is written first.
std::optional<FileError> writeBeside(const std::string& gameFile, std::string_view kind,
                                     const std::string& content);

// The bytes of a beside file holding `content` for a game file of `gameBytes`,
// for writing it together with the game file (writeFilesWhole).
std::string besideBytes(std::string_view gameBytes, const std::string& content);

void removeBeside(const std::string& gameFile, std::string_view kind);

} // namespace palisade
