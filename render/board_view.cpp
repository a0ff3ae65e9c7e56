#include "render/board_view.h"

#include "gameroom/board_cursor.h"
#include "gameroom/game_room.h"
#include "render/board_geometry.h"
#include "render/board_painter.h"

#include <QApplication>
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

std::optional<int> BoardView::pieceAt(QPointF widgetPoint) const
{
    // The soft edge of a picture reaches about a device pixel past its outline.
    const QTransform toPicture = pictureTransform().inverted();
    const qreal reach = toPicture.m11() / devicePixelRatioF();
    return board_painter::pieceUnder(room_.position().squares, toPicture.map(widgetPoint), reach,
                                     options_.pieceStyle);
}

std::optional<int> BoardView::squareAt(QPointF widgetPoint) const
{
    if (const auto piece = pieceAt(widgetPoint)) return piece;
    const QPointF twips = toTwips(widgetPoint);
    const std::vector<int> hits = room_.cells().cellsAt(twips.x(), twips.y());
    if (hits.empty()) return std::nullopt;
    return hits.front();
}

// A piece is shown following the pointer once the button, pressed on the
// selected piece, has moved it a little.
std::optional<DraggedPiece> BoardView::draggedPiece() const
{
    if (!pressPoint_ || !room_.dragActive() || !room_.pieceSelected()) return std::nullopt;
    if (room_.dragOrigin() != room_.selectedSquare() || !isPiece(room_.position().squares[room_.dragOrigin()]))
        return std::nullopt;
    if ((pointer_ - *pressPoint_).manhattanLength() < QApplication::startDragDistance()) return std::nullopt;
    const QPointF at = pictureTransform().inverted().map(pointer_);
    return DraggedPiece{room_.dragOrigin(), at, squareAt(pointer_).value_or(-1)};
}

void BoardView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), boardThemeNamed(options_.theme).background);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setTransform(pictureTransform());
    BoardScene scene = sceneOf(room_, options_);
    if (cursorShown_) scene.cursor = cursor_;
    scene.drag = draggedPiece();
    paintScene(painter, scene);
}

// A press on a piece's picture clicks its square; anywhere else the click
// cells decide, overlaps and all.
void BoardView::mousePressEvent(QMouseEvent* event)
{
    // The mouse takes over from the keyboard: its cursor steps aside.
    cursorShown_ = false;
    const MouseButton button = event->button() == Qt::LeftButton    ? MouseButton::Left
                               : event->button() == Qt::RightButton ? MouseButton::Right
                                                                    : MouseButton::Middle;
    if (button == MouseButton::Left) {
        // A drag still open means its release went elsewhere, to a question
        // box: this press starts afresh.
        if (room_.dragActive()) room_.abandonDrag();
        pressPoint_ = pointer_ = event->position();
    }
    if (const auto piece = button == MouseButton::Left ? pieceAt(event->position()) : std::nullopt) {
        room_.dragOver(*piece);
    } else {
        const QPointF twips = toTwips(event->position());
        room_.pressAt(button, twips.x(), twips.y());
    }
    // The keyboard carries on from the piece the mouse picked.
    if (room_.pieceSelected()) cursor_ = room_.selectedSquare();
    update();
}

void BoardView::mouseMoveEvent(QMouseEvent* event)
{
    if (!pressPoint_) return;
    pointer_ = event->position();
    if (room_.dragActive()) update();
}

void BoardView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    pressPoint_.reset();
    if (const auto piece = pieceAt(event->position()); piece && room_.dragActive()) {
        room_.dragDrop(*piece);
    } else {
        const QPointF twips = toTwips(event->position());
        room_.releaseAt(twips.x(), twips.y());
    }
    update();
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
