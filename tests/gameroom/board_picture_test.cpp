#include "gameroom/cell_layout.h"
#include "gameroom/display_scale.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <vector>

namespace palisade {
namespace {

using Hits = std::vector<int>;

// The cell's top-left at 15 twips per pixel, in whole pixels of the drawing
// grid: 30 px in, 60 px a colmn, 30 px right and down a rw, 170 px down a
// half-board, 10 px down to sit over the piece.
std::array<double, 2> expectedCorner(int square)
{
    const Coords c = coordsOf(square);
    return {15.0 * (30 + 60 * c.colmn + 30 * c.rw), 15.0 * (30 * c.rw + 170 * c.boards + 10)};
}

// Every cell where the grid puts it, with its edges; a sweep over the whole
// picture finds at each point at most one cell, the expected one.
TEST(CellLayout, CellsSitOnTheDrawingGrid)
{
    const CellLayout layout;
    for (double x = -15; x <= 9000; x += 15) {
        for (double y = -13; y <= 10400; y += 13) {
            const Hits hits = layout.cellsAt(x, y);
            ASSERT_LE(hits.size(), 1u) << x << ", " << y;
            if (hits.empty()) continue;
            const auto [left, top] = expectedCorner(hits.front());
            ASSERT_TRUE(x >= left && x <= left + 372 && y >= top && y <= top + 897) << x << ", " << y;
        }
    }
    for (int i = 0; i < kSquareCount; ++i) {
        const CellRect& c = layout.cell(i);
        const auto [left, top] = expectedCorner(i);
        EXPECT_EQ((std::array{c.left, c.top, c.width, c.height}), (std::array{left, top, 372.0, 897.0})) << i;
        EXPECT_EQ(layout.cellsAt(c.left, c.top), Hits{i});
        EXPECT_EQ(layout.cellsAt(c.left + c.width, c.top + c.height), Hits{i});
        EXPECT_TRUE(layout.cellsAt(c.left - 0.5, c.top + 10).empty());
        EXPECT_TRUE(layout.cellsAt(c.left + c.width + 0.5, c.top + 10).empty());
    }
    // Across follows the x twips and down the y twips; the 30 px origin is held
    // in whole twips, ties to even.
    const CellRect mixed = CellLayout(12.75, 12.0).cell(indexOf(2, 1, 3));
    EXPECT_EQ((std::array{mixed.left, mixed.top, mixed.height}),
              (std::array{382.0 + 12.75 * (180 + 30), 12.0 * (30 + 340 + 10), 372.0 + 35 * 12.0}));

    // At 12 twips a pixel cells overlap, and a point in both hits the lower
    // square first: square 2 spans x 1800..2172 and square 10 starts at 2160;
    // (colmn + 1, rw) and (colmn, rw + 2) overlap in height.
    const CellLayout narrow(12.0, 12.0);
    EXPECT_EQ(narrow.cellsAt(2166, 600), (Hits{2, 10}));
    EXPECT_EQ(narrow.cellsAt(2150, 600), Hits{2});
    EXPECT_EQ(narrow.cellsAt(2180, 600), Hits{10});
    EXPECT_EQ(narrow.cellsAt(narrow.cell(indexOf(0, 0, 3)).left + 80, 880), (Hits{indexOf(0, 0, 3), indexOf(0, 2, 2)}));
}

TEST(DisplayScale, OnlyTheWidthChoosesTheSmallBoard)
{
    constexpr double kSmall = 0.78125; // 800 / 1024 and 600 / 768
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct {
        double width, height, ratioX, ratioY, scale;
    } cases[] = {
        // A wide screen's height ratio is flattened, a narrow but tall one keeps
        // its ratio, and a screen reporting nonsense gets the full board.
        {1024, 768, 1, 1, 1}, {1280, 600, 1.25, 1, 1}, {1280, 1600, 1.25, 1, 1}, {800, 600, kSmall, kSmall, kSmall},
        {1023, 768, 1023.0 / 1024, 1, kSmall}, {640, 1024, 0.625, 1024.0 / 768, kSmall}, {0, 600, 1, 1, 1},
        {-800, 600, 1, 1, 1}, {800, nan, 1, 1, 1}};
    for (const auto& c : cases) {
        const DisplayScale s = computeDisplayScale(c.width, c.height);
        EXPECT_EQ((std::array{s.screenRatioX, s.screenRatioY, s.scaleX, s.scaleY}),
                  (std::array{c.ratioX, c.ratioY, c.scale, c.scale}))
            << c.width << " x " << c.height;
    }
}

} // namespace
} // namespace palisade
