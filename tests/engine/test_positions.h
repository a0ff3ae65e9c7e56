#pragma once

#include "engine/position.h"

#include <initializer_list>
#include <utility>

namespace palisade {

using Placement = std::initializer_list<std::pair<int, int>>;

// An otherwise empty block with the given (square, code) pieces. Without a king
// of the side to move on it, every candidate passes the check test.
inline Position with(Placement pieces, Status status = Status::WhiteToMove)
{
    Position position;
    position.status = status;
    for (const auto& [square, code] : pieces) position.squares[square] = code;
    return position;
}

} // namespace palisade
