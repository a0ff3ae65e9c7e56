#include "render/board_painter.h"

#include "gameroom/notation.h"
#include "render/board_geometry.h"
#include "render/piece_painter.h"
#include "render/piece_sprites.h"

#include <QPainter>

namespace palisade::board_painter {

namespace {

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

QColor background() { return defaultBoardTheme().background; }

void paintHalfBoards(QPainter& painter, int highlighted, const BoardTheme& theme)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    for (int boards = 0; boards < 4; ++boards) {
        // A darker slab edge under each half-board makes the four read as levels.
        painter.setBrush(theme.boardEdge);
        painter.drawPolygon(board_geometry::halfBoardOutline(boards).translated(0, kEdgeDepth));
    }
    for (int square = 0; square < kSquareCount; ++square) {
        const QColor colour = square == highlighted ? theme.selectedSquare
                              : isLightSquare(square) ? theme.lightSquare
                                                      : theme.darkSquare;
        painter.setBrush(colour);
        painter.drawPolygon(board_geometry::squareOutline(square));
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(theme.boardEdge, 1.5));
    for (int boards = 0; boards < 4; ++boards) painter.drawPolygon(board_geometry::halfBoardOutline(boards));
    painter.restore();
}

void paintPieces(QPainter& painter, const Board& squares, int lifted, const PieceLook& look)
{
    for (int square = 0; square < kSquareCount; ++square) {
        const int code = squares[square];
        if (!isPiece(code)) continue;
        if (square == lifted) painter.setOpacity(kLiftedOpacity);
        paintPieceFast(painter, code, board_geometry::pieceBox(square, code), look);
        if (square == lifted) painter.setOpacity(1.0);
    }
}

// Pieces are painted in square order, so a later square's picture is in front.
std::optional<int> pieceUnder(const Board& squares, QPointF point, qreal reach, PieceStyle style)
{
    for (int square = kSquareCount - 1; square >= 0; --square) {
        const int code = squares[square];
        if (isPiece(code) && pieceCovers(code, board_geometry::pieceBox(square, code), point, reach, style)) return square;
    }
    return std::nullopt;
}

void paintDraggedPiece(QPainter& painter, int code, QPointF at, const PieceLook& look)
{
    const QRectF box = board_geometry::pieceBox(0, code);
    paintPieceFast(painter, code, box.translated(at - box.center()), look);
}

void paintDropFrame(QPainter& painter, int square, bool allowed, const BoardTheme& theme)
{
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(theme.dropHalo, allowed ? 5.0 : 3.5));
    painter.drawPolygon(board_geometry::squareOutline(square));
    painter.setPen(QPen(allowed ? theme.dropInk : theme.refusedDropInk, allowed ? 3.0 : 1.5));
    painter.drawPolygon(board_geometry::squareOutline(square));
    painter.restore();
}

void paintMarks(QPainter& painter, const std::function<bool(int)>& marked, const BoardTheme& theme)
{
    for (int square = 0; square < kSquareCount; ++square) {
        if (marked(square)) paintTargetMark(painter, board_geometry::markBox(square), theme.markInk, theme.markHalo);
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

void paintArrow(QPainter& painter, QPointF from, QPointF to, const QColor& ink, const QColor& halo)
{
    const QLineF line(from, to);
    const QPointF along = line.unitVector().p2() - line.unitVector().p1();
    const QPointF across(-along.y(), along.x());
    constexpr double kHead = 11.0;
    const QPointF base = to - along * kHead;
    const QPolygonF tip({to, base + across * kHead * 0.5, base - across * kHead * 0.5});
    painter.save();
    for (const auto& [colour, width] : {std::pair{halo, 6.0}, std::pair{ink, 3.0}}) {
        painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(colour);
        painter.drawLine(QLineF(from, base));
        painter.drawPolygon(tip);
    }
    painter.restore();
}

void paintCursor(QPainter& painter, int square, const BoardTheme& theme)
{
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(theme.cursorHalo, 5.0));
    painter.drawPolygon(board_geometry::squareOutline(square));
    painter.setPen(QPen(theme.cursorInk, 3.0, Qt::DashLine));
    painter.drawPolygon(board_geometry::squareOutline(square));
    painter.restore();
}

void paintCoordinates(QPainter& painter, int sidesSwitched, const BoardTheme& theme)
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
    painter.setPen(theme.coordinateInk);
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
