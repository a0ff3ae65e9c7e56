#include "computer/levels.h"

#include <algorithm>

namespace palisade {

namespace {

using std::chrono::milliseconds;

const std::array<Level, kLevelCount> kLevels = {{
    {"Beginner", 200, milliseconds(500), 300},
    {"Casual", 2'000, milliseconds(1000), 80},
    {"Club", 20'000, milliseconds(2000), 0},
    {"Strong", 150'000, milliseconds(3000), 0},
    {"Master", 1'000'000, milliseconds(5000), 0},
}};

} // namespace

const Level& levelOf(int number) { return kLevels[static_cast<std::size_t>(std::clamp(number, 1, kLevelCount) - 1)]; }

SearchLimits limitsOf(const Level& level, std::uint64_t seed)
{
    SearchLimits limits;
    limits.maxNodes = level.nodes;
    limits.maxTime = level.time;
    limits.noise = level.noise;
    limits.seed = seed;
    return limits;
}

} // namespace palisade
