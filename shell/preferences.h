#pragma once

#include "render/board_scene.h"

namespace palisade {

// The player's choices of aids, kept between runs.
struct Preferences {
    BoardOptions board;
    bool keepSelectionOnRefusal = false;
    bool autosave = true;

    friend bool operator==(const Preferences&, const Preferences&) = default;
};

// Read from and written to the program's settings; what was never chosen
// keeps its default.
Preferences loadPreferences();
void savePreferences(const Preferences& preferences);

} // namespace palisade
