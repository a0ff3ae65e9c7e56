#pragma once

#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>

// Where things stand on the board picture, in its own pixels at full size.
// Each half-board is a slanted 4 x 8 grid: colmn runs right 60 px a step, each
// rw moves a square 30 px right and 30 px down, and the half-boards are stacked
// 170 px apart, half-board 0 at the top. The view scales all of it through one
// transform, so pieces, marks and clicks always agree.

namespace palisade::board_geometry {

QSizeF pictureSize();
// The part of the picture's plane to show: the picture, and with the
// coordinates the margins they are written in (left of x = 0 and below it).
QRectF pictureFrame(bool withCoordinates);

// The slanted outline of a square and the point on which its mark is centred.
QPolygonF squareOutline(int square);
QPointF markCentre(int square);
QPointF squareCentre(int square);

// The box a piece is drawn in: centred over its square, feet on one line
// whatever its kind.
QRectF pieceBox(int square, int code);
QRectF markBox(int square);

// The outline of a whole half-board, for its frame and edge.
QPolygonF halfBoardOutline(int boards);

// Where the coordinates are written: each rw's letter left of its row, each
// colmn's number below the half-board's lower edge, and the half-board's
// number left of its first row.
QPointF rwLabelCentre(int boards, int rw);
QPointF colmnLabelCentre(int boards, int colmn);
QPointF halfBoardLabelCentre(int boards);

} // namespace palisade::board_geometry
