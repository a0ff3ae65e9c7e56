#include "shell/review_graph.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace palisade {

namespace {

constexpr double kShownPawns = 10.0;
constexpr double kMargin = 4.0;
const QColor kWhiteShare(240, 238, 230);
const QColor kBlackShare(58, 58, 62);
const QColor kMistakeColour(224, 140, 20);
const QColor kBlunderColour(214, 48, 39);

QColor markColour(MoveMark mark) { return mark == MoveMark::Blunder ? kBlunderColour : kMistakeColour; }

} // namespace

ReviewGraph::ReviewGraph(QWidget* parent) : QWidget(parent)
{
    setObjectName("reviewGraph");
    setCursor(Qt::PointingHandCursor);
    setToolTip("The review: White's advantage up, Black's down. Click to go to a move.");
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void ReviewGraph::setReview(const std::vector<double>& evaluations, const std::vector<MoveMark>& marks)
{
    evaluations_ = evaluations;
    marks_ = marks;
    update();
}

void ReviewGraph::setShown(int halfMove)
{
    if (halfMove == shown_) return;
    shown_ = halfMove;
    update();
}

QSize ReviewGraph::sizeHint() const { return {200, fontMetrics().height() * 7}; }

QSize ReviewGraph::minimumSizeHint() const { return {80, fontMetrics().height() * 7}; }

QRectF ReviewGraph::plotArea() const { return QRectF(rect()).adjusted(kMargin, kMargin, -kMargin, -kMargin); }

double ReviewGraph::xOf(int halfMove) const
{
    const QRectF area = plotArea();
    const int last = std::max<int>(1, static_cast<int>(evaluations_.size()) - 1);
    return area.left() + area.width() * halfMove / last;
}

double ReviewGraph::yOf(double evaluation) const
{
    const QRectF area = plotArea();
    const double clamped = std::clamp(evaluation, -kShownPawns, kShownPawns);
    return area.center().y() - clamped / kShownPawns * area.height() / 2.0;
}

QPointF ReviewGraph::pointOf(int halfMove) const
{
    const double evaluation = halfMove >= 0 && halfMove < static_cast<int>(evaluations_.size())
                                  ? evaluations_[static_cast<std::size_t>(halfMove)]
                                  : 0.0;
    return {xOf(halfMove), yOf(evaluation)};
}

int ReviewGraph::halfMoveAt(double x) const
{
    const QRectF area = plotArea();
    const int last = static_cast<int>(evaluations_.size()) - 1;
    if (last <= 0 || area.width() <= 0) return 0;
    return std::clamp(static_cast<int>(std::lround((x - area.left()) / area.width() * last)), 0, last);
}

void ReviewGraph::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = plotArea();
    painter.fillRect(area, kBlackShare);
    if (evaluations_.empty()) return;

    // White's share: from the bottom up to the line of evaluations.
    QPainterPath share;
    share.moveTo(area.left(), area.bottom());
    for (int k = 0; k < static_cast<int>(evaluations_.size()); ++k) share.lineTo(pointOf(k));
    share.lineTo(xOf(static_cast<int>(evaluations_.size()) - 1), area.bottom());
    share.closeSubpath();
    painter.fillPath(share, kWhiteShare);

    painter.setPen(QPen(QColor(128, 128, 128), 1.0, Qt::DashLine));
    painter.drawLine(QPointF(area.left(), area.center().y()), QPointF(area.right(), area.center().y()));

    const QColor shownColour = palette().color(QPalette::Highlight);
    const bool shownReviewed = shown_ < static_cast<int>(evaluations_.size());
    if (shownReviewed) {
        painter.setPen(QPen(shownColour, 2.0));
        painter.drawLine(QPointF(xOf(shown_), area.top()), QPointF(xOf(shown_), area.bottom()));
    }

    const double radius = std::max(2.5, area.height() / 24.0);
    painter.setPen(QPen(Qt::black, 1.0));
    for (int k = 0; k < static_cast<int>(marks_.size()); ++k) {
        if (marks_[static_cast<std::size_t>(k)] == MoveMark::None) continue;
        painter.setBrush(markColour(marks_[static_cast<std::size_t>(k)]));
        painter.drawEllipse(pointOf(k), radius, radius);
    }
    if (!shownReviewed) return;
    painter.setBrush(shownColour);
    painter.drawEllipse(pointOf(shown_), radius * 1.2, radius * 1.2);
}

void ReviewGraph::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || evaluations_.empty()) {
        QWidget::mousePressEvent(event);
        return;
    }
    emit halfMoveChosen(halfMoveAt(event->position().x()));
}

} // namespace palisade
