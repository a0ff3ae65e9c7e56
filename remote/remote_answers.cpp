#include "remote/remote_answers.h"

#include "gameroom/game_room.h"

namespace palisade::remote {

namespace {

bool isMoveQuestion(Question question)
{
    return question == Question::Queen || question == Question::Knight || question == Question::Rook
        || question == Question::Castle;
}

} // namespace

std::optional<bool> answerFromMove(Question question, MoveAnswer answer)
{
    switch (question) {
    case Question::Queen: return answer == MoveAnswer::Queen;
    case Question::Knight: return answer == MoveAnswer::Knight;
    case Question::Rook: return answer == MoveAnswer::Rook;
    case Question::Castle: return answer == MoveAnswer::CastleTaken;
    default: return std::nullopt;
    }
}

MoveAnswer answerOfReplies(const std::vector<Question>& questions, const std::vector<bool>& replies)
{
    for (std::size_t k = 0; k < questions.size() && k < replies.size(); ++k) {
        if (questions[k] == Question::Castle) return replies[k] ? MoveAnswer::CastleTaken : MoveAnswer::CastleDeclined;
        if (!replies[k]) continue;
        if (questions[k] == Question::Queen) return MoveAnswer::Queen;
        if (questions[k] == Question::Knight) return MoveAnswer::Knight;
        if (questions[k] == Question::Rook) return MoveAnswer::Rook;
    }
    // "No" to every piece offered leaves a bishop.
    return questions.empty() ? MoveAnswer::None : MoveAnswer::Bishop;
}

void RemoteAnswers::attach(const GameRoom& room, Side localSide)
{
    room_ = &room;
    localSide_ = localSide;
}

void RemoteAnswers::detach()
{
    room_ = nullptr;
    opponentAnswer_.reset();
    localQuestions_.clear();
    localReplies_.clear();
    localKingKept_.reset();
}

void RemoteAnswers::beginOpponentMove(MoveAnswer answer) { opponentAnswer_ = answer; }

void RemoteAnswers::endOpponentMove() { opponentAnswer_.reset(); }

MoveAnswer RemoteAnswers::takeLocalAnswer()
{
    const MoveAnswer answer = answerOfReplies(localQuestions_, localReplies_);
    localQuestions_.clear();
    localReplies_.clear();
    return answer;
}

std::optional<int> RemoteAnswers::takeLocalKingKept()
{
    const auto kept = localKingKept_;
    localKingKept_.reset();
    return kept;
}

bool RemoteAnswers::ask(Question question)
{
    if (attached() && opponentAnswer_ && isMoveQuestion(question)) return *answerFromMove(question, *opponentAnswer_);
    const bool reply = ScreenRelay::ask(question);
    if (attached() && isMoveQuestion(question)) {
        localQuestions_.push_back(question);
        localReplies_.push_back(reply);
    }
    return reply;
}

// The side asked is the side to move: the one that has just been mated.
std::optional<bool> RemoteAnswers::keepOfferedKing()
{
    if (!attached()) return ScreenRelay::keepOfferedKing();
    const auto side = sideToMove(room_->position().status);
    if (side != localSide_) return std::nullopt;
    const auto choice = room_->kingChoice();
    const std::optional<bool> keep = ScreenRelay::keepOfferedKing();
    if (keep && choice) localKingKept_ = *keep ? choice->offered : choice->other;
    return keep;
}

} // namespace palisade::remote
