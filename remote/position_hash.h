#pragma once

#include "engine/position.h"

#include <cstdint>

namespace palisade {
class GameRoom;
}

namespace palisade::remote {

// The position both programs must agree on, whatever either side's view:
// the squares turned to orientation 0, the status, castleLost, winOption,
// kingsStanding, loneKingFree, halfMoves, and the en passant square turned
// to orientation 0 and counted as none whenever no pawn could use it.
std::uint64_t positionHash(const Position& position, int halfMoves);
// The position on the room's board; while a king choice waits, as it stood
// before: with both kings.
std::uint64_t roomHash(const GameRoom& room);

} // namespace palisade::remote
