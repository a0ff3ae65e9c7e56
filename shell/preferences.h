#pragma once

#include "render/board_scene.h"
#include "shell/search_threads_setting.h"

#include <chrono>

namespace palisade {

// The player's choices of aids, kept between runs.
struct Preferences {
    BoardOptions board;
    bool keepSelectionOnRefusal = false;
    bool autosave = true;
    // How long the computer waits before each move while it plays both sides,
    // so that a person can follow the game.
    std::chrono::milliseconds computerPause{1000};
    // Threads the computer searches with for its moves and hints: 1 .. the cores.
    int searchThreads = defaultSearchThreads();

    friend bool operator==(const Preferences&, const Preferences&) = default;
};

// The longest pause the preferences offer.
inline constexpr int kMaxComputerPauseMs = 10000;

// Read from and written to the program's settings; what was never chosen
// keeps its default.
Preferences loadPreferences();
void savePreferences(const Preferences& preferences);

} // namespace palisade
