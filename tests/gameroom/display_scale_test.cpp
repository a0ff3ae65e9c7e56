#include "gameroom/display_scale.h"

#include <gtest/gtest.h>

#include <limits>

namespace palisade {
namespace {

constexpr double kSmall = 0.78125; // 800 / 1024 and 600 / 768

void expectFullSize(const DisplayScale& s)
{
    EXPECT_DOUBLE_EQ(s.screenRatioX, 1.0);
    EXPECT_DOUBLE_EQ(s.screenRatioY, 1.0);
    EXPECT_DOUBLE_EQ(s.scaleX, 1.0);
    EXPECT_DOUBLE_EQ(s.scaleY, 1.0);
}

TEST(DisplayScaleTest, WideScreenDrawsFullSizeWhateverItsHeight)
{
    expectFullSize(computeDisplayScale(1024, 768));

    // Only the width decides; the height ratio is flattened to 1 on a wide
    // screen, lower or taller than 768.
    for (double height : {600.0, 700.0, 768.0, 1024.0, 1600.0}) {
        SCOPED_TRACE(height);
        const DisplayScale s = computeDisplayScale(1280, height);
        EXPECT_DOUBLE_EQ(s.screenRatioX, 1.25);
        EXPECT_DOUBLE_EQ(s.screenRatioY, 1.0);
        EXPECT_DOUBLE_EQ(s.scaleX, 1.0);
        EXPECT_DOUBLE_EQ(s.scaleY, 1.0);
    }
}

TEST(DisplayScaleTest, NarrowScreenKeepsItsRealHeightRatio)
{
    const DisplayScale small = computeDisplayScale(800, 600);
    EXPECT_DOUBLE_EQ(small.screenRatioX, kSmall);
    EXPECT_DOUBLE_EQ(small.screenRatioY, kSmall);
    EXPECT_DOUBLE_EQ(small.scaleX, kSmall);
    EXPECT_DOUBLE_EQ(small.scaleY, kSmall);

    // One pixel short of 1024 is already narrow; the height ratio is kept.
    const DisplayScale edge = computeDisplayScale(1023, 768);
    EXPECT_DOUBLE_EQ(edge.scaleX, kSmall);
    EXPECT_DOUBLE_EQ(edge.screenRatioX, 1023.0 / 1024.0);

    // Narrow but tall: the drawing scale still shrinks, the height ratio
    // stays above 1.
    const DisplayScale tall = computeDisplayScale(640, 1024);
    EXPECT_DOUBLE_EQ(tall.screenRatioX, 0.625);
    EXPECT_DOUBLE_EQ(tall.screenRatioY, 1024.0 / 768.0);
    EXPECT_DOUBLE_EQ(tall.scaleX, kSmall);
    EXPECT_DOUBLE_EQ(tall.scaleY, kSmall);
}

TEST(DisplayScaleTest, NonsenseSizesFallBackToFullSize)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double sizes[][2] = {
        {0, 0}, {0, 600}, {800, 0}, {-800, 600}, {800, -600}, {nan, 600}, {800, nan}, {nan, nan},
    };
    for (const auto& size : sizes) {
        SCOPED_TRACE(testing::Message() << size[0] << " x " << size[1]);
        expectFullSize(computeDisplayScale(size[0], size[1]));
    }
}

} // namespace
} // namespace palisade
