#pragma once

#include "engine/piece.h"
#include "gameroom/screen_relay.h"
#include "remote/wire_message.h"

#include <optional>
#include <vector>

namespace palisade {
class GameRoom;
}

namespace palisade::remote {

// Stands between the game room and the screen in a remote game. Everything
// passes through to the screen, except: the questions of the opponent's move,
// answered from its message; and "Save this king?" when the opponent must
// choose, left for later (its choice comes by message). It also notes how the
// local player answered the questions of their own move.
// With no game attached it passes everything through.
class RemoteAnswers : public ScreenRelay {
public:
    explicit RemoteAnswers(GameRoomView& screen) : ScreenRelay(screen) {}

    void attach(const GameRoom& room, Side localSide);
    void detach();
    bool attached() const { return room_ != nullptr; }

    // While the opponent's move is played, its questions take `answer`.
    void beginOpponentMove(MoveAnswer answer);
    void endOpponentMove();
    // What the local player answered since the last call: the answer of the move.
    MoveAnswer takeLocalAnswer();
    // The king the local player kept when the screen answered "Save this
    // king?" at once (its square as the board stood), since the last call.
    std::optional<int> takeLocalKingKept();

    bool ask(Question question) override;
    std::optional<bool> keepOfferedKing() override;

private:
    const GameRoom* room_ = nullptr;
    Side localSide_ = Side::White;
    std::optional<MoveAnswer> opponentAnswer_;
    std::vector<Question> localQuestions_; // with their answers, in order
    std::vector<bool> localReplies_;
    std::optional<int> localKingKept_;
};

// The reply a move's answer gives to one of its questions; nothing for any
// other question.
std::optional<bool> answerFromMove(Question question, MoveAnswer answer);
// A move's answer from the questions asked of it and their replies, in order.
MoveAnswer answerOfReplies(const std::vector<Question>& questions, const std::vector<bool>& replies);

} // namespace palisade::remote
