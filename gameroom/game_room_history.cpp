#include "gameroom/game_room.h"

#include "engine/orientation.h"
#include "gameroom/result_reading.h"

#include <algorithm>

namespace palisade {

HistoryEntry GameRoom::snapshot() const
{
    HistoryEntry entry;
    entry.squares = position_.squares;
    entry.castleLost = position_.castleLost;
    entry.sidesSwitched = position_.sidesSwitched;
    entry.enPassantSquare = position_.enPassantSquare;
    entry.kingsStanding = position_.kingsStanding;
    entry.check = checkShown_ ? 1 : 0;
    entry.status = position_.status;
    entry.loneKingFree = position_.loneKingFree;
    return entry;
}

void GameRoom::restore(int k)
{
    const HistoryEntry& entry = history_.entry(k);
    spokenEnd_.reset();
    position_.squares = entry.squares;
    position_.castleLost = entry.castleLost;
    position_.enPassantSquare = entry.enPassantSquare;
    position_.kingsStanding = entry.kingsStanding;
    position_.loneKingFree = entry.loneKingFree;
    position_.status = entry.status.value_or(Status::WhiteToMove);
    checkShown_ = entry.check != 0;
    // A position recorded before "Switch Sides" is shown turned, its en
    // passant square with it.
    if (entry.sidesSwitched != position_.sidesSwitched) {
        turnHalfBoards(position_.squares);
        position_.enPassantSquare = turnedSquare(position_.enPassantSquare);
    }
    updateKingTrial();
}

// A recorded position as the board stands now, turned when it was recorded
// before "Switch Sides".
Board GameRoom::seenNow(const HistoryEntry& entry) const { return boardSeenAs(entry, position_.sidesSwitched); }

// A position set up from the record: a side that has just given up one of two
// kings may move the one it kept.
void GameRoom::updateKingTrial()
{
    const auto side = sideToMove(position_.status);
    position_.kingTrial = side && kingJustGivenUp(position_.squares, history_, *side) ? 1 : 0;
}

void GameRoom::restoreFirst()
{
    const int enPassantSquare = position_.enPassantSquare;
    const int loneKingFree = position_.loneKingFree;
    restore(0);
    position_.status = Status::WhiteToMove;
    position_.enPassantSquare = enPassantSquare;
    position_.loneKingFree = loneKingFree;
}

void GameRoom::showRestored()
{
    cleanScreen();
    view_.statusChanged();
}

// The selection belongs to the position being left.
void GameRoom::releaseSelection()
{
    pieceSelected_ = false;
    selectionLocked_ = false;
}

void GameRoom::takeBack()
{
    if (kingChoice_) return;
    releaseSelection();
    if (const auto k = history_.takeBack(snapshot())) restore(*k);
    showRestored();
}

void GameRoom::forward()
{
    if (!kingChoice_) goTo(history_.forward());
}

// Shows a recorded position the history moved to, if it moved.
void GameRoom::goTo(std::optional<int> k)
{
    if (!k || kingChoice_) return;
    releaseSelection();
    restore(*k);
    showRestored();
}

void GameRoom::backToFirstMove()
{
    if (history_.halfMoves() < 1 || kingChoice_) return;
    releaseSelection();
    history_.backToFirst(snapshot());
    restoreFirst();
    showRestored();
}

void GameRoom::forwardToEnd()
{
    if (!kingChoice_) goTo(history_.forwardToEnd());
}

void GameRoom::goToHalfMove(int halfMove)
{
    if (kingChoice_) return;
    while (history_.halfMoves() > std::max(halfMove, 0)) takeBack();
    while (history_.halfMoves() < halfMove && history_.canGoForward()) forward();
}

std::optional<PlayedMove> GameRoom::lastMove() const
{
    const int k = history_.halfMoves();
    if (k < 1) return std::nullopt;
    const HistoryEntry& before = history_.entry(k - 1);
    const auto mover = before.status ? sideToMove(*before.status) : std::nullopt;
    if (!mover) return std::nullopt;
    return readMove(seenNow(before), position_.squares, *mover);
}

std::vector<Attack> GameRoom::checkAttacks() const
{
    return checkShown_ ? kingAttacks(position_) : std::vector<Attack>{};
}

} // namespace palisade
