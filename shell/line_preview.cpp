#include "shell/line_preview.h"

#include "render/board_geometry.h"
#include "render/board_view.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace palisade {

namespace {

// In the board picture's units.
constexpr double kShaftWidth = 5.0;
constexpr double kHeadLength = 16.0;
constexpr double kHeadWidth = 12.0;
constexpr double kNumberRadius = 9.0;

struct ArrowColours {
    QColor fill;
    QColor edge;
    QColor number;
};

ArrowColours coloursOf(Side side)
{
    if (side == Side::White) return {QColor(255, 250, 235, 230), QColor(30, 30, 30), QColor(30, 30, 30)};
    return {QColor(35, 35, 40, 230), QColor(250, 245, 230), QColor(250, 245, 230)};
}

// A filled arrow from `from` to `to`, its head at `to`.
QPainterPath arrowPath(QPointF from, QPointF to)
{
    const QPointF along = to - from;
    const double length = std::hypot(along.x(), along.y());
    QPainterPath path;
    if (length < 1.0) return path;
    const QPointF unit = along / length;
    const QPointF across(-unit.y(), unit.x());
    const QPointF neck = to - unit * std::min(kHeadLength, length * 0.6);
    path.moveTo(from + across * kShaftWidth / 2);
    path.lineTo(neck + across * kShaftWidth / 2);
    path.lineTo(neck + across * kHeadWidth / 2);
    path.lineTo(to);
    path.lineTo(neck - across * kHeadWidth / 2);
    path.lineTo(neck - across * kShaftWidth / 2);
    path.lineTo(from - across * kShaftWidth / 2);
    path.closeSubpath();
    return path;
}

void paintArrow(QPainter& painter, const Move& move, int number, Side side)
{
    const ArrowColours colours = coloursOf(side);
    const QPointF from = board_geometry::markCentre(move.pick);
    const QPointF to = board_geometry::markCentre(move.drop);
    painter.setPen(QPen(colours.edge, 1.5));
    painter.setBrush(colours.fill);
    painter.drawPath(arrowPath(from, to));

    const QRectF badge(from.x() - kNumberRadius, from.y() - kNumberRadius, 2 * kNumberRadius, 2 * kNumberRadius);
    painter.drawEllipse(badge);
    QFont font = painter.font();
    font.setPixelSize(static_cast<int>(kNumberRadius * 1.5));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(colours.number);
    painter.drawText(badge, Qt::AlignCenter, QString::number(number));
}

} // namespace

LinePreview::LinePreview(BoardView& board) : QWidget(&board), board_(board)
{
    setObjectName("linePreview");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    hide();
}

void LinePreview::showLine(const std::vector<Move>& moves, Side firstMover)
{
    moves_.assign(moves.begin(), moves.begin() + std::min<std::ptrdiff_t>(kArrowsShown, std::ssize(moves)));
    firstMover_ = firstMover;
    setGeometry(board_.rect());
    show();
    raise();
    update();
}

void LinePreview::clear()
{
    moves_.clear();
    hide();
}

// Later moves first, so the first move's arrow lies on top.
void LinePreview::paintEvent(QPaintEvent*)
{
    if (moves_.empty()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setTransform(board_.pictureTransform());
    for (int k = static_cast<int>(moves_.size()) - 1; k >= 0; --k) {
        const Side side = k % 2 == 0 ? firstMover_ : opponent(firstMover_);
        paintArrow(painter, moves_[static_cast<std::size_t>(k)], k + 1, side);
    }
}

} // namespace palisade
