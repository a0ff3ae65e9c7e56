#pragma once

#include "engine/square.h"

namespace palisade::board_layout {

// Where the squares stand on the board picture, in its own pixels at full
// size. Each half-board is a slanted 4 x 8 grid: colmn runs right 60 px a
// step, each rw moves a square 30 px right and 30 px down, and the half-boards
// are stacked 170 px apart, half-board 0 at the top. The drawing, the click
// cells and the keyboard cursor are all placed from here, so they agree.

struct PicturePoint {
    double x = 0;
    double y = 0;
};

inline constexpr double kColumnPixels = 60.0;
inline constexpr double kRowPixels = 30.0;
inline constexpr double kHalfBoardPixels = 170.0;

// The top-left corner of the slanted square of (boards, rw, colmn); rw may be
// 4, the lower edge of a half-board.
constexpr PicturePoint squareCorner(int boards, int rw, int colmn)
{
    return {5.0 + kColumnPixels * colmn + kRowPixels * rw, 45.0 + kHalfBoardPixels * boards + kRowPixels * rw};
}

constexpr PicturePoint squareCorner(int square)
{
    const Coords c = coordsOf(square);
    return squareCorner(c.boards, c.rw, c.colmn);
}

// The top-left corner of a square's click cell: an upright strip over the
// left of its piece that reaches up over the piece's head.
constexpr PicturePoint cellCorner(int square)
{
    const PicturePoint corner = squareCorner(square);
    return {corner.x + 25.0, corner.y - 35.0};
}

} // namespace palisade::board_layout
