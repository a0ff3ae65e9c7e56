#pragma once

#include "engine/position.h"

#include <QColor>
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

} // namespace palisade::board_painter
