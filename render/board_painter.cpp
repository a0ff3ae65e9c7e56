#include "render/board_painter.h"

#include "render/board_geometry.h"
#include "render/piece_painter.h"
#include "render/piece_sprites.h"

#include <QPainter>

namespace palisade::board_painter {

namespace {

const QColor kLightSquare(0xe8, 0xd3, 0xa9);
const QColor kDarkSquare(0x9c, 0x6b, 0x43);
const QColor kSelectedSquare(0xf2, 0xc9, 0x4c);
const QColor kBoardEdge(0x4a, 0x2f, 0x1b);
constexpr double kEdgeDepth = 7.0;

// Bishops keep the colour of their square, so the colour follows the parity of
// all three coordinates.
bool isLightSquare(int square)
{
    const Coords c = coordsOf(square);
    return (c.boards + c.rw + c.colmn) % 2 == 1;
}

} // namespace

QColor background() { return {0x2e, 0x3b, 0x33}; }

void paintHalfBoards(QPainter& painter, int highlighted)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    for (int boards = 0; boards < 4; ++boards) {
        // A darker slab edge under each half-board makes the four read as levels.
        painter.setBrush(kBoardEdge);
        painter.drawPolygon(board_geometry::halfBoardOutline(boards).translated(0, kEdgeDepth));
    }
    for (int square = 0; square < kSquareCount; ++square) {
        const QColor colour = square == highlighted ? kSelectedSquare
                              : isLightSquare(square) ? kLightSquare
                                                      : kDarkSquare;
        painter.setBrush(colour);
        painter.drawPolygon(board_geometry::squareOutline(square));
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kBoardEdge, 1.5));
    for (int boards = 0; boards < 4; ++boards) painter.drawPolygon(board_geometry::halfBoardOutline(boards));
    painter.restore();
}

void paintPieces(QPainter& painter, const Board& squares)
{
    for (int square = 0; square < kSquareCount; ++square) {
        const int code = squares[square];
        if (isPiece(code)) paintPieceFast(painter, code, board_geometry::pieceBox(square, code));
    }
}

void paintMarks(QPainter& painter, const std::function<bool(int)>& marked)
{
    for (int square = 0; square < kSquareCount; ++square) {
        if (marked(square)) paintTargetMark(painter, board_geometry::markBox(square));
    }
}

} // namespace palisade::board_painter
