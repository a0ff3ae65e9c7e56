#pragma once

#include "gameroom/game_room_view.h"

namespace palisade {

// A screen that shows nothing and gives fixed answers: OK or Cancel to every
// OK / Cancel question, Yes or No to every Yes / No one. For reading a game's
// position, playing games between programs, or timing the controller.
class SilentView : public GameRoomView {
public:
    explicit SilentView(bool ok = false, bool yes = false) : ok_(ok), yes_(yes) {}

    void boardChanged() override {}
    void statusChanged() override {}
    bool ask(Question question) override { return buttonsOf(question) == Buttons::OkCancel ? ok_ : yes_; }
    void message(std::string_view) override {}
    void beep() override {}

private:
    bool ok_;
    bool yes_;
};

} // namespace palisade
