#pragma once

#include "gameroom/game_clock.h"

namespace palisade {

class GameRoom;

// Keeps a game clock in step with a game room: each move made charges its
// mover, the clock runs only while the newest position of the game is on the
// board, and a new game sets it back to its full time.
class RoomClock {
public:
    explicit RoomClock(GameClock& clock) : clock_(clock) {}

    // Looks at the room after every change of its status.
    void follow(const GameRoom& room);
    // The side whose time ran out, when the room may end the game for it now:
    // the newest position shows, a side is to move and no king choice waits.
    std::optional<Side> flagToJudge(const GameRoom& room) const;

private:
    GameClock& clock_;
    int movesSeen_ = 0;
};

} // namespace palisade
