#include "engine/apply.h"

#include "engine/castling.h"
#include "engine/remember.h"
#include "engine/targets.h"

#include <cassert>
#include <cstdlib>

namespace palisade {

int castleMark(Move move)
{
    const int step = std::abs(move.drop - move.pick);
    return step == kColumnStep || step == kRowStep || step == kBoardStep ? kKingsideCastleMark
                                                                          : kQueensideCastleMark;
}

void apply(Position& position, const Move& move)
{
    assert(isSquare(move.pick) && isSquare(move.drop) && move.pick != move.drop);
    assert(sideToMove(position.status));
    position.status = nextTurn(position.status);
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
