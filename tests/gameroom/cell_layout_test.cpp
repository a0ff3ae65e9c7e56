#include "gameroom/cell_layout.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace palisade {
namespace {

// Where the cell of a square lies at 15 twips per pixel, worked out in whole
// pixels from the drawing grid: 60 px a colmn, 30 px right and down a rw,
// 170 px down a half-board, the grid 30 px in and the cell 10 px down.
struct PixelCell {
    int left;
    int top;
};

PixelCell pixelCell(int square)
{
    const Coords c = coordsOf(square);
    return {30 + 60 * c.colmn + 30 * c.rw, 30 * c.rw + 170 * c.boards + 10};
}

bool expectedHit(int square, double x, double y)
{
    const PixelCell p = pixelCell(square);
    const double left = 15.0 * p.left;
    const double top = 15.0 * p.top;
    return x >= left && x <= left + 372 && y >= top && y <= top + 897;
}

TEST(CellLayoutTest, StandardCellsSitOnTheDrawingGrid)
{
    const CellLayout layout;
    EXPECT_DOUBLE_EQ(layout.twipsPerPixelX(), 15.0);
    EXPECT_DOUBLE_EQ(layout.twipsPerPixelY(), 15.0);
    for (int i = 0; i < kSquareCount; ++i) {
        SCOPED_TRACE(i);
        const PixelCell p = pixelCell(i);
        EXPECT_DOUBLE_EQ(layout.cell(i).left, 15.0 * p.left);
        EXPECT_DOUBLE_EQ(layout.cell(i).top, 15.0 * p.top);
        EXPECT_DOUBLE_EQ(layout.cell(i).width, 372.0);
        EXPECT_DOUBLE_EQ(layout.cell(i).height, 897.0);
    }
}

TEST(CellLayoutTest, AcrossUsesXTwipsAndDownUsesYTwips)
{
    const CellLayout layout(15.0, 12.0);
    const CellRect& cell = layout.cell(indexOf(2, 1, 3)); // boards 2, rw 1, colmn 3
    EXPECT_DOUBLE_EQ(cell.left, 15.0 * (30 + 180 + 30));
    EXPECT_DOUBLE_EQ(cell.top, 12.0 * (30 + 340 + 10));
    EXPECT_DOUBLE_EQ(cell.width, 372.0); // fixed in twips
    EXPECT_DOUBLE_EQ(cell.height, 372.0 + 35 * 12.0);
}

TEST(CellLayoutTest, GridOriginIsRoundedToWholeTwipsTiesToEven)
{
    // 30 px at 12.25 and 12.75 twips per pixel are 367.5 and 382.5 twips.
    EXPECT_DOUBLE_EQ(CellLayout(12.25, 15.0).cell(0).left, 368.0);
    EXPECT_DOUBLE_EQ(CellLayout(12.75, 15.0).cell(0).left, 382.0);
    // Only the origin is rounded; the steps are not.
    EXPECT_DOUBLE_EQ(CellLayout(12.75, 15.0).cell(1).left, 382.0 + 60 * 12.75);
}

TEST(CellLayoutTest, EdgesBelongToTheCellAndNothingJustOutside)
{
    const CellLayout layout;
    for (int i = 0; i < kSquareCount; ++i) {
        SCOPED_TRACE(i);
        const CellRect& c = layout.cell(i);
        const double right = c.left + c.width;
        const double bottom = c.top + c.height;
        const double midX = c.left + c.width / 2;
        const double midY = c.top + c.height / 2;
        for (auto [x, y] : {std::array{c.left, c.top}, std::array{right, c.top},
                            std::array{c.left, bottom}, std::array{right, bottom}}) {
            EXPECT_EQ(layout.cellsAt(x, y), std::vector<int>{i});
        }
        for (auto [x, y] : {std::array{c.left - 0.5, midY}, std::array{right + 0.5, midY},
                            std::array{midX, c.top - 0.5}, std::array{midX, bottom + 0.5}}) {
            EXPECT_TRUE(layout.cellsAt(x, y).empty()) << x << ", " << y;
        }
    }
}

TEST(CellLayoutTest, ThreeTwipGapBetweenStackedCellsBelongsToNeither)
{
    const CellLayout layout;
    for (int boards = 0; boards < 4; ++boards) {
        for (int rw = 0; rw < 2; ++rw) {
            for (int colmn = 0; colmn < 7; ++colmn) {
                const int upper = indexOf(boards, rw, colmn + 1);
                const int lower = indexOf(boards, rw + 2, colmn);
                SCOPED_TRACE(testing::Message() << upper << " over " << lower);
                const CellRect& a = layout.cell(upper);
                const CellRect& b = layout.cell(lower);
                ASSERT_DOUBLE_EQ(a.left, b.left);
                ASSERT_DOUBLE_EQ(b.top - (a.top + a.height), 3.0);

                const double x = a.left + 100;
                EXPECT_EQ(layout.cellsAt(x, a.top + a.height), std::vector<int>{upper});
                EXPECT_TRUE(layout.cellsAt(x, a.top + a.height + 1.5).empty());
                EXPECT_EQ(layout.cellsAt(x, b.top), std::vector<int>{lower});
            }
        }
    }
}

TEST(CellLayoutTest, SweepAtStandardTwipsFindsEachCellWhereItBelongs)
{
    const CellLayout layout;
    std::array<int, kSquareCount> hitCount{};
    // Steps of 15 and 13 twips land on edges as well as inside and between.
    for (double x = -15; x <= 9000; x += 15) {
        for (double y = -13; y <= 10400; y += 13) {
            const std::vector<int> hits = layout.cellsAt(x, y);
            ASSERT_LE(hits.size(), 1u) << "point in two cells: " << x << ", " << y;
            for (int i = 0; i < kSquareCount; ++i) {
                const bool hit = !hits.empty() && hits.front() == i;
                ASSERT_EQ(hit, expectedHit(i, x, y)) << "square " << i << " at " << x << ", " << y;
            }
            if (!hits.empty()) ++hitCount[hits.front()];
        }
    }
    for (int i = 0; i < kSquareCount; ++i) EXPECT_GT(hitCount[i], 0) << "square " << i;
}

TEST(CellLayoutTest, AtTwelveTwipsOverlappingCellsAreBothHitLowerFirst)
{
    const CellLayout layout(12.0, 12.0);
    // Neighbouring rws: square 2 spans x 1800..2172, square 10 starts at 2160.
    ASSERT_DOUBLE_EQ(layout.cell(2).left, 1800.0);
    ASSERT_DOUBLE_EQ(layout.cell(10).left, 2160.0);
    EXPECT_EQ(layout.cellsAt(2166, 600), (std::vector<int>{2, 10}));
    EXPECT_EQ(layout.cellsAt(2150, 600), std::vector<int>{2});
    EXPECT_EQ(layout.cellsAt(2180, 600), std::vector<int>{10});

    // Stacked cells (colmn + 1, rw) and (colmn, rw + 2) now overlap in height.
    const int upper = indexOf(0, 0, 3);
    const int lower = indexOf(0, 2, 2);
    ASSERT_GT(layout.cell(upper).top + layout.cell(upper).height, layout.cell(lower).top);
    EXPECT_EQ(layout.cellsAt(layout.cell(upper).left + 80, 880), (std::vector<int>{upper, lower}));
}

} // namespace
} // namespace palisade
