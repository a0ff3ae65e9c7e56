#pragma once

#include "engine/piece.h"

#include <optional>
#include <string_view>

namespace palisade {

// The status text is at once whose turn it is and whether the game is over.
enum class Status { WhiteToMove, BlackToMove, WhiteWins, BlackWins, Draw };

constexpr std::string_view statusText(Status status)
{
    switch (status) {
    case Status::WhiteToMove: return "White to Move";
    case Status::BlackToMove: return "Black to Move";
    case Status::WhiteWins: return "White Wins!";
    case Status::BlackWins: return "Black Wins!";
    case Status::Draw: return "DRAW!";
    }
    return {};
}

// The side named by "White to Move" / "Black to Move"; none once a result shows.
constexpr std::optional<Side> sideToMove(Status status)
{
    if (status == Status::WhiteToMove) return Side::White;
    if (status == Status::BlackToMove) return Side::Black;
    return std::nullopt;
}

constexpr Status toMove(Side side)
{
    return side == Side::White ? Status::WhiteToMove : Status::BlackToMove;
}

// The turn passes to the other side.
constexpr Status nextTurn(Status status)
{
    return status == Status::WhiteToMove ? Status::BlackToMove : Status::WhiteToMove;
}

constexpr Status winFor(Side side)
{
    return side == Side::White ? Status::WhiteWins : Status::BlackWins;
}

} // namespace palisade
