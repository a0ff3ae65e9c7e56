#pragma once

#include "render/theme.h"

#include <QPointF>
#include <QRectF>

class QPainter;

namespace palisade {

// The lettered-disc pieces: a round token standing on the foot of its box,
// the piece's letter (P, N, B, R, Q, K for kinds 1..6) in the middle.
void paintLetteredDisc(QPainter& painter, int kind, const QRectF& box, const PieceColours& colours);

// The disc's bounds within `box`, and whether `point` is on it or within `reach`.
QRectF discBounds(const QRectF& box);
bool discCovers(const QRectF& box, QPointF point, qreal reach);

} // namespace palisade
