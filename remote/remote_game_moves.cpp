#include "remote/remote_game.h"

#include "engine/orientation.h"
#include "remote/position_hash.h"
#include "remote/remote_answers.h"

#include <memory>
#include <vector>

namespace palisade::remote {

namespace {

// The screen of a room that tries a move: it answers the move's questions
// from its answer, notes them, and leaves a king choice waiting.
class TrialView : public GameRoomView {
public:
    explicit TrialView(MoveAnswer answer) : answer_(answer) {}

    void boardChanged() override {}
    void statusChanged() override {}
    bool ask(Question question) override
    {
        const bool reply = answerFromMove(question, answer_).value_or(false);
        asked_.push_back(question);
        replies_.push_back(reply);
        return reply;
    }
    std::optional<bool> keepOfferedKing() override { return std::nullopt; }
    void message(std::string_view) override {}
    void beep() override {}

    // The answer is exactly what the questions asked called for.
    bool answerFits() const { return answerOfReplies(asked_, replies_) == answer_; }

private:
    MoveAnswer answer_;
    std::vector<Question> asked_;
    std::vector<bool> replies_;
};

// A copy of a game at one of its positions, to try a move on.
struct TrialRoom {
    TrialView view;
    GameRoom room{view};

    TrialRoom(const GameRoom& original, int halfMove, MoveAnswer answer) : view(answer)
    {
        room.loadRecovered(original.savedGame());
        room.goToHalfMove(halfMove);
    }
};

int asSeen(int square, const Position& position)
{
    return position.sidesSwitched == 0 ? square : turnedSquare(square);
}

// Picks and drops as a player would, whatever was selected before; the drop
// is clicked only when the room marks it, so nothing else happens.
void clickMove(GameRoom& room, int pick, int drop)
{
    if (room.pieceSelected() && room.selectedSquare() != pick && !room.selectionLocked()) {
        room.clickSquare(room.selectedSquare());
    }
    if (!room.pieceSelected()) room.clickSquare(pick);
    if (room.pieceSelected() && room.selectedSquare() == pick && room.isTarget(drop)) room.clickSquare(drop);
}

} // namespace

void RemoteGame::inputBegan()
{
    movesAtInput_ = room_.movesPlayed();
    choiceAtInput_ = room_.kingChoice();
    answers_.takeLocalAnswer();
}

void RemoteGame::inputEnded()
{
    if (!started()) return;
    if (room_.movesPlayed() != movesAtInput_) {
        sendLocalMove();
    } else if (choiceAtInput_ && !room_.kingChoice() && sideToMove(room_.position().status) == setup_.localSide) {
        // The king that stands on either square of the choice is the one kept.
        const KingChoice& choice = *choiceAtInput_;
        sendLocalKing(room_.position().squares[choice.offered] != kEmpty ? choice.offered : choice.other);
    }
    listener_.remoteChanged();
}

void RemoteGame::sendLocalMove()
{
    const Move& move = room_.lastPlayed();
    const Position& position = room_.position();
    MoveMessage message{state_.agreedHalfMove, asSeen(move.pick, position), asSeen(move.drop, position),
                        answers_.takeLocalAnswer(), roomHash(room_)};
    post(message);
    state_.agreedHalfMove = room_.halfMoves();
    agreedMoved();
}

void RemoteGame::sendLocalKing(int kept)
{
    post(KingMessage{state_.agreedHalfMove, asSeen(kept, room_.position()), roomHash(room_)});
    agreedMoved();
}

// A move of the opponent is tried on a copy of the game first: only a legal
// move, answered as its questions ask, that leads to the position the
// opponent reached, reaches the room.
void RemoteGame::moveArrived(const MoveMessage& move)
{
    if (const auto reason = whyNotPlayable(move)) return refuse(*reason);
    {
        TrialRoom tried(room_, state_.agreedHalfMove, move.answer);
        const int before = tried.room.movesPlayed();
        clickMove(tried.room, asSeen(move.pick, tried.room.position()), asSeen(move.drop, tried.room.position()));
        if (tried.room.movesPlayed() == before) return refuse("The opponent's move is not legal here.");
        if (!tried.view.answerFits()) return refuse("The opponent's move does not answer the questions it asks.");
        if (roomHash(tried.room) != move.hash) {
            return desync("The opponent's move leads to another position than the opponent reports.");
        }
    }
    room_.goToHalfMove(state_.agreedHalfMove);
    answers_.beginOpponentMove(move.answer);
    clickMove(room_, asSeen(move.pick, room_.position()), asSeen(move.drop, room_.position()));
    answers_.endOpponentMove();
    state_.agreedHalfMove = room_.halfMoves();
    agreedMoved();
    // The move may leave the local player a king to give up, chosen at once.
    if (const auto kept = answers_.takeLocalKingKept()) sendLocalKing(*kept);
}

std::optional<std::string> RemoteGame::whyNotPlayable(const MoveMessage& move) const
{
    const auto side = sideToMoveAgreed();
    if (!side) return "The opponent moved in a game that is over.";
    if (*side != opponent(setup_.localSide) || room_.kingChoice()) return "The opponent moved out of turn.";
    if (move.halfMove != state_.agreedHalfMove) {
        return "The opponent moved at half-move " + std::to_string(move.halfMove) + "; the game stands at half-move "
            + std::to_string(state_.agreedHalfMove) + ".";
    }
    return std::nullopt;
}

void RemoteGame::kingArrived(const KingMessage& king)
{
    const auto& choice = room_.kingChoice();
    if (!choice || sideToMove(room_.position().status) != opponent(setup_.localSide)) {
        return refuse("The opponent chose a king when none was to be chosen.");
    }
    if (king.halfMove != state_.agreedHalfMove) return refuse("The opponent chose a king at another position.");
    const int kept = asSeen(king.kept, room_.position());
    if (kept != choice->offered && kept != choice->other) return refuse("The opponent kept a king that is not one of the two.");
    // What answerKingChoice makes of the board: the kept king stays, the other goes.
    Position after = room_.position();
    if (kept == choice->other) std::swap(after.squares[choice->offered], after.squares[choice->other]);
    after.kingsStanding = 1;
    if (positionHash(after, room_.halfMoves()) != king.hash) {
        return desync("The opponent's king choice leads to another position than the opponent reports.");
    }
    room_.answerKingChoice(kept);
    agreedMoved();
}

// The sides disagree: the move is refused, and our position goes to the
// opponent so that both can see where they part.
void RemoteGame::desync(std::string_view reason)
{
    refuse(reason);
    post(Sync{state_.agreedHalfMove, agreedHash()});
}

// Offers belong to the position they were made in.
void RemoteGame::agreedMoved()
{
    state_.ownOffer.reset();
    state_.opponentOffer.reset();
    listener_.agreedGameChanged();
}

std::optional<Side> RemoteGame::sideToMoveAgreed() const
{
    if (room_.halfMoves() == state_.agreedHalfMove) return sideToMove(room_.position().status);
    const auto& status = room_.history().entry(state_.agreedHalfMove).status;
    return status ? sideToMove(*status) : std::nullopt;
}

std::uint64_t RemoteGame::agreedHash() const
{
    if (room_.halfMoves() == state_.agreedHalfMove) return roomHash(room_);
    const TrialRoom agreed(room_, state_.agreedHalfMove, MoveAnswer::None);
    return roomHash(agreed.room);
}

} // namespace palisade::remote
