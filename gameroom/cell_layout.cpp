#include "gameroom/cell_layout.h"

#include <cmath>

namespace palisade {

namespace {
constexpr double kCellWidthTwips = 372.0;
constexpr double kCellHeightTwips = 372.0;
} // namespace

CellLayout::CellLayout(double twipsPerPixelX, double twipsPerPixelY)
    : tx_(twipsPerPixelX), ty_(twipsPerPixelY)
{
    // The grid starts 30 px in, held in whole twips.
    const double x0 = std::nearbyint(30.0 * tx_);
    for (int i = 0; i < kSquareCount; ++i) {
        const Coords c = coordsOf(i);
        CellRect& cell = cells_[i];
        cell.left = x0 + 60.0 * c.colmn * tx_ + 30.0 * c.rw * tx_;
        // Down 36 px to sit over the piece, then raised 26 px and made 35 px
        // taller so a click on the piece's head still counts.
        cell.top = 30.0 * c.rw * ty_ + 170.0 * c.boards * ty_ + 36.0 * ty_ - 26.0 * ty_;
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
