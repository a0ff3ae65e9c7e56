#include "computer/room_moves.h"

#include "engine/play_move.h"
#include "engine/targets.h"
#include "gameroom/notation.h"

#include <algorithm>

namespace palisade {

namespace {

// The repetition draw looks back eight half-moves.
constexpr int kPositionsLookedBack = 8;

Position recordedPosition(const HistoryEntry& entry, const Position& now)
{
    Position position = now;
    position.squares = entry.squares;
    position.status = entry.status.value_or(Status::WhiteToMove);
    position.castleLost = entry.castleLost;
    position.enPassantSquare = entry.enPassantSquare;
    return position;
}

} // namespace

SearchLimits roomLimits(const GameRoom& room, const Level& level, std::uint64_t seed)
{
    SearchLimits limits = limitsOf(level, seed);
    if (room.selectionLocked()) limits.onlyFrom = room.selectedSquare();
    const MoveHistory& history = room.history();
    for (int k = std::max(0, history.halfMoves() - kPositionsLookedBack); k < history.halfMoves(); ++k) {
        limits.earlierKeys.push_back(MoveBoard(recordedPosition(history.entry(k), room.position())).key());
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

std::string notationOf(const Position& position, Move move)
{
    const int mover = position.squares[move.pick];
    const bool promotes = move.extra != MoveExtra::Plain && move.extra != MoveExtra::Castle;
    const int oldpiece = promotes ? codeOf(isWhite(mover) ? Side::White : Side::Black, promotedKind(move.extra)) : mover;
    const int castled = move.extra != MoveExtra::Castle ? 0 : castleMark(move) == kKingsideCastleMark ? 1 : 2;
    return moveText(oldpiece, position.squares[move.drop], castled, move.pick, move.drop, position.sidesSwitched);
}

} // namespace palisade
