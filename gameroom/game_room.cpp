#include "gameroom/game_room.h"

#include "engine/apply.h"
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
    kingChoice_.reset();
    view_.statusChanged();
    view_.boardChanged();
}

void GameRoom::activate()
{
    if (kingChoice_) {
        view_.boardChanged();
        return;
    }
    cleanScreen();
    if (pieceSelected_) {
        pieceSelected_ = false;
        clickSquare(selectedSquare_);
    }
}

void GameRoom::clickSquare(int square)
{
    if (!isSquare(square) || kingChoice_) return;
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

// The answers are asked for in play: the promotion while the board still shows
// the pawn where it was, "Castle?" while it shows the king's step alone.
void GameRoom::playMove(int drop)
{
    Move move{static_cast<std::uint8_t>(selectedSquare_), static_cast<std::uint8_t>(drop), MoveExtra::Plain};
    const int mark = marks_[drop];
    history_.record(snapshot());
    ++movesPlayed_;
    gameSaved_ = false;
    pieceSelected_ = false;
    selectionLocked_ = false;

    if (promotes(position_, drop, move.pick)) move.extra = promotionChosen();
    if (castleRookMove(drop, mark)) {
        move.extra = MoveExtra::Castle;
        // Declining leaves an ordinary one-square king move.
        if (mark == kKingsideCastleMark && !castleTaken(move)) move.extra = MoveExtra::Plain;
    }
    notation_ = notationOf(position_, move);
    lastPlayed_ = move;
    apply(position_, move);

    history_.setLatestMoveText(notation_);
    cleanScreen();
    checkShown_ = false;
    judge();
    view_.statusChanged();
}

MoveExtra GameRoom::promotionChosen()
{
    if (view_.ask(Question::Queen)) return MoveExtra::Queen;
    if (view_.ask(Question::Knight)) return MoveExtra::Knight;
    if (view_.ask(Question::Rook)) return MoveExtra::Rook;
    return MoveExtra::Bishop;
}

bool GameRoom::castleTaken(const Move& move)
{
    const Position before = position_;
    apply(position_, {move.pick, move.drop, MoveExtra::Plain});
    const bool taken = view_.ask(Question::Castle);
    position_ = before;
    return taken;
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
    return gameSaved_ || view_.ask(Question::ExitWithoutSaving);
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
