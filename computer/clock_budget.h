#pragma once

#include <chrono>

namespace palisade {

// The longest the computer thinks over one move with `remaining` on its clock
// and `increment` added after the move: a thirtieth of what it holds and half
// the increment, so that it keeps time for the moves still to come.
std::chrono::milliseconds thinkingBudget(std::chrono::nanoseconds remaining, std::chrono::nanoseconds increment);

} // namespace palisade
