#include "computer/room_moves.h"

#include "computer/king_choice.h"

#include <algorithm>

namespace palisade {

namespace {

// The repetition draw looks back eight half-moves.
constexpr int kPositionsLookedBack = 8;

// The pieces of a recorded position as the board now stands.
std::uint64_t boardKeyOf(const HistoryEntry& entry, int sidesSwitched)
{
    Position position;
    position.squares = boardSeenAs(entry, sidesSwitched);
    return MoveBoard(position).boardKey();
}

} // namespace

SearchLimits roomLimits(const GameRoom& room, const Level& level, std::uint64_t seed)
{
    SearchLimits limits = limitsOf(level, seed);
    if (room.selectionLocked()) limits.onlyFrom = room.selectedSquare();
    const MoveHistory& history = room.history();
    limits.halfMoves = history.halfMoves();
    for (int k = std::max(0, history.halfMoves() - kPositionsLookedBack); k < history.halfMoves(); ++k) {
        limits.earlierBoards.push_back(boardKeyOf(history.entry(k), room.position().sidesSwitched));
    }
    return limits;
}

void playComputerMove(GameRoom& room, ComputerAnswers& answers, Move move)
{
    answers.beginMove(move);
    // A selected piece is clicked again only to put it down; the locked king
    // after the two-king choice is already selected.
    if (!room.pieceSelected() || room.selectedSquare() != move.pick) {
        if (room.pieceSelected()) room.clickSquare(room.selectedSquare());
        if (!room.pieceSelected()) room.clickSquare(move.pick);
    }
    room.clickSquare(move.drop);
    answers.endMove();
}

void chooseKingNow(GameRoom& room)
{
    if (!room.kingChoice()) return;
    const std::atomic<bool> never{false};
    room.answerKingChoice(kingToKeep(room.position(), *room.kingChoice(), never));
}

} // namespace palisade
