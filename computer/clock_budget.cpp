#include "computer/clock_budget.h"

#include <algorithm>

namespace palisade {

namespace {

// Share of the time left that one move may use.
constexpr int kMovesStillToCome = 30;
// Even short of time a move gets a glance.
constexpr std::chrono::milliseconds kShortestThought{20};

} // namespace

std::chrono::milliseconds thinkingBudget(std::chrono::nanoseconds remaining, std::chrono::nanoseconds increment)
{
    const auto budget = remaining / kMovesStillToCome + increment / 2;
    // Never longer than the time left itself.
    const auto ceiling = std::max(std::chrono::duration_cast<std::chrono::milliseconds>(remaining) / 2,
                                  std::chrono::milliseconds(1));
    return std::min(std::max(std::chrono::duration_cast<std::chrono::milliseconds>(budget), kShortestThought),
                    ceiling);
}

} // namespace palisade
