#pragma once

#include "gameroom/game_room_view.h"

namespace palisade {

// A screen that shows nothing and answers every question the same way: for
// reading a game's position or timing the controller without a window.
class SilentView : public GameRoomView {
public:
    explicit SilentView(bool answer = false) : answer_(answer) {}

    void boardChanged() override {}
    void statusChanged() override {}
    bool confirm(std::string_view) override { return answer_; }
    bool ask(std::string_view) override { return answer_; }
    void message(std::string_view) override {}
    void beep() override {}

private:
    bool answer_;
};

} // namespace palisade
