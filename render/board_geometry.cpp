#include "render/board_geometry.h"

#include "engine/piece.h"
#include "gameroom/board_layout.h"

namespace palisade::board_geometry {

namespace {

using board_layout::kColumnPixels;
using board_layout::kHalfBoardPixels;
using board_layout::kRowPixels;
constexpr double kPieceWidth = 44.0;
// A queen or king is centred this far above its square's middle, so that its
// feet stand a little below the middle; shorter pieces sit lower.
constexpr double kPieceRise = 23.0;
constexpr double kPieceHalfHeightBase = 28.0;
constexpr double kMarkSize = 34.0;
constexpr double kEdgeDepth = 7.0;
constexpr double kLabelGap = 13.0;
constexpr double kLeftMargin = 30.0;
constexpr double kBottomMargin = 12.0;

// How far down a kind's picture is centred: the shorter the piece, the lower.
double verticalOffset(int code)
{
    switch (kindOf(code)) {
    case Kind::Pawn: return 8.0;
    case Kind::Knight: return 5.0;
    case Kind::Bishop: return 3.0;
    case Kind::Rook: return 7.0;
    case Kind::Queen:
    case Kind::King: return 0.0;
    }
    return 0.0;
}

QPointF cornerOf(int boards, int rw, int colmn)
{
    const board_layout::PicturePoint corner = board_layout::squareCorner(boards, rw, colmn);
    return {corner.x, corner.y};
}

QPointF cornerOf(int square)
{
    const Coords c = coordsOf(square);
    return cornerOf(c.boards, c.rw, c.colmn);
}

QPolygonF parallelogram(QPointF topLeft, double width, double rows)
{
    const QPointF down(kRowPixels * rows, kRowPixels * rows);
    return QPolygonF({topLeft, topLeft + QPointF(width, 0), topLeft + QPointF(width, 0) + down,
                      topLeft + down});
}

} // namespace

QSizeF pictureSize() { return {620.0, 690.0}; }

QRectF pictureFrame(bool withCoordinates)
{
    const QRectF picture(QPointF(0, 0), pictureSize());
    return withCoordinates ? picture.adjusted(-kLeftMargin, 0, 0, kBottomMargin) : picture;
}

QPolygonF squareOutline(int square) { return parallelogram(cornerOf(square), kColumnPixels, 1); }

// The mark sits a pixel left of the square's middle, as it always has.
QPointF markCentre(int square) { return cornerOf(square) + QPointF(44.0, kRowPixels / 2); }

QPointF squareCentre(int square)
{
    return cornerOf(square) + QPointF((kColumnPixels + kRowPixels) / 2, kRowPixels / 2);
}

QRectF pieceBox(int square, int code)
{
    const double offset = verticalOffset(code);
    const double halfHeight = kPieceHalfHeightBase - offset;
    const QPointF centre = squareCentre(square) + QPointF(0, offset - kPieceRise);
    return {centre.x() - kPieceWidth / 2, centre.y() - halfHeight, kPieceWidth, 2 * halfHeight};
}

QRectF markBox(int square)
{
    const QPointF centre = markCentre(square);
    return {centre.x() - kMarkSize / 2, centre.y() - kMarkSize / 2, kMarkSize, kMarkSize};
}

QPolygonF halfBoardOutline(int boards)
{
    return parallelogram(cornerOf(boards, 0, 0), 8 * kColumnPixels, 4);
}

QPointF rwLabelCentre(int boards, int rw)
{
    return cornerOf(boards, rw, 0) + QPointF(kRowPixels / 2 - kLabelGap, kRowPixels / 2);
}

QPointF colmnLabelCentre(int boards, int colmn)
{
    return cornerOf(boards, 4, colmn) + QPointF(kColumnPixels / 2, kEdgeDepth + kLabelGap);
}

QPointF halfBoardLabelCentre(int boards) { return rwLabelCentre(boards, 0) - QPointF(2 * kLabelGap, 0); }

} // namespace palisade::board_geometry
