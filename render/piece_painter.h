#pragma once

#include <QRectF>

class QPainter;

namespace palisade {

// Paints the piece with code `code` (1..6 White pawn, knight, bishop, rook,
// queen, king; 7..12 the same for Black; anything else paints nothing) so that
// it fills `box` (its bottom edge is where the piece stands), antialiased,
// crisp at any scale.
void paintPiece(QPainter& painter, int code, const QRectF& box);

// The part of `box` that paintPiece covers with the piece: its picture's
// bounds, outline included. Empty for a code that paints nothing.
QRectF pieceBounds(int code, const QRectF& box);

// Paints the target mark (a clear red ring/dot shown on squares the selected
// piece may move to) centred in `box`.
void paintTargetMark(QPainter& painter, const QRectF& box);

} // namespace palisade
