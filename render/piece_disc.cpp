#include "render/piece_disc.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <array>
#include <cmath>

namespace palisade {

namespace {

// The disc is drawn in a unit square and scaled into place, so its rings keep
// their proportions at every size.
constexpr qreal kUnit = 100.0;
constexpr qreal kDiameterShare = 0.92;
constexpr qreal kRimWidth = 7.0;
constexpr qreal kInnerRingWidth = 2.2;
constexpr qreal kInnerRingRadius = 37.0;

// Letters as outlines, so printers and drawings get exactly what the screen shows.
QPainterPath letterPath(char letter)
{
    QFont font("DejaVu Sans");
    font.setPixelSize(56);
    font.setBold(true);
    QPainterPath path;
    path.addText(0, 0, font, QString(QChar(letter)));
    const QRectF bounds = path.boundingRect();
    return path.translated(QPointF(kUnit / 2, kUnit / 2) - bounds.center());
}

const QPainterPath& letterOf(int kind)
{
    static const std::array<QPainterPath, 6> letters = {letterPath('P'), letterPath('N'), letterPath('B'),
                                                        letterPath('R'), letterPath('Q'), letterPath('K')};
    return letters[kind - 1];
}

} // namespace

QRectF discBounds(const QRectF& box)
{
    const qreal diameter = kDiameterShare * std::min(box.width(), box.height());
    return {box.center().x() - diameter / 2, box.bottom() - diameter, diameter, diameter};
}

bool discCovers(const QRectF& box, QPointF point, qreal reach)
{
    const QRectF disc = discBounds(box);
    const QPointF offset = point - disc.center();
    return std::hypot(offset.x(), offset.y()) <= disc.width() / 2 + reach;
}

void paintLetteredDisc(QPainter& painter, int kind, const QRectF& box, const PieceColours& colours)
{
    const QRectF disc = discBounds(box);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.translate(disc.topLeft());
    painter.scale(disc.width() / kUnit, disc.height() / kUnit);
    const QPointF centre(kUnit / 2, kUnit / 2);
    // Lit from the top left, as the carved pieces are.
    QRadialGradient fill(QPointF(kUnit * 0.38, kUnit * 0.32), kUnit * 0.75);
    fill.setColorAt(0.0, colours.light);
    fill.setColorAt(1.0, colours.deep);
    painter.setBrush(fill);
    painter.setPen(QPen(colours.ink, kRimWidth));
    painter.drawEllipse(centre, kUnit / 2 - kRimWidth / 2, kUnit / 2 - kRimWidth / 2);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(colours.ink, kInnerRingWidth));
    painter.drawEllipse(centre, kInnerRingRadius, kInnerRingRadius);
    painter.fillPath(letterOf(kind), colours.ink);
    painter.restore();
}

} // namespace palisade
