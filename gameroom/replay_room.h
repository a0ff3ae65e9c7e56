#pragma once

#include "engine/move.h"
#include "gameroom/game_room.h"

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace palisade {

// The screen of a game played again from a record: it answers each question
// from the answers the move carries and leaves a king choice for the record
// to answer. A question it was not given is answered No and remembered; a
// notice ("Can't Change Now!") shows as what failed to change.
class ReplayView : public GameRoomView {
public:
    void expect(std::vector<std::pair<Question, bool>> answers) { answers_.assign(answers.begin(), answers.end()); }
    // Every answer given asked for, and nothing else asked.
    bool answeredAsExpected() const { return answers_.empty() && !surprised_; }

    void boardChanged() override {}
    void statusChanged() override {}
    bool ask(Question question) override;
    std::optional<bool> keepOfferedKing() override { return std::nullopt; }
    void message(std::string_view) override {}
    void beep() override {}

private:
    std::deque<std::pair<Question, bool>> answers_;
    bool surprised_ = false;
};

// A fresh game room that plays moves given as `Move`s with their answers, by
// the clicks a player would make.
class ReplayRoom {
public:
    // The game starts from `start` (the standard position when there is none).
    ReplayRoom(const std::optional<Position>& start, int winOption);
    ReplayRoom(const ReplayRoom&) = delete;
    ReplayRoom& operator=(const ReplayRoom&) = delete;

    const GameRoom& room() const { return room_; }
    GameRoom& room() { return room_; }

    // The moves the side to move may make from the pieces on `picks`, each
    // with every answer it can be given; only the kept king's while it must move.
    std::vector<Move> movesFrom(const std::vector<int>& picks) const;

    // Plays `move`; when the side now to move must choose a king, `keptKing`
    // answers. Says why it could not, or nothing.
    struct Played {
        std::optional<std::string> refusal;
        bool kingChosen = false;     // "Save this king?" was asked and answered
        bool castleDeclined = false; // "Castle?" was asked and answered No
    };
    Played play(const Move& move, std::optional<int> keptKing);

    // Toggles the win option to `winOption`; false when the room will not.
    bool setWinOption(int winOption);

private:
    ReplayView view_;
    GameRoom room_;
};

} // namespace palisade
