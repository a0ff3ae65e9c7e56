#include "render/board_painter.h"

#include "gameroom/notation.h"
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
const QColor kCoordinateInk(0xe8, 0xd3, 0xa9);
const QColor kCursorInk(0x1e, 0x6e, 0xff);
const QColor kDropInk(0x1f, 0x8a, 0x3b);
const QColor kRefusedDropInk(0x55, 0x55, 0x55);
constexpr double kEdgeDepth = 7.0;
constexpr double kLiftedOpacity = 0.35;

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

void paintPieces(QPainter& painter, const Board& squares, int lifted)
{
    for (int square = 0; square < kSquareCount; ++square) {
        const int code = squares[square];
        if (!isPiece(code)) continue;
        if (square == lifted) painter.setOpacity(kLiftedOpacity);
        paintPieceFast(painter, code, board_geometry::pieceBox(square, code));
        if (square == lifted) painter.setOpacity(1.0);
    }
}

// Pieces are painted in square order, so a later square's picture is in front.
std::optional<int> pieceUnder(const Board& squares, QPointF point, qreal reach)
{
    for (int square = kSquareCount - 1; square >= 0; --square) {
        const int code = squares[square];
        if (isPiece(code) && pieceCovers(code, board_geometry::pieceBox(square, code), point, reach)) return square;
    }
    return std::nullopt;
}

void paintDraggedPiece(QPainter& painter, int code, QPointF at)
{
    const QRectF box = board_geometry::pieceBox(0, code);
    paintPieceFast(painter, code, box.translated(at - box.center()));
}

void paintDropFrame(QPainter& painter, int square, bool allowed)
{
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, allowed ? 5.0 : 3.5));
    painter.drawPolygon(board_geometry::squareOutline(square));
    painter.setPen(QPen(allowed ? kDropInk : kRefusedDropInk, allowed ? 3.0 : 1.5));
    painter.drawPolygon(board_geometry::squareOutline(square));
    painter.restore();
}

void paintMarks(QPainter& painter, const std::function<bool(int)>& marked)
{
    for (int square = 0; square < kSquareCount; ++square) {
        if (marked(square)) paintTargetMark(painter, board_geometry::markBox(square));
    }
}

void paintTint(QPainter& painter, int square, const QColor& colour)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(board_geometry::squareOutline(square));
    painter.restore();
}

void paintArrow(QPainter& painter, QPointF from, QPointF to, const QColor& ink)
{
    const QLineF line(from, to);
    const QPointF along = line.unitVector().p2() - line.unitVector().p1();
    const QPointF across(-along.y(), along.x());
    constexpr double kHead = 11.0;
    const QPointF base = to - along * kHead;
    const QPolygonF tip({to, base + across * kHead * 0.5, base - across * kHead * 0.5});
    painter.save();
    for (const auto& [colour, width] : {std::pair{QColor(255, 250, 235, 190), 6.0}, std::pair{ink, 3.0}}) {
        painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(colour);
        painter.drawLine(QLineF(from, base));
        painter.drawPolygon(tip);
    }
    painter.restore();
}

void paintCursor(QPainter& painter, int square)
{
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 5.0));
    painter.drawPolygon(board_geometry::squareOutline(square));
    painter.setPen(QPen(kCursorInk, 3.0, Qt::DashLine));
    painter.drawPolygon(board_geometry::squareOutline(square));
    painter.restore();
}

void paintCoordinates(QPainter& painter, int sidesSwitched)
{
    constexpr double kBox = 20.0;
    auto write = [&painter](QPointF centre, const QString& text) {
        painter.drawText(QRectF(centre - QPointF(kBox / 2, kBox / 2), QSizeF(kBox, kBox)), Qt::AlignCenter, text);
    };
    painter.save();
    QFont font("DejaVu Sans");
    font.setPixelSize(12);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(kCoordinateInk);
    for (int boards = 0; boards < 4; ++boards) {
        for (int rw = 0; rw < 4; ++rw) {
            write(board_geometry::rwLabelCentre(boards, rw), QString(QChar(rwLetter(indexOf(boards, rw, 0), sidesSwitched))));
        }
        for (int colmn = 0; colmn < 8; ++colmn) {
            write(board_geometry::colmnLabelCentre(boards, colmn),
                  QString::number(colmnNumber(indexOf(boards, 0, colmn), sidesSwitched)));
        }
    }
    font.setPixelSize(16);
    painter.setFont(font);
    for (int boards = 0; boards < 4; ++boards) write(board_geometry::halfBoardLabelCentre(boards), QString::number(boards + 1));
    painter.restore();
}

} // namespace palisade::board_painter
