#include "computer/clock_budget.h"

#include <gtest/gtest.h>

namespace palisade {
namespace {

using namespace std::chrono_literals;

TEST(ThinkingBudget, AThirtiethOfTheTimeLeftAndHalfTheIncrementNeverAllOfIt)
{
    EXPECT_EQ(thinkingBudget(300s, 3s), 11500ms);
    EXPECT_EQ(thinkingBudget(60s, 0s), 2s);
    EXPECT_EQ(thinkingBudget(1s, 3s), 500ms) << "no more than half of what is left";
    EXPECT_EQ(thinkingBudget(300ms, 0s), 20ms) << "a glance even when short of time";
    EXPECT_EQ(thinkingBudget(10ms, 0s), 5ms);
    EXPECT_EQ(thinkingBudget(0s, 0s), 1ms);
}

} // namespace
} // namespace palisade
