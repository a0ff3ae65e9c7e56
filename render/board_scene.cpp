#include "render/board_scene.h"

#include "gameroom/game_room.h"
#include "render/board_geometry.h"
#include "render/board_painter.h"

#include <QPainter>

namespace palisade {

namespace {

const QColor kLastMoveTint(155, 199, 0, 120);
const QColor kAttackedKingTint(220, 30, 30, 180);
const QColor kAttackerTint(255, 140, 0, 170);
const QColor kAttackLineTint(220, 30, 30, 70);
const QColor kAttackInk(0xb0, 0x10, 0x10);

// Under the pieces: the squares of each attack, its two ends stronger.
void paintAttackSquares(QPainter& painter, const std::vector<Attack>& attacks)
{
    for (const Attack& attack : attacks) {
        for (std::size_t i = 1; i + 1 < attack.line.size(); ++i) {
            board_painter::paintTint(painter, attack.line[i], kAttackLineTint);
        }
        board_painter::paintTint(painter, attack.attacker, kAttackerTint);
        board_painter::paintTint(painter, attack.king, kAttackedKingTint);
    }
}

// Over the pieces: each attack as an arrow through the squares it crosses;
// the picture is affine in every coordinate, so one straight arrow passes
// through the middle of each square on the line, half-boards between included.
void paintAttackArrows(QPainter& painter, const std::vector<Attack>& attacks)
{
    for (const Attack& attack : attacks) {
        board_painter::paintArrow(painter, board_geometry::squareCentre(attack.attacker),
                                  board_geometry::squareCentre(attack.king), kAttackInk);
    }
}

} // namespace

BoardScene sceneOf(const GameRoom& room, const BoardOptions& options)
{
    BoardScene scene;
    scene.squares = room.position().squares;
    scene.sidesSwitched = room.position().sidesSwitched;
    scene.selected = room.pieceSelected() ? room.selectedSquare() : -1;
    for (int square = 0; square < kSquareCount; ++square) {
        scene.marked[square] = room.isTarget(square);
    }
    if (options.lastMove) scene.lastMove = room.lastMove();
    if (options.checks) scene.attacks = room.checkAttacks();
    scene.coordinates = options.coordinates;
    return scene;
}

QRectF sceneFrame(const BoardScene& scene)
{
    return board_geometry::pictureFrame(scene.coordinates);
}

void paintScene(QPainter& painter, const BoardScene& scene)
{
    board_painter::paintHalfBoards(painter, scene.selected);
    if (scene.lastMove) {
        for (const int square : {scene.lastMove->from, scene.lastMove->to}) {
            if (square != scene.selected) board_painter::paintTint(painter, square, kLastMoveTint);
        }
    }
    paintAttackSquares(painter, scene.attacks);
    if (scene.coordinates) board_painter::paintCoordinates(painter, scene.sidesSwitched);
    board_painter::paintPieces(painter, scene.squares, scene.drag ? scene.drag->from : -1);
    paintAttackArrows(painter, scene.attacks);
    board_painter::paintMarks(painter, [&scene](int square) { return scene.marked[square]; });
    if (isSquare(scene.cursor)) board_painter::paintCursor(painter, scene.cursor);
    if (scene.drag) {
        const DraggedPiece& drag = *scene.drag;
        if (isSquare(drag.over)) board_painter::paintDropFrame(painter, drag.over, scene.marked[drag.over]);
        board_painter::paintDraggedPiece(painter, scene.squares[drag.from], drag.at);
    }
}

} // namespace palisade
