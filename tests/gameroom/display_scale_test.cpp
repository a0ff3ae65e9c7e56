#include "gameroom/display_scale.h"

#include <gtest/gtest.h>

#include <limits>

namespace palisade {
namespace {

constexpr double kSmall = 0.78125; // 800 / 1024 and 600 / 768

struct ScaleCase {
    double width, height;
    double ratioX, ratioY, scale;
};

TEST(DisplayScale, OnlyTheWidthChoosesTheSmallBoard)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const ScaleCase cases[] = {
        {1024, 768, 1, 1, 1},
        {1280, 600, 1.25, 1, 1},   // a wide screen's height ratio is flattened
        {1280, 1600, 1.25, 1, 1},
        {800, 600, kSmall, kSmall, kSmall},
        {1023, 768, 1023.0 / 1024, 1, kSmall},
        {640, 1024, 0.625, 1024.0 / 768, kSmall}, // narrow but tall keeps its ratio
        {0, 600, 1, 1, 1},         // a screen reporting nonsense gets the full board
        {-800, 600, 1, 1, 1},
        {800, nan, 1, 1, 1},
    };
    for (const ScaleCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        const DisplayScale s = computeDisplayScale(c.width, c.height);
        EXPECT_DOUBLE_EQ(s.screenRatioX, c.ratioX);
        EXPECT_DOUBLE_EQ(s.screenRatioY, c.ratioY);
        EXPECT_DOUBLE_EQ(s.scaleX, c.scale);
        EXPECT_DOUBLE_EQ(s.scaleY, c.scale);
    }
}

} // namespace
} // namespace palisade
