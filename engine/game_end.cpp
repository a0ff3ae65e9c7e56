#include "engine/game_end.h"

#include "engine/move_board.h"

namespace palisade {

bool hasLegalMove(const Position& position) { return MoveBoard(position).hasOrdinaryMove(); }

} // namespace palisade
