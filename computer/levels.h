#pragma once

#include "computer/search.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <string_view>

namespace palisade {

// How strongly the computer plays: how much it may search for a move, and how
// much it misjudges. Node budgets make a level play alike on any machine; the
// time is a ceiling for slow machines.
struct Level {
    std::string_view name;
    std::int64_t nodes;
    std::chrono::milliseconds time;
    int noise;
};

inline constexpr int kLevelCount = 5;
inline constexpr int kDefaultLevel = 3;

// Levels 1 (weakest) to kLevelCount.
const Level& levelOf(int number);

SearchLimits limitsOf(const Level& level, std::uint64_t seed);

} // namespace palisade
