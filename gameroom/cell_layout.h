#pragma once

#include "engine/square.h"

#include <array>
#include <vector>

namespace palisade {

// A click cell, in twips relative to the board picture's top-left corner.
struct CellRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;

    // All four edges belong to the cell.
    bool contains(double x, double y) const
    {
        return x >= left && x <= left + width && y >= top && y <= top + height;
    }
};

// The 128 click cells over the board picture: narrow upright strips over each
// square's piece, placed on the drawing's own grid (board_layout). How much
// they overlap depends on the screen's twips per pixel.
class CellLayout {
public:
    static constexpr double kStandardTwipsPerPixel = 15.0;

    explicit CellLayout(double twipsPerPixelX = kStandardTwipsPerPixel,
                        double twipsPerPixelY = kStandardTwipsPerPixel);

    const CellRect& cell(int square) const { return cells_[square]; }
    double twipsPerPixelX() const { return tx_; }
    double twipsPerPixelY() const { return ty_; }

    // Every cell containing the point, in increasing square order.
    std::vector<int> cellsAt(double xTwips, double yTwips) const;

private:
    double tx_;
    double ty_;
    std::array<CellRect, kSquareCount> cells_{};
};

} // namespace palisade
