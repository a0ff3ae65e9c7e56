#include "computer/game_positions.h"

#include "engine/check.h"
#include "engine/orientation.h"

namespace palisade {

namespace {

// The flags of one orientation, the en passant square turned with the board.
void turnTo(Position& position, int sidesSwitched)
{
    if (position.sidesSwitched != sidesSwitched) {
        turnHalfBoards(position.squares);
        position.enPassantSquare = turnedSquare(position.enPassantSquare);
    }
    position.sidesSwitched = sidesSwitched;
    position.upPawn = sidesSwitched == 0 ? kWhitePawn : kBlackPawn;
    position.downPawn = sidesSwitched == 0 ? kBlackPawn : kWhitePawn;
}

Position positionOf(const HistoryEntry& entry, int winOption)
{
    Position position;
    position.squares = entry.squares;
    position.castleLost = entry.castleLost;
    position.sidesSwitched = entry.sidesSwitched;
    position.enPassantSquare = entry.enPassantSquare;
    position.kingsStanding = entry.kingsStanding;
    position.loneKingFree = entry.loneKingFree;
    position.status = entry.status.value_or(Status::WhiteToMove);
    position.winOption = winOption;
    return position;
}

// The side to move that has one king left where the position before had two
// has just given one up: its kept king may move.
int kingTrialOf(const Position& position, const Position* before)
{
    const auto side = sideToMove(position.status);
    return side && before && kingsOf(position.squares, *side).count == 1
                   && kingsOf(before->squares, *side).count == 2
               ? 1
               : 0;
}

} // namespace

std::vector<Position> gamePositions(const GameRoom& room, int sidesSwitched)
{
    const MoveHistory& history = room.history();
    std::vector<Position> positions;
    // The newest position is recorded only once the board leaves it.
    const bool newestOnBoard = history.halfMoves() == history.lastHalfMove();
    for (int k = 0; k <= history.lastHalfMove(); ++k) {
        const bool onBoard = newestOnBoard && k == history.lastHalfMove();
        Position position = onBoard ? room.position() : positionOf(history.entry(k), room.position().winOption);
        // An entry written without a status follows the turn of the one before it.
        if (!onBoard && !history.entry(k).status && k > 0) {
            if (const auto before = sideToMove(positions.back().status)) position.status = toMove(opponent(*before));
        }
        turnTo(position, sidesSwitched);
        position.kingTrial = kingTrialOf(position, positions.empty() ? nullptr : &positions.back());
        positions.push_back(position);
    }
    return positions;
}

} // namespace palisade
