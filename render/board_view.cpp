#include "render/board_view.h"

#include "gameroom/board_cursor.h"
#include "gameroom/game_room.h"
#include "render/board_geometry.h"
#include "render/board_painter.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <optional>

namespace palisade {

namespace {

std::optional<CursorMove> cursorMoveFor(int key)
{
    switch (key) {
    case Qt::Key_Left: return CursorMove::Left;
    case Qt::Key_Right: return CursorMove::Right;
    case Qt::Key_Up: return CursorMove::Up;
    case Qt::Key_Down: return CursorMove::Down;
    case Qt::Key_PageUp: return CursorMove::HalfBoardUp;
    case Qt::Key_PageDown: return CursorMove::HalfBoardDown;
    default: return std::nullopt;
    }
}

bool isClickKey(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space; }

} // namespace

BoardView::BoardView(GameRoom& room, const DisplayScale& scale, QWidget* parent)
    : QWidget(parent), room_(room), scale_(scale)
{
    setObjectName("board");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setFocusPolicy(Qt::StrongFocus);
}

QSize BoardView::sizeHint() const
{
    const QSizeF size = board_geometry::pictureFrame(options_.coordinates).size();
    return QSizeF(size.width() * scale_.scaleX, size.height() * scale_.scaleY).toSize();
}

QSize BoardView::minimumSizeHint() const
{
    const QSizeF size = board_geometry::pictureSize();
    return (size * 0.5).toSize();
}

void BoardView::setOptions(const BoardOptions& options)
{
    options_ = options;
    updateGeometry();
    update();
}

QTransform BoardView::pictureTransform() const
{
    // Fit the whole frame, keeping its shape, centred in the widget.
    const QRectF frame = board_geometry::pictureFrame(options_.coordinates);
    const double scale = std::min(width() / frame.width(), height() / frame.height());
    const double dx = (width() - frame.width() * scale) / 2.0 - frame.left() * scale;
    const double dy = (height() - frame.height() * scale) / 2.0 - frame.top() * scale;
    return QTransform(scale, 0, 0, scale, dx, dy);
}

QPointF BoardView::toTwips(QPointF widgetPoint) const
{
    const QPointF picturePoint = pictureTransform().inverted().map(widgetPoint);
    const CellLayout& cells = room_.cells();
    return {picturePoint.x() * cells.twipsPerPixelX(), picturePoint.y() * cells.twipsPerPixelY()};
}

// The keys the board uses win over the window's shortcuts; Left and Right
// step through the history unless the cursor shows.
bool BoardView::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && claimsKey(static_cast<const QKeyEvent&>(*event))) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

bool BoardView::claimsKey(const QKeyEvent& key) const
{
    if ((key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
    const int code = key.key();
    if (code == Qt::Key_Left || code == Qt::Key_Right || code == Qt::Key_Escape) return cursorShown_;
    return cursorMoveFor(code) || isClickKey(code);
}

void BoardView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), board_painter::background());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setTransform(pictureTransform());
    BoardScene scene = sceneOf(room_, options_);
    if (cursorShown_) scene.cursor = cursor_;
    paintScene(painter, scene);
}

void BoardView::mousePressEvent(QMouseEvent* event)
{
    // The mouse takes over from the keyboard: its cursor steps aside.
    cursorShown_ = false;
    const MouseButton button = event->button() == Qt::LeftButton    ? MouseButton::Left
                               : event->button() == Qt::RightButton ? MouseButton::Right
                                                                    : MouseButton::Middle;
    const QPointF twips = toTwips(event->position());
    room_.pressAt(button, twips.x(), twips.y());
    // The keyboard carries on from the piece the mouse picked.
    if (room_.pieceSelected()) cursor_ = room_.selectedSquare();
    update();
}

void BoardView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    const QPointF twips = toTwips(event->position());
    room_.releaseAt(twips.x(), twips.y());
}

void BoardView::keyPressEvent(QKeyEvent* event)
{
    const bool hidden = !cursorShown_;
    if (!claimsKey(*event)) {
        QWidget::keyPressEvent(event);
    } else if (event->key() == Qt::Key_Escape) {
        cursorShown_ = false;
        update();
    } else if (const auto move = cursorMoveFor(event->key())) {
        // A hidden cursor first shows where it stands.
        showCursorAt(hidden ? cursor_ : moveCursor(cursor_, *move));
    } else if (!event->isAutoRepeat()) {
        showCursorAt(cursor_);
        if (!hidden) room_.clickSquare(cursor_);
    }
}

void BoardView::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    cursorShown_ = false;
    update();
}

void BoardView::showCursorAt(int square)
{
    cursor_ = square;
    cursorShown_ = true;
    update();
}

} // namespace palisade
