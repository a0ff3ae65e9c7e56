#pragma once

#include "engine/position.h"
#include "gameroom/game_room.h"

#include <vector>

namespace palisade {

// Every position of the room's game, the one after k half-moves at index k,
// from the first to the newest, whichever is on the board: the recorded ones,
// and the board's own when it shows the newest. Each is seen in the
// orientation `sidesSwitched` and set up as Take Back would set it up (a king
// kept after the two-king choice may move). Seen in one fixed orientation
// they tell one game from another whatever Switch Sides did.
std::vector<Position> gamePositions(const GameRoom& room, int sidesSwitched);

} // namespace palisade
