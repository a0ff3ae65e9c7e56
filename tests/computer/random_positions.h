#pragma once

#include "engine/move_board.h"

#include <algorithm>
#include <random>
#include <vector>

namespace palisade {

// Positions met along random games from the start, every one with a side to
// move that has a move.
inline std::vector<Position> randomPositions(int games, int halfMoves, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<Position> positions;
    for (int game = 0; game < games; ++game) {
        MoveBoard board(standardPosition());
        for (int k = 0; k < halfMoves; ++k) {
            MoveList moves;
            board.generate(moves);
            if (moves.empty()) break;
            positions.push_back(board.position());
            board.make(moves[std::uniform_int_distribution<std::size_t>(0, moves.size() - 1)(random)]);
        }
    }
    return positions;
}

inline bool isLegal(const Position& position, Move move)
{
    MoveList moves;
    MoveBoard(position).generate(moves);
    return std::find(moves.begin(), moves.end(), move) != moves.end();
}

} // namespace palisade
