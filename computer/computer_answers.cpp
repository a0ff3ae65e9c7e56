#include "computer/computer_answers.h"

#include "gameroom/game_room.h"

namespace palisade {

bool ComputerAnswers::ask(Question question)
{
    if (const auto answer = answerOfMove(question)) return *answer;
    return ScreenRelay::ask(question);
}

std::optional<bool> ComputerAnswers::keepOfferedKing()
{
    if (computerChoosesKing()) return std::nullopt;
    return ScreenRelay::keepOfferedKing();
}

// The questions of the move the computer is playing answer themselves.
std::optional<bool> ComputerAnswers::answerOfMove(Question question) const
{
    if (!playing_) return std::nullopt;
    switch (question) {
    case Question::Queen: return playing_->extra == MoveExtra::Queen;
    case Question::Knight: return playing_->extra == MoveExtra::Knight;
    case Question::Rook: return playing_->extra == MoveExtra::Rook;
    case Question::Castle: return playing_->extra == MoveExtra::Castle;
    default: return std::nullopt;
    }
}

// The side asked is the side to move: the one that has just been mated.
bool ComputerAnswers::computerChoosesKing() const
{
    if (room_ == nullptr) return false;
    const auto side = sideToMove(room_->position().status);
    return side && players_.of(*side).computer;
}

} // namespace palisade
