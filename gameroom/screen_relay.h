#pragma once

#include "gameroom/game_room_view.h"

namespace palisade {

// A screen between the game room and the real one. It passes everything on,
// and counts the questions and notices open on the real screen: meanwhile the
// room is in the middle of a click and must not be given another. The views
// that answer some questions themselves build on it.
class ScreenRelay : public GameRoomView {
public:
    explicit ScreenRelay(GameRoomView& screen) : screen_(screen) {}

    bool screenWaiting() const { return waiting_ > 0; }

    void boardChanged() override { screen_.boardChanged(); }
    void statusChanged() override { screen_.statusChanged(); }
    bool ask(Question question) override
    {
        const Waiting waiting(waiting_);
        return screen_.ask(question);
    }
    std::optional<bool> keepOfferedKing() override
    {
        const Waiting waiting(waiting_);
        return screen_.keepOfferedKing();
    }
    void message(std::string_view text) override
    {
        const Waiting waiting(waiting_);
        screen_.message(text);
    }
    void beep() override { screen_.beep(); }
    void moveRefused(std::string_view reason) override { screen_.moveRefused(reason); }

private:
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
    int waiting_ = 0;
};

} // namespace palisade
