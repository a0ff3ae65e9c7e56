#include "render/board_geometry.h"

#include "engine/piece.h"
#include "engine/square.h"

namespace palisade::board_geometry {

namespace {

constexpr double kColumnStep = 60.0;
constexpr double kRowShift = 30.0;
constexpr double kHalfBoardStep = 170.0;
constexpr double kSquareLeft = 5.0; // top-left corner of square 0
constexpr double kSquareTop = 45.0;
constexpr double kPieceWidth = 44.0;
constexpr double kPieceCentreDrop = 37.0;
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
    return {kSquareLeft + kColumnStep * colmn + kRowShift * rw,
            kSquareTop + kHalfBoardStep * boards + kRowShift * rw};
}

QPolygonF parallelogram(QPointF topLeft, double width, double rows)
{
    const QPointF down(kRowShift * rows, kRowShift * rows);
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

QPolygonF squareOutline(int square)
{
    const Coords c = coordsOf(square);
    return parallelogram(cornerOf(c.boards, c.rw, c.colmn), kColumnStep, 1);
}

QPointF markCentre(int square)
{
    const Coords c = coordsOf(square);
    return {49.0 + kColumnStep * c.colmn + kRowShift * c.rw,
            60.0 + kRowShift * c.rw + kHalfBoardStep * c.boards};
}

QPointF squareCentre(int square)
{
    const Coords c = coordsOf(square);
    return cornerOf(c.boards, c.rw, c.colmn) + QPointF((kColumnStep + kRowShift) / 2, kRowShift / 2);
}

QRectF pieceBox(int square, int code)
{
    const Coords c = coordsOf(square);
    const double offset = verticalOffset(code);
    const double halfHeight = kPieceHalfHeightBase - offset;
    const QPointF centre(50.0 + kColumnStep * c.colmn + kRowShift * c.rw,
                         kHalfBoardStep * c.boards + kRowShift * c.rw + offset + kPieceCentreDrop);
    return {centre.x() - kPieceWidth / 2, centre.y() - halfHeight, kPieceWidth, 2 * halfHeight};
}

QRectF markBox(int square)
{
    const QPointF centre = markCentre(square);
    return {centre.x() - kMarkSize / 2, centre.y() - kMarkSize / 2, kMarkSize, kMarkSize};
}

QPolygonF halfBoardOutline(int boards)
{
    return parallelogram(cornerOf(boards, 0, 0), 8 * kColumnStep, 4);
}

QPointF rwLabelCentre(int boards, int rw)
{
    return cornerOf(boards, rw, 0) + QPointF(kRowShift / 2 - kLabelGap, kRowShift / 2);
}

QPointF colmnLabelCentre(int boards, int colmn)
{
    return cornerOf(boards, 4, colmn) + QPointF(kColumnStep / 2, kEdgeDepth + kLabelGap);
}

QPointF halfBoardLabelCentre(int boards) { return rwLabelCentre(boards, 0) - QPointF(2 * kLabelGap, 0); }

} // namespace palisade::board_geometry
