#pragma once

#include "computer/players.h"
#include "engine/move.h"
#include "gameroom/screen_relay.h"

#include <optional>

namespace palisade {

class GameRoom;

// Stands between the game room and the screen. Everything passes through to
// the screen, except what the computer answers itself: the promotion and
// "Castle?" questions of a move it is playing, and the king to save when the
// side that must choose is played by the computer: that answer comes later,
// from a look ahead (`kingToKeep`), through GameRoom::answerKingChoice.
class ComputerAnswers : public ScreenRelay {
public:
    explicit ComputerAnswers(GameRoomView& screen) : ScreenRelay(screen) {}

    // The room whose side to move says who chooses a king; set once it exists.
    void watch(const GameRoom& room) { room_ = &room; }
    void setPlayers(const Players& players) { players_ = players; }
    const Players& players() const { return players_; }

    // While the computer plays `move`, its questions take the move's answers.
    void beginMove(Move move) { playing_ = move; }
    void endMove() { playing_.reset(); }

    bool ask(Question question) override;
    std::optional<bool> keepOfferedKing() override;

private:
    bool computerChoosesKing() const;
    std::optional<bool> answerOfMove(Question question) const;
    const GameRoom* room_ = nullptr;
    Players players_;
    std::optional<Move> playing_;
};

} // namespace palisade
