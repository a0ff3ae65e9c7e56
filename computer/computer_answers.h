#pragma once

#include "computer/players.h"
#include "engine/move.h"
#include "gameroom/game_room_view.h"

#include <optional>

namespace palisade {

class GameRoom;

// Stands between the game room and the screen. Everything passes through to
// the screen, except the questions the computer answers itself: the promotion
// and "Castle?" questions of a move it is playing, and "Save this king?" when
// the side that must choose is played by the computer.
class ComputerAnswers : public GameRoomView {
public:
    explicit ComputerAnswers(GameRoomView& screen) : screen_(screen) {}

    // The room whose position the two-king choice reads; set once it exists.
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
    bool confirm(std::string_view question) override;
    bool ask(std::string_view question) override;
    void message(std::string_view text) override;
    void beep() override { screen_.beep(); }
    void moveRefused(std::string_view reason) override { screen_.moveRefused(reason); }

private:
    bool computerChoosesKing() const;
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
