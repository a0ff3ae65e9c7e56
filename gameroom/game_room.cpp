#include "gameroom/game_room.h"

#include "engine/castling.h"
#include "engine/refusal.h"
#include "engine/remember.h"
#include "gameroom/notation.h"
#include "gameroom/refusal_text.h"

namespace palisade {

GameRoom::GameRoom(GameRoomView& view) : view_(view), position_(standardPosition()) {}

void GameRoom::setUp() { setUp(standardPosition()); }

void GameRoom::setUp(const Position& start)
{
    position_ = start;
    history_.clear();
    marks_.fill(kNoMark);
    pieceSelected_ = false;
    selectedSquare_ = 0;
    selectionLocked_ = false;
    dragActive_ = false;
    gameSaved_ = true;
    checkShown_ = false;
    notation_.clear();
    fileName_.clear();
    spokenEnd_.reset();
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
    const auto refusal = refusalOf(square);
    if (selectionLocked_ || (refusal && keepSelectionOnRefusal_)) {
        if (refusal) view_.moveRefused(*refusal);
        return;
    }
    dropSelection();
    // A click on another square picks that piece at once.
    if (square != selectedSquare_) clickSquare(square);
    // Told last, so that the redraws of putting the piece down keep it.
    if (refusal) view_.moveRefused(*refusal);
}

void GameRoom::selectSquare(int square)
{
    pieceSelected_ = true;
    selectedSquare_ = square;
    for (const Target& target : generateTargets(position_, square)) marks_[target.square] = target.mark;
    view_.boardChanged();
}

// Why the selected piece may not go to `square`; nothing for a square of the
// side's own pieces, which a click picks instead.
std::optional<std::string> GameRoom::refusalOf(int square) const
{
    const Board& squares = position_.squares;
    if (square == selectedSquare_ || !isPiece(squares[selectedSquare_])) return std::nullopt;
    if (!selectionLocked_ && belongsTo(squares[square], *sideToMove(position_.status))) return std::nullopt;
    const auto refusal = whyNot(position_, selectedSquare_, square);
    if (!refusal) return std::nullopt;
    return refusalText(position_, selectedSquare_, square, *refusal);
}

void GameRoom::dropSelection()
{
    pieceSelected_ = false;
    cleanScreen();
}

void GameRoom::playMove(int drop)
{
    const int pick = selectedSquare_;
    const int mark = marks_[drop];
    history_.record(snapshot());
    ++movesPlayed_;
    turnStatus();
    gameSaved_ = false;
    pieceSelected_ = false;
    selectionLocked_ = false;
    position_.kingTrial = 0;

    // The questions come while the board still shows the pawn where it was.
    const Kind promoted = promotes(position_, drop, pick) ? choosePromotion() : Kind::Queen;
    remember(position_, drop, pick, promoted);
    const int oldpiece = position_.squares[pick];
    const int newpiece = position_.squares[drop];
    position_.squares[drop] = oldpiece;
    position_.squares[pick] = kEmpty;
    const int castled = castling(drop, mark);

    notation_ = moveText(oldpiece, newpiece, castled, pick, drop, position_.sidesSwitched);
    history_.setLatestMoveText(notation_);
    cleanScreen();
    checkShown_ = false;
    youwon();
    view_.statusChanged();
}

void GameRoom::turnStatus()
{
    position_.status =
        position_.status == Status::WhiteToMove ? Status::BlackToMove : Status::WhiteToMove;
}

Kind GameRoom::choosePromotion()
{
    if (view_.ask("Queen?")) return Kind::Queen;
    if (view_.ask("Knight?")) return Kind::Knight;
    if (view_.ask("Rook?")) return Kind::Rook;
    return Kind::Bishop;
}

// Completes a castle once the king stands on its landing square: 1 for a
// kingside castle the player confirmed, 2 for a queenside one, else 0.
int GameRoom::castling(int drop, int mark)
{
    const auto rook = castleRookMove(drop, mark);
    if (!rook) return 0;
    // Declining leaves an ordinary one-square king move.
    if (mark == kKingsideCastleMark && !view_.ask("Castle?")) return 0;
    position_.squares[rook->from] = kEmpty;
    position_.squares[rook->to] = rook->code;
    return mark == kKingsideCastleMark ? 1 : 2;
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
    return "Move# " + std::to_string(history_.halfMoves() / 2 + 1);
}

std::string_view GameRoom::winOptionText() const
{
    return position_.winOption == 0 ? "Standard" : "Destroy Both Kings!";
}

} // namespace palisade
