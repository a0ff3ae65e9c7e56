#pragma once

#include "render/theme.h"

#include <QImage>
#include <QRectF>
#include <QTransform>

class QPainter;

namespace palisade {

// Pieces drawn once at the size they are shown and then copied: drawing the
// vector outlines of 64 pieces on every repaint is most of a redraw's cost.
// Only screens and images get copies; printers and vector files get the
// outlines themselves.
void paintPieceFast(QPainter& painter, int code, const QRectF& box, const PieceLook& look);

} // namespace palisade
