#include "gameroom/room_clock.h"

#include "gameroom/game_room.h"

namespace palisade {

namespace {

// The side that made the move leading to the position on the board.
std::optional<Side> lastMover(const GameRoom& room)
{
    const int k = room.history().halfMoves();
    if (k < 1) return std::nullopt;
    const auto& status = room.history().entry(k - 1).status;
    return status ? sideToMove(*status) : std::nullopt;
}

// The side to move while the newest position of a game still played shows.
std::optional<Side> liveSide(const GameRoom& room)
{
    if (room.forwardVisible()) return std::nullopt;
    return sideToMove(room.position().status);
}

} // namespace

void RoomClock::follow(const GameRoom& room)
{
    if (room.movesPlayed() != movesSeen_) {
        movesSeen_ = room.movesPlayed();
        if (const auto mover = lastMover(room)) clock_.moveMade(*mover);
    }
    // A new game, or one opened before its first move.
    if (room.history().lastHalfMove() == 0 && clock_.started()) clock_.restart();
    clock_.show(liveSide(room));
}

std::optional<Side> RoomClock::flagToJudge(const GameRoom& room) const
{
    if (room.kingChoice() || !liveSide(room)) return std::nullopt;
    return clock_.timeRanOut();
}

} // namespace palisade
