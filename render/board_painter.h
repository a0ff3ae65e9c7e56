#pragma once

#include "engine/position.h"
#include "render/theme.h"

#include <QColor>
#include <QPointF>
#include <functional>
#include <optional>

class QPainter;

namespace palisade::board_painter {

// The colour around the board picture in the default theme.
QColor background();

// The four half-boards in their slanted view; `highlighted` (or -1) is drawn
// in the selection colour.
void paintHalfBoards(QPainter& painter, int highlighted = -1, const BoardTheme& theme = defaultBoardTheme());

// Every piece, the piece on `lifted` (or -1) faded: it is being dragged.
void paintPieces(QPainter& painter, const Board& squares, int lifted = -1,
                 const PieceLook& look = pieceLookOf(defaultBoardTheme(), PieceStyle::Carved));

// The square whose piece's picture is drawn at `point`, or within `reach` of
// it, the frontmost where two overlap; nothing where no picture is.
std::optional<int> pieceUnder(const Board& squares, QPointF point, qreal reach, PieceStyle style);

// A dragged piece, centred on the pointer.
void paintDraggedPiece(QPainter& painter, int code, QPointF at, const PieceLook& look);

// The square a dragged piece would be dropped on, framed; more strongly
// where the piece may go.
void paintDropFrame(QPainter& painter, int square, bool allowed, const BoardTheme& theme);

// A target mark on every square for which `marked` says yes.
void paintMarks(QPainter& painter, const std::function<bool(int)>& marked,
                const BoardTheme& theme = defaultBoardTheme());

// A square washed over with a see-through colour.
void paintTint(QPainter& painter, int square, const QColor& colour);

// An arrow with a pale halo, so it reads across pieces and squares alike.
void paintArrow(QPainter& painter, QPointF from, QPointF to, const QColor& ink,
                const QColor& halo = defaultBoardTheme().arrowHalo);

// The keyboard's cursor: a dashed frame round the square.
void paintCursor(QPainter& painter, int square, const BoardTheme& theme);

// The names of the rows, colmns and half-boards as the notation writes them.
void paintCoordinates(QPainter& painter, int sidesSwitched, const BoardTheme& theme);

} // namespace palisade::board_painter
