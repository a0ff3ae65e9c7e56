#include "engine/perft.h"

namespace palisade {

std::uint64_t perft(MoveBoard& board, int depth)
{
    if (depth <= 0) return 1;
    if (depth == 1) return board.countMoves();
    MoveList moves;
    board.generate(moves);
    std::uint64_t nodes = 0;
    for (const Move& move : moves) {
        board.make(move);
        nodes += perft(board, depth - 1);
        board.unmake();
    }
    return nodes;
}

} // namespace palisade
