#pragma once

#include "gameroom/game_clock.h"

#include <optional>
#include <string>

namespace palisade {

// The clock of a saved game is kept beside it in NAME.brd.clock: the control,
// the time each side had left and whether the clock had begun, one a line.
std::string clockText(const ClockState& state);
// Nothing when the text is not one this program writes or holds times no
// clock of it can show.
std::optional<ClockState> clockOfText(const std::string& text);

// The clock kept beside a game: none, the one of the game file as it is, or a
// file that does not belong to it (kept for other bytes, or not a clock file).
struct KeptClock {
    enum class State { None, Kept, NotThisGame };
    State state = State::None;
    ClockState clock;
};
KeptClock readClock(const std::string& gameFileName);
// Written once the game file is; a game without a clock needs no file: an old
// one is removed so that it cannot outlive the clock.
bool keepClock(const std::string& gameFileName, const ClockState& clock);
void removeClock(const std::string& gameFileName);

} // namespace palisade
