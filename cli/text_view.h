#pragma once

#include "gameroom/game_room_view.h"

#include <ostream>
#include <string>

namespace palisade {

// The game room's screen as lines of text: questions are answered from a
// list of letters (y, n; n once it runs out), and every question, notice and
// beep is written out in the order the game makes them.
class TextView : public GameRoomView {
public:
    TextView(std::ostream& out, std::string answers) : out_(out), answers_(std::move(answers)) {}

    void boardChanged() override {}
    void statusChanged() override {}
    bool ask(Question question) override
    {
        const bool okCancel = buttonsOf(question) == Buttons::OkCancel;
        return answer(questionText(question), okCancel ? "ok" : "yes", okCancel ? "cancel" : "no");
    }
    void message(std::string_view text) override { out_ << "say " << text << '\n'; }
    void beep() override { out_ << "beep\n"; }

private:
    bool answer(std::string_view question, const char* yes, const char* no)
    {
        const bool agreed = next_ < answers_.size() && answers_[next_] == 'y';
        if (next_ < answers_.size()) ++next_;
        out_ << "ask " << question << " -> " << (agreed ? yes : no) << '\n';
        return agreed;
    }

    std::ostream& out_;
    std::string answers_;
    std::size_t next_ = 0;
};

} // namespace palisade
