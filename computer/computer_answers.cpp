#include "computer/computer_answers.h"

#include "computer/king_choice.h"
#include "gameroom/game_room.h"

namespace palisade {

bool ComputerAnswers::confirm(std::string_view question)
{
    const Waiting waiting(waiting_);
    return screen_.confirm(question);
}

void ComputerAnswers::message(std::string_view text)
{
    const Waiting waiting(waiting_);
    screen_.message(text);
}

bool ComputerAnswers::ask(std::string_view question)
{
    if (question == "Save this king?" && computerChoosesKing()) return saveSelectedKing(*room_);
    const auto askScreen = [&] {
        const Waiting waiting(waiting_);
        return screen_.ask(question);
    };
    if (!playing_) return askScreen();
    if (question == "Queen?") return playing_->extra == MoveExtra::Queen;
    if (question == "Knight?") return playing_->extra == MoveExtra::Knight;
    if (question == "Rook?") return playing_->extra == MoveExtra::Rook;
    if (question == "Castle?") return playing_->extra == MoveExtra::Castle;
    return askScreen();
}

// The side asked is the side to move: the one that has just been mated.
bool ComputerAnswers::computerChoosesKing() const
{
    if (room_ == nullptr) return false;
    const auto side = sideToMove(room_->position().status);
    return side && players_.of(*side).computer;
}

} // namespace palisade
