#pragma once

namespace palisade {

class GameRoom;

// Under "Destroy Both Kings!" a side mated with two kings keeps one. While the
// game room asks "Save this king?" it has taken the other king off the board
// and selected the one it asks about; true keeps that one. The computer keeps
// the king whose best move leaves the better position.
bool saveSelectedKing(const GameRoom& room);

} // namespace palisade
