#pragma once

#include "engine/position.h"

#include <optional>

namespace palisade {

// A move read off the boards before and after it: where the mover's piece left
// and arrived (for a castle, the king's squares) and whether it castled
// (1 kingside, 2 queenside).
struct PlayedMove {
    int from = 0;
    int to = 0;
    int castled = 0;

    friend bool operator==(const PlayedMove&, const PlayedMove&) = default;
};

// The one move of `mover` that turns `was` into `now`, both in the same
// orientation; nothing when no single move explains them.
std::optional<PlayedMove> readMove(const Board& was, const Board& now, Side mover);

} // namespace palisade
