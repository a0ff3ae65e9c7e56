#include "engine/play_move.h"

#include "engine/castling.h"
#include "engine/remember.h"
#include "engine/targets.h"

#include <cstdlib>

namespace palisade {

int castleMark(Move move)
{
    const int step = std::abs(move.drop - move.pick);
    return step == kColumnStep || step == kRowStep || step == kBoardStep ? kKingsideCastleMark
                                                                          : kQueensideCastleMark;
}

void playMove(Position& position, Move move)
{
    position.status = position.status == Status::WhiteToMove ? Status::BlackToMove : Status::WhiteToMove;
    position.kingTrial = 0;
    remember(position, move.drop, move.pick, promotedKind(move.extra));
    position.squares[move.drop] = position.squares[move.pick];
    position.squares[move.pick] = kEmpty;
    if (move.extra != MoveExtra::Castle) return;
    if (const auto rook = castleRookMove(move.drop, castleMark(move))) {
        position.squares[rook->from] = kEmpty;
        position.squares[rook->to] = rook->code;
    }
}

} // namespace palisade
