#include "gameroom/board_layout.h"
#include "gameroom/cell_layout.h"
#include "gameroom/display_scale.h"
#include "recording_view.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <vector>

namespace palisade {
namespace {

using Hits = std::vector<int>;

// The middle of a square as the board is drawn, in twips of the given screen.
std::array<double, 2> middleOf(int square, double twipsX, double twipsY)
{
    const board_layout::PicturePoint corner = board_layout::squareCorner(square);
    // A square spans 60 px along colmn and leans 30 px right per 30 px down.
    return {(corner.x + 45.0) * twipsX, (corner.y + 15.0) * twipsY};
}

// A press in the middle of any drawn square clicks that square, on screens of
// any twips per pixel; at the standard 15 no point of the picture clicks two.
TEST(CellLayout, APressOnADrawnSquareClicksThatSquare)
{
    for (const auto [twipsX, twipsY] : {std::array{15.0, 15.0}, std::array{12.0, 12.0}, std::array{12.75, 12.0}}) {
        for (int square = 0; square < kSquareCount; ++square) {
            Room room(with({{square, kWhiteKnight}}));
            room.setCellLayout(CellLayout(twipsX, twipsY));
            const auto [x, y] = middleOf(square, twipsX, twipsY);
            EXPECT_EQ(room.cells().cellsAt(x, y), Hits{square}) << twipsX << " x " << twipsY;
            room.pressAt(MouseButton::Left, x, y);
            EXPECT_TRUE(room.pieceSelected() && room.selectedSquare() == square) << square;
        }
    }
    const CellLayout layout;
    for (double x = -15; x <= 9000; x += 15) {
        for (double y = -13; y <= 10400; y += 13) ASSERT_LE(layout.cellsAt(x, y).size(), 1u) << x << ", " << y;
    }
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
