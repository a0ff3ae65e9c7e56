#pragma once

#include "render/theme.h"

#include <QPointF>
#include <QRectF>

class QPainter;

namespace palisade {

// Paints the piece with code `code` (1..6 White pawn, knight, bishop, rook,
// queen, king; 7..12 the same for Black; anything else paints nothing) so that
// it fills `box` (its bottom edge is where the piece stands), antialiased,
// crisp at any scale.
void paintPiece(QPainter& painter, int code, const QRectF& box,
                const PieceLook& look = pieceLookOf(defaultBoardTheme(), PieceStyle::Carved));

// Whether `point` falls on the picture `paintPiece` paints for `code` in
// `box`: on a filled part or on an outline, not on the clear space around it.
// A point within `reach` of the picture counts too: on screen its soft edge
// shows a little beyond the outline.
bool pieceCovers(int code, const QRectF& box, QPointF point, qreal reach = 0,
                 PieceStyle style = PieceStyle::Carved);

// The part of `box` that paintPiece covers with the piece: its picture's
// bounds, outline included. Empty for a code that paints nothing.
QRectF pieceBounds(int code, const QRectF& box, PieceStyle style = PieceStyle::Carved);

// Paints the target mark (a clear ring and dot shown on squares the selected
// piece may move to) centred in `box`.
void paintTargetMark(QPainter& painter, const QRectF& box, const QColor& ink = defaultBoardTheme().markInk,
                     const QColor& halo = defaultBoardTheme().markHalo);

} // namespace palisade
