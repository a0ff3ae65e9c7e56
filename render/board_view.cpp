#include "render/board_view.h"

#include "gameroom/game_room.h"
#include "render/board_geometry.h"
#include "render/piece_painter.h"

#include <QMouseEvent>
#include <QPainter>

namespace palisade {

namespace {

const QColor kLightSquare(0xe8, 0xd3, 0xa9);
const QColor kDarkSquare(0x9c, 0x6b, 0x43);
const QColor kSelectedSquare(0xf2, 0xc9, 0x4c);
const QColor kBoardEdge(0x4a, 0x2f, 0x1b);
const QColor kBackground(0x2e, 0x3b, 0x33);
constexpr double kEdgeDepth = 7.0;

// Bishops keep the colour of their square, so the colour follows the parity of
// all three coordinates.
bool isLightSquare(int square)
{
    const Coords c = coordsOf(square);
    return (c.boards + c.rw + c.colmn) % 2 == 1;
}

} // namespace

BoardView::BoardView(GameRoom& room, const DisplayScale& scale, QWidget* parent)
    : QWidget(parent), room_(room), scale_(scale)
{
    setObjectName("board");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QSize BoardView::sizeHint() const
{
    const QSizeF size = board_geometry::pictureSize();
    return QSizeF(size.width() * scale_.scaleX, size.height() * scale_.scaleY).toSize();
}

QSize BoardView::minimumSizeHint() const
{
    const QSizeF size = board_geometry::pictureSize();
    return (size * 0.5).toSize();
}

QTransform BoardView::pictureTransform() const
{
    // Fit the whole picture, keeping its shape, centred in the widget.
    const QSizeF picture = board_geometry::pictureSize();
    const double scale = std::min(width() / picture.width(), height() / picture.height());
    const double dx = (width() - picture.width() * scale) / 2.0;
    const double dy = (height() - picture.height() * scale) / 2.0;
    return QTransform(scale, 0, 0, scale, dx, dy);
}

QPointF BoardView::toTwips(QPointF widgetPoint) const
{
    const QPointF picturePoint = pictureTransform().inverted().map(widgetPoint);
    const CellLayout& cells = room_.cells();
    return {picturePoint.x() * cells.twipsPerPixelX(), picturePoint.y() * cells.twipsPerPixelY()};
}

void BoardView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setTransform(pictureTransform());
    paintHalfBoards(painter);
    paintPieces(painter);
    paintMarks(painter);
}

void BoardView::paintHalfBoards(QPainter& painter) const
{
    painter.setPen(Qt::NoPen);
    for (int boards = 0; boards < 4; ++boards) {
        // A darker slab edge under each half-board makes the four read as levels.
        painter.setBrush(kBoardEdge);
        painter.drawPolygon(board_geometry::halfBoardOutline(boards).translated(0, kEdgeDepth));
    }
    for (int square = 0; square < kSquareCount; ++square) {
        const bool selected = room_.pieceSelected() && room_.selectedSquare() == square;
        painter.setBrush(selected ? kSelectedSquare : isLightSquare(square) ? kLightSquare : kDarkSquare);
        painter.drawPolygon(board_geometry::squareOutline(square));
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kBoardEdge, 1.5));
    for (int boards = 0; boards < 4; ++boards) painter.drawPolygon(board_geometry::halfBoardOutline(boards));
}

void BoardView::paintPieces(QPainter& painter) const
{
    const Board& squares = room_.position().squares;
    for (int square = 0; square < kSquareCount; ++square) {
        const int code = squares[square];
        if (isPiece(code)) paintPiece(painter, code, board_geometry::pieceBox(square, code));
    }
}

void BoardView::paintMarks(QPainter& painter) const
{
    for (int square = 0; square < kSquareCount; ++square) {
        if (room_.isTarget(square)) paintTargetMark(painter, board_geometry::markBox(square));
    }
}

void BoardView::mousePressEvent(QMouseEvent* event)
{
    const MouseButton button = event->button() == Qt::LeftButton    ? MouseButton::Left
                               : event->button() == Qt::RightButton ? MouseButton::Right
                                                                    : MouseButton::Middle;
    const QPointF twips = toTwips(event->position());
    room_.pressAt(button, twips.x(), twips.y());
}

void BoardView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    const QPointF twips = toTwips(event->position());
    room_.releaseAt(twips.x(), twips.y());
}

} // namespace palisade
