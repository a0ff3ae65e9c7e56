#pragma once

#include "engine/attack_lines.h"
#include "engine/position.h"
#include "gameroom/move_reading.h"
#include "render/theme.h"

#include <QPointF>
#include <QRectF>

#include <array>
#include <optional>
#include <vector>

class QPainter;

namespace palisade {

class GameRoom;

// Which of the player's aids the board shows.
struct BoardOptions {
    bool coordinates = true;
    bool lastMove = true;
    bool checks = true;
    // How the board looks: the colour theme by name, and the pieces' style.
    QString theme = defaultBoardTheme().name;
    PieceStyle pieceStyle = PieceStyle::Carved;

    friend bool operator==(const BoardOptions&, const BoardOptions&) = default;
};

// A piece being dragged: faded on its square, its picture at the pointer, and
// the square it would be dropped on framed (-1 for none).
struct DraggedPiece {
    int from = -1;
    QPointF at;
    int over = -1;
};

// Everything one picture of the board shows, read from the game room.
struct BoardScene {
    Board squares{};
    int sidesSwitched = 0;
    int selected = -1;
    std::array<bool, kSquareCount> marked{};
    std::optional<PlayedMove> lastMove;
    std::vector<Attack> attacks;
    bool coordinates = false;
    int cursor = -1;
    std::optional<DraggedPiece> drag;
    BoardTheme theme = defaultBoardTheme();
    PieceStyle pieceStyle = PieceStyle::Carved;
};

BoardScene sceneOf(const GameRoom& room, const BoardOptions& options);

// The part of the picture's plane the scene fills.
QRectF sceneFrame(const BoardScene& scene);

// Paints the scene in the picture's own pixels.
void paintScene(QPainter& painter, const BoardScene& scene);

} // namespace palisade
