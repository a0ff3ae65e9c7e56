#pragma once

#include "engine/position.h"

#include <QColor>
#include <QPointF>
#include <functional>

class QPainter;

namespace palisade::board_painter {

// The colour around the board picture.
QColor background();

// The four half-boards in their slanted view; `highlighted` (or -1) is drawn
// in the selection colour.
void paintHalfBoards(QPainter& painter, int highlighted = -1);

void paintPieces(QPainter& painter, const Board& squares);

// A target mark on every square for which `marked` says yes.
void paintMarks(QPainter& painter, const std::function<bool(int)>& marked);

// A square washed over with a see-through colour.
void paintTint(QPainter& painter, int square, const QColor& colour);

// An arrow with a pale halo, so it reads across pieces and squares alike.
void paintArrow(QPainter& painter, QPointF from, QPointF to, const QColor& ink);

// The keyboard's cursor: a dashed frame round the square.
void paintCursor(QPainter& painter, int square);

// The names of the rows, colmns and half-boards as the notation writes them.
void paintCoordinates(QPainter& painter, int sidesSwitched);

} // namespace palisade::board_painter
