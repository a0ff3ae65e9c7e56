#include "gameroom/game_room.h"

#include "engine/orientation.h"

namespace palisade {

// Turns every half-board. The side to move, the castling flags and the history
// stay; a king that must move after the two-king choice stays selected.
void GameRoom::switchSides()
{
    if (kingChoice_) return;
    const bool switched = position_.sidesSwitched == 0;
    position_.sidesSwitched = switched ? 1 : 0;
    position_.upPawn = switched ? kBlackPawn : kWhitePawn;
    position_.downPawn = switched ? kWhitePawn : kBlackPawn;
    const bool keepLocked = pieceSelected_ && selectionLocked_;
    pieceSelected_ = false;
    turnHalfBoards(position_.squares);
    position_.enPassantSquare = turnedSquare(position_.enPassantSquare);
    cleanScreen();
    if (keepLocked) clickSquare(turnedSquare(selectedSquare_));
    view_.statusChanged();
}

void GameRoom::newGame()
{
    if (gameSaved_ || view_.ask(Question::ExitGameWithoutSaving)) setUp();
}

void GameRoom::declareDraw()
{
    if (!sideToMove(position_.status) || kingChoice_) return;
    endGame(Status::Draw);
    spokenEnd_ = EndReason::DrawDeclared;
    view_.statusChanged();
}

void GameRoom::resign()
{
    const auto side = sideToMove(position_.status);
    if (!side || kingChoice_) return;
    endGame(winFor(opponent(*side)));
    spokenEnd_ = EndReason::Resignation;
    view_.statusChanged();
}

void GameRoom::flagFall(Side side)
{
    if (!sideToMove(position_.status) || kingChoice_) return;
    endGame(winFor(opponent(side)));
    spokenEnd_ = EndReason::TimeRanOut;
    view_.statusChanged();
}

void GameRoom::resignSide(Side side)
{
    if (!sideToMove(position_.status) || kingChoice_) return;
    endGame(winFor(opponent(side)));
    spokenEnd_ = EndReason::Resignation;
    view_.statusChanged();
}

void GameRoom::toggleWinOption()
{
    if (kingChoice_) return;
    if (position_.winOption == 0) {
        position_.winOption = 1;
    } else if (position_.kingsStanding == 2) {
        position_.winOption = 0;
    } else {
        view_.message("Can't Change Now!");
        return;
    }
    view_.statusChanged();
}

} // namespace palisade
