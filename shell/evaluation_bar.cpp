#include "shell/evaluation_bar.h"

#include <QPainter>

#include <algorithm>

namespace palisade {

namespace {

constexpr int kBarWidth = 16;
const QColor kWhiteSide(240, 238, 230);
const QColor kBlackSide(40, 40, 44);
const QColor kFrame(120, 120, 120);
const QColor kMiddle(200, 60, 50);

} // namespace

EvaluationBar::EvaluationBar(QWidget* parent) : QWidget(parent)
{
    setObjectName("evaluationBar");
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    setToolTip("Even");
}

void EvaluationBar::showShare(double share, const QString& text)
{
    share_ = std::clamp(share, 0.0, 1.0);
    setToolTip(text);
    update();
}

QSize EvaluationBar::sizeHint() const { return {kBarWidth, 200}; }

void EvaluationBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRectF bar = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const double whiteHeight = bar.height() * share_;
    painter.fillRect(QRectF(bar.left(), bar.top(), bar.width(), bar.height() - whiteHeight), kBlackSide);
    painter.fillRect(QRectF(bar.left(), bar.bottom() - whiteHeight, bar.width(), whiteHeight), kWhiteSide);
    // The even mark, so a small lead still shows.
    painter.setPen(QPen(kMiddle, 1));
    painter.drawLine(QPointF(bar.left(), bar.center().y()), QPointF(bar.right(), bar.center().y()));
    painter.setPen(QPen(kFrame, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(bar);
}

} // namespace palisade
