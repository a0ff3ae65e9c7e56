#include "gameroom/cell_layout.h"

#include <gtest/gtest.h>

#include <array>
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

TEST(CellLayout, CellsSitOnTheDrawingGrid)
{
    const CellLayout layout;
    for (int i = 0; i < kSquareCount; ++i) {
        const auto [left, top] = expectedCorner(i);
        EXPECT_DOUBLE_EQ(layout.cell(i).left, left) << i;
        EXPECT_DOUBLE_EQ(layout.cell(i).top, top) << i;
        EXPECT_DOUBLE_EQ(layout.cell(i).width, 372.0);
        EXPECT_DOUBLE_EQ(layout.cell(i).height, 897.0);
    }
    // Across follows the x twips and down the y twips; the 30 px origin is
    // held in whole twips, ties to even.
    const CellLayout mixed(12.75, 12.0);
    EXPECT_DOUBLE_EQ(mixed.cell(indexOf(2, 1, 3)).left, 382.0 + 12.75 * (180 + 30));
    EXPECT_DOUBLE_EQ(mixed.cell(indexOf(2, 1, 3)).top, 12.0 * (30 + 340 + 10));
    EXPECT_DOUBLE_EQ(mixed.cell(0).height, 372.0 + 35 * 12.0);
}

TEST(CellLayout, EdgesCountAndNoPointLiesInTwoCells)
{
    const CellLayout layout;
    for (int i : {0, 43, 127}) {
        const CellRect& c = layout.cell(i);
        EXPECT_EQ(layout.cellsAt(c.left, c.top), Hits{i});
        EXPECT_EQ(layout.cellsAt(c.left + c.width, c.top + c.height), Hits{i});
        EXPECT_TRUE(layout.cellsAt(c.left - 0.5, c.top + 10).empty());
        EXPECT_TRUE(layout.cellsAt(c.left + c.width + 0.5, c.top + 10).empty());
    }
    // (colmn + 1, rw) ends 3 twips above (colmn, rw + 2), which has the same left.
    const CellRect& upper = layout.cell(indexOf(1, 0, 4));
    const CellRect& lower = layout.cell(indexOf(1, 2, 3));
    EXPECT_DOUBLE_EQ(upper.left, lower.left);
    EXPECT_DOUBLE_EQ(lower.top - (upper.top + upper.height), 3.0);
    EXPECT_TRUE(layout.cellsAt(upper.left + 100, upper.top + upper.height + 1.5).empty());

    // A sweep over the whole picture finds at most one cell, the expected one.
    std::array<int, kSquareCount> hitCount{};
    for (double x = -15; x <= 9000; x += 15) {
        for (double y = -13; y <= 10400; y += 13) {
            const Hits hits = layout.cellsAt(x, y);
            ASSERT_LE(hits.size(), 1u) << x << ", " << y;
            if (hits.empty()) continue;
            const auto [left, top] = expectedCorner(hits.front());
            ASSERT_TRUE(x >= left && x <= left + 372 && y >= top && y <= top + 897);
            ++hitCount[hits.front()];
        }
    }
    for (int i = 0; i < kSquareCount; ++i) EXPECT_GT(hitCount[i], 0) << "square " << i;
}

TEST(CellLayout, AtTwelveTwipsAPixelOverlapsAreHitLowerSquareFirst)
{
    const CellLayout layout(12.0, 12.0);
    // Square 2 spans x 1800..2172 and square 10 starts at 2160.
    EXPECT_EQ(layout.cellsAt(2166, 600), (Hits{2, 10}));
    EXPECT_EQ(layout.cellsAt(2150, 600), Hits{2});
    EXPECT_EQ(layout.cellsAt(2180, 600), Hits{10});
    // (colmn + 1, rw) and (colmn, rw + 2) now overlap in height.
    const int upper = indexOf(0, 0, 3);
    const int lower = indexOf(0, 2, 2);
    EXPECT_EQ(layout.cellsAt(layout.cell(upper).left + 80, 880), (Hits{upper, lower}));
}

} // namespace
} // namespace palisade
