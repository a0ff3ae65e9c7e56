#pragma once

#include <optional>
#include <ostream>
#include <string>

namespace palisade {

class GameRoom;

// A square as a script writes it: decimal, no sign, no leading zero.
std::optional<int> squareToken(const std::string& token);

// The line a script prints after each event: the token or event that led to
// it, then everything a player sees of the game room.
void writeState(std::ostream& out, const std::string& token, const GameRoom& room);

} // namespace palisade
