#include "gameroom/game_room.h"

#include "engine/game_end.h"
#include "gameroom/result_reading.h"

#include <algorithm>

namespace palisade {

// Judges the position for the side now to move: check, mate, stalemate, the
// two-king trial, the lone king, and the repetition draw.
void GameRoom::youwon()
{
    const auto side = sideToMove(position_.status);
    if (!side) return;
    const KingSquares kings = kingsOf(position_.squares, *side);
    const bool inCheck = sideInCheck(position_);
    const bool canMove = hasLegalMove(position_);

    if (canMove && inCheck) {
        checkShown_ = true;
        view_.beep();
    } else if (!canMove && inCheck) {
        if (position_.winOption == 1 && kings.count == 2) {
            twoKingTrial(kings);
        } else {
            endGame(winFor(opponent(*side)));
            view_.beep();
        }
    } else if (!canMove) {
        if (kings.count == 2 || position_.loneKingFree == 1) {
            // A lone king that still cannot move once freed would be judged
            // again for ever: that stalemate is a draw too.
            endGame(Status::Draw);
            view_.beep();
        } else {
            position_.loneKingFree = 1;
            youwon();
        }
    }
    checkRepetition();
}

// Mated with two kings under "Destroy Both Kings!": the side gives up one king,
// one that can then move, and plays on.
void GameRoom::twoKingTrial(const KingSquares& kings)
{
    const int first = kings.square[0];
    const int second = kings.square[1];
    const int king = position_.squares[first];
    Board& squares = position_.squares;
    position_.kingTrial = 1;

    squares[first] = kEmpty;
    clickSquare(second);
    const bool secondCanMove = anyPlainMark();
    squares[first] = king;
    clickSquare(second);
    squares[second] = kEmpty;
    clickSquare(first);
    const bool firstCanMove = anyPlainMark();

    if (firstCanMove && secondCanMove) {
        if (!view_.ask("Save this king?")) {
            squares[second] = king;
            clickSquare(first);
            squares[first] = kEmpty;
            clickSquare(second);
        }
        position_.kingsStanding = 1;
        selectionLocked_ = true;
        view_.boardChanged();
    } else if (firstCanMove || secondCanMove) {
        if (secondCanMove) squares[second] = king;
        clickSquare(first);
        if (secondCanMove) squares[first] = kEmpty;
        position_.kingsStanding = 1;
        youwon();
        cleanScreen();
    } else {
        // Neither king can escape: the board keeps both, as they stood.
        squares[second] = king;
        endGame(winFor(opponent(*sideToMove(position_.status))));
        view_.beep();
    }
}

// Castle marks are no escape.
bool GameRoom::anyPlainMark() const
{
    return std::find(marks_.begin(), marks_.end(), kTargetMark) != marks_.end();
}

// The same position after four and after eight half-moves is a draw. A
// position recorded before "Switch Sides" is compared as the board now stands.
void GameRoom::checkRepetition()
{
    if (sideToMove(position_.status) && repeatsFourAndEightBack(position_, history_)) {
        endGame(Status::Draw);
        view_.beep();
    }
}

// A result ends play at once: nothing stays selected.
void GameRoom::endGame(Status result)
{
    position_.status = result;
    pieceSelected_ = false;
    selectionLocked_ = false;
    marks_.fill(kNoMark);
    view_.boardChanged();
}

} // namespace palisade
