#include "render/board_scene.h"

#include "gameroom/game_room.h"
#include "render/board_geometry.h"
#include "render/board_painter.h"

#include <QPainter>

namespace palisade {

namespace {

// Under the pieces: the squares of each attack, its two ends stronger.
void paintAttackSquares(QPainter& painter, const std::vector<Attack>& attacks, const BoardTheme& theme)
{
    for (const Attack& attack : attacks) {
        for (std::size_t i = 1; i + 1 < attack.line.size(); ++i) {
            board_painter::paintTint(painter, attack.line[i], theme.attackLineTint);
        }
        board_painter::paintTint(painter, attack.attacker, theme.attackerTint);
        board_painter::paintTint(painter, attack.king, theme.attackedKingTint);
    }
}

// Over the pieces: each attack as an arrow through the squares it crosses;
// the picture is affine in every coordinate, so one straight arrow passes
// through the middle of each square on the line, half-boards between included.
void paintAttackArrows(QPainter& painter, const std::vector<Attack>& attacks, const BoardTheme& theme)
{
    for (const Attack& attack : attacks) {
        board_painter::paintArrow(painter, board_geometry::squareCentre(attack.attacker),
                                  board_geometry::squareCentre(attack.king), theme.attackInk, theme.arrowHalo);
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
    scene.theme = boardThemeNamed(options.theme);
    scene.pieceStyle = options.pieceStyle;
    return scene;
}

QRectF sceneFrame(const BoardScene& scene)
{
    return board_geometry::pictureFrame(scene.coordinates);
}

void paintScene(QPainter& painter, const BoardScene& scene)
{
    const BoardTheme& theme = scene.theme;
    const PieceLook look = pieceLookOf(theme, scene.pieceStyle);
    board_painter::paintHalfBoards(painter, scene.selected, theme);
    if (scene.lastMove) {
        for (const int square : {scene.lastMove->from, scene.lastMove->to}) {
            if (square != scene.selected) board_painter::paintTint(painter, square, theme.lastMoveTint);
        }
    }
    paintAttackSquares(painter, scene.attacks, theme);
    if (scene.coordinates) board_painter::paintCoordinates(painter, scene.sidesSwitched, theme);
    board_painter::paintPieces(painter, scene.squares, scene.drag ? scene.drag->from : -1, look);
    paintAttackArrows(painter, scene.attacks, theme);
    board_painter::paintMarks(painter, [&scene](int square) { return scene.marked[square]; }, theme);
    if (isSquare(scene.cursor)) board_painter::paintCursor(painter, scene.cursor, theme);
    if (scene.drag) {
        const DraggedPiece& drag = *scene.drag;
        if (isSquare(drag.over)) board_painter::paintDropFrame(painter, drag.over, scene.marked[drag.over], theme);
        board_painter::paintDraggedPiece(painter, scene.squares[drag.from], drag.at, look);
    }
}

} // namespace palisade
