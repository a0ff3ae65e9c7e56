#pragma once

#include "gameroom/game_room_view.h"

#include <string>
#include <string_view>
#include <vector>

namespace palisade {

// A screen in plain text: counts redraws and beeps, keeps every question and notice.
class RecordingView : public GameRoomView {
public:
    void boardChanged() override { ++redraws; }
    void statusChanged() override { ++statusChanges; }
    bool confirm(std::string_view question) override
    {
        questions.emplace_back(question);
        return answer;
    }
    // Yes / No questions take the queued answers in turn, then No.
    bool ask(std::string_view question) override
    {
        questions.emplace_back(question);
        if (answers.empty()) return false;
        const bool yes = answers.front();
        answers.erase(answers.begin());
        return yes;
    }
    void message(std::string_view text) override { messages.emplace_back(text); }
    void beep() override { ++beeps; }

    int redraws = 0;
    int beeps = 0;
    std::vector<std::string> messages;
    int statusChanges = 0;
    bool answer = false;
    std::vector<bool> answers;
    std::vector<std::string> questions;
};

} // namespace palisade
