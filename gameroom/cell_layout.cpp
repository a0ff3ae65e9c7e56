#include "gameroom/cell_layout.h"

#include "gameroom/board_layout.h"

#include <cmath>

namespace palisade {

namespace {
constexpr double kCellWidthTwips = 372.0;
constexpr double kCellHeightTwips = 372.0;
} // namespace

CellLayout::CellLayout(double twipsPerPixelX, double twipsPerPixelY)
    : tx_(twipsPerPixelX), ty_(twipsPerPixelY)
{
    // The grid's left edge is held in whole twips; every cell keeps its
    // distance from it.
    const board_layout::PicturePoint first = board_layout::cellCorner(0);
    const double x0 = std::nearbyint(first.x * tx_);
    for (int i = 0; i < kSquareCount; ++i) {
        const board_layout::PicturePoint corner = board_layout::cellCorner(i);
        CellRect& cell = cells_[i];
        cell.left = x0 + (corner.x - first.x) * tx_;
        cell.top = corner.y * ty_;
        // 35 px taller than wide, so a click on the piece's head still counts.
        cell.width = kCellWidthTwips;
        cell.height = kCellHeightTwips + 35.0 * ty_;
    }
}

std::vector<int> CellLayout::cellsAt(double xTwips, double yTwips) const
{
    std::vector<int> hits;
    for (int i = 0; i < kSquareCount; ++i) {
        if (cells_[i].contains(xTwips, yTwips)) hits.push_back(i);
    }
    return hits;
}

} // namespace palisade
