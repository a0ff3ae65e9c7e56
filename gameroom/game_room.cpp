#include "gameroom/game_room.h"

namespace palisade {

namespace {
constexpr int kHistoryLast = 401; // the record holds entries 0..401
} // namespace

GameRoom::GameRoom(GameRoomView& view) : view_(view), position_(standardPosition()) {}

void GameRoom::setUp()
{
    position_ = standardPosition();
    marks_.fill(kNoMark);
    pieceSelected_ = false;
    selectedSquare_ = 0;
    selectionLocked_ = false;
    dragActive_ = false;
    gameSaved_ = true;
    checkShown_ = false;
    halfMoves_ = 0;
    lastHalfMove_ = 0;
    view_.statusChanged();
    view_.boardChanged();
}

void GameRoom::activate()
{
    cleanScreen();
    if (pieceSelected_) {
        pieceSelected_ = false;
        clickSquare(selectedSquare_);
    }
}

void GameRoom::clickSquare(int square)
{
    if (!isSquare(square)) return;
    // Once a result shows nothing more is played.
    const auto side = sideToMove(position_.status);
    if (!side) return;

    if (!pieceSelected_) {
        const int code = position_.squares[square];
        const bool mayPick = *side == Side::White ? code < kBlackPawn : code > kWhiteKing;
        if (mayPick) selectSquare(square);
        return;
    }
    if (isTarget(square)) {
        playMove(square);
        return;
    }
    if (selectionLocked_) return;
    dropSelection();
    // A click on another square picks that piece at once.
    if (square != selectedSquare_) clickSquare(square);
}

void GameRoom::selectSquare(int square)
{
    pieceSelected_ = true;
    selectedSquare_ = square;
    for (const Target& target : generateTargets(position_, square)) marks_[target.square] = target.mark;
    view_.boardChanged();
}

void GameRoom::dropSelection()
{
    pieceSelected_ = false;
    cleanScreen();
}

void GameRoom::playMove(int drop)
{
    const int pick = selectedSquare_;
    recordMove();
    turnStatus();
    gameSaved_ = false;
    pieceSelected_ = false;
    selectionLocked_ = false;
    position_.kingTrial = 0;

    position_.squares[drop] = position_.squares[pick];
    position_.squares[pick] = kEmpty;

    cleanScreen();
    checkShown_ = false;
    view_.statusChanged();
}

void GameRoom::recordMove()
{
    // A full record keeps overwriting its second-to-last entry.
    if (halfMoves_ == kHistoryLast) halfMoves_ = kHistoryLast - 1;
    ++halfMoves_;
    lastHalfMove_ = halfMoves_;
}

void GameRoom::turnStatus()
{
    position_.status =
        position_.status == Status::WhiteToMove ? Status::BlackToMove : Status::WhiteToMove;
}

void GameRoom::cleanScreen()
{
    dragActive_ = false;
    marks_.fill(kNoMark);
    view_.boardChanged();
}

void GameRoom::pressAt(MouseButton button, double xTwips, double yTwips)
{
    if (button != MouseButton::Left) return;
    const std::vector<int> hits = cells_.cellsAt(xTwips, yTwips);
    if (hits.empty()) return;
    // The first cell hit starts the drag; in a strip where cells overlap the
    // others are clicked too, lower square first.
    dragOver(hits.front());
    for (std::size_t i = 1; i < hits.size(); ++i) clickSquare(hits[i]);
}

void GameRoom::releaseAt(double xTwips, double yTwips)
{
    if (!dragActive_) return;
    const std::vector<int> hits = cells_.cellsAt(xTwips, yTwips);
    if (hits.empty()) {
        dragActive_ = false;
        return;
    }
    dragDrop(hits.front());
}

void GameRoom::dragOver(int square)
{
    if (dragActive_) return;
    clickSquare(square);
    dragActive_ = true;
    dragOrigin_ = square;
}

void GameRoom::dragDrop(int square)
{
    if (square != dragOrigin_) clickSquare(square);
    dragActive_ = false;
}

bool GameRoom::mayExit()
{
    return gameSaved_ || view_.confirm("Exit without saving?");
}

std::string GameRoom::moveNumberText() const
{
    return "Move# " + std::to_string(halfMoves_ / 2 + 1);
}

std::string_view GameRoom::winOptionText() const
{
    return position_.winOption == 0 ? "Standard" : "Destroy Both Kings!";
}

} // namespace palisade
