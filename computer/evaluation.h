#pragma once

#include "engine/move_board.h"

namespace palisade {

// What the evaluation weighs, in centipawns. The defaults are the values the
// self-play matches settled on.
struct EvalWeights {
    int pawn = 100;
    int knight = 310;
    int bishop = 300;
    int rook = 480;
    int queen = 900;
    // A king is never taken, but under "Destroy Both Kings!" one can be given up.
    int king = 1500;
    // A pawn's worth grows with each step along colmn towards promotion.
    int pawnStep = 8;
    // Own pieces beside a king, and enemy pieces that stand near it.
    int kingShelter = 12;
    int kingDanger = 14;
    // Squares a knight, bishop, rook or queen reaches.
    int mobility = 1;
};

// The position judged for the side to move: positive is good for it.
int evaluate(const MoveBoard& board, const EvalWeights& weights = {});

// The material value of one piece code; 0 for an empty square.
int pieceValue(int code, const EvalWeights& weights = {});

} // namespace palisade
