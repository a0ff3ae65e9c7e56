#pragma once

#include "engine/position.h"

#include <QPixmap>
#include <QRectF>
#include <utility>
#include <vector>

class QPainter;

// The pictures of the movement tutorials and the rules page. Each is a real
// position given to the rules engine: the red rings are the targets the engine
// finds, so a picture can never disagree with the game.

namespace palisade::tutorial_pictures {

enum class Picture {
    Pawn,
    Rook,
    Bishop,
    Knight,
    KingsideCastle,   // White king A and its two kingside landing squares
    KingsideCastled,  // the same king after castling kingside
    QueensideCastle,  // White king A and its two queenside landing squares
    QueensideCastled, // the same king after castling queenside along its rw
    StartPosition,
};

// What a picture shows and which part of the block it is cropped to.
struct Scene {
    Position position;
    std::vector<int> movers;                 // the pieces whose targets are ringed
    bool castlesOnly = false;                // ring only the castle landings
    std::vector<int> circles;                // squares the movers may reach
    std::vector<int> crosses;                // squares a player might expect but may not reach
    std::vector<std::pair<int, int>> arrows; // from, to
    int firstBoard = 0, lastBoard = 3;
    int firstColmn = 0, lastColmn = 7;
};

Scene scene(Picture picture);

// The targets of the movers as the engine gives them, in square order.
std::vector<int> ringedSquares(const Position& position, const std::vector<int>& movers,
                               bool castlesOnly);

// The picture's own size, in board pixels at full size.
QSizeF naturalSize(Picture picture);

// Paints the scene as large as fits in `target`, centred.
void paint(QPainter& painter, const Scene& scene, const QRectF& target);

// Where `paint` draws the pieces in view: the bounds of each piece's picture.
std::vector<QRectF> pieceBoxes(const Scene& scene, const QRectF& target);

QPixmap pixmap(Picture picture, QSize size, qreal devicePixelRatio);

// A black X centred in `box`: a square the piece may not reach.
void paintCross(QPainter& painter, const QRectF& box);

} // namespace palisade::tutorial_pictures
