#include "render/board_view.h"

#include "gameroom/game_room.h"
#include "render/board_geometry.h"
#include "render/board_painter.h"

#include <QMouseEvent>
#include <QPainter>

namespace palisade {

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
    painter.fillRect(rect(), board_painter::background());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setTransform(pictureTransform());
    board_painter::paintHalfBoards(painter, room_.pieceSelected() ? room_.selectedSquare() : -1);
    board_painter::paintPieces(painter, room_.position().squares);
    board_painter::paintMarks(painter, [this](int square) { return room_.isTarget(square); });
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
