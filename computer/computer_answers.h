#pragma once

#include "computer/players.h"
#include "engine/move.h"
#include "gameroom/game_room_view.h"

#include <optional>

namespace palisade {

class GameRoom;

// Stands between the game room and the screen. Everything passes through to
// the screen, except what the computer answers itself: the promotion and
// "Castle?" questions of a move it is playing, and the king to save when the
// side that must choose is played by the computer: that answer comes later,
// from a look ahead (`kingToKeep`), through GameRoom::answerKingChoice.
class ComputerAnswers : public GameRoomView {
public:
    explicit ComputerAnswers(GameRoomView& screen) : screen_(screen) {}

    // The room whose side to move says who chooses a king; set once it exists.
    void watch(const GameRoom& room) { room_ = &room; }
    void setPlayers(const Players& players) { players_ = players; }
    const Players& players() const { return players_; }

    // While the computer plays `move`, its questions take the move's answers.
    void beginMove(Move move) { playing_ = move; }
    void endMove() { playing_.reset(); }

    // A question or notice is open on the screen: the game room is in the
    // middle of a click and must not be given another.
    bool screenWaiting() const { return waiting_ > 0; }

    void boardChanged() override { screen_.boardChanged(); }
    void statusChanged() override { screen_.statusChanged(); }
    bool ask(Question question) override;
    std::optional<bool> keepOfferedKing() override;
    void message(std::string_view text) override;
    void beep() override { screen_.beep(); }
    void moveRefused(std::string_view reason) override { screen_.moveRefused(reason); }

private:
    bool computerChoosesKing() const;
    std::optional<bool> answerOfMove(Question question) const;
    // Counts a question or notice open on the screen for as long as it lives.
    class Waiting {
    public:
        explicit Waiting(int& count) : count_(count) { ++count_; }
        ~Waiting() { --count_; }
        Waiting(const Waiting&) = delete;
        Waiting& operator=(const Waiting&) = delete;

    private:
        int& count_;
    };

    GameRoomView& screen_;
    const GameRoom* room_ = nullptr;
    Players players_;
    std::optional<Move> playing_;
    int waiting_ = 0;
};

} // namespace palisade
