#pragma once

#include "../engine/test_positions.h"
#include "gameroom/game_room.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace palisade {

using Line = std::vector<std::pair<int, int>>;

// A screen in plain text: counts redraws and beeps, keeps every question and notice.
// OK / Cancel questions get `answer`; Yes / No questions the queued `answers` in turn, then No.
class RecordingView : public GameRoomView {
public:
    void boardChanged() override { ++redraws; }
    void statusChanged() override { ++statusChanges; }
    bool ask(Question question) override
    {
        questions.emplace_back(questionText(question));
        if (buttonsOf(question) == Buttons::OkCancel) return answer;
        const bool yes = !answers.empty() && answers.front();
        if (!answers.empty()) answers.erase(answers.begin());
        return yes;
    }
    std::optional<bool> keepOfferedKing() override
    {
        if (kingChoiceLater) return std::nullopt;
        return GameRoomView::keepOfferedKing();
    }
    void message(std::string_view text) override { messages.emplace_back(text); }
    void beep() override { ++beeps; }

    int redraws = 0, statusChanges = 0, beeps = 0;
    bool answer = false;
    bool kingChoiceLater = false; // the king to save is answered later, through the room
    std::vector<bool> answers;
    std::vector<std::string> questions, messages;
};

// A game room on a fresh game, or on `start`, with a screen of its own.
struct Room : RecordingView, GameRoom {
    Room() : GameRoom(static_cast<RecordingView&>(*this)) { setUp(); }
    explicit Room(const Position& start) : GameRoom(static_cast<RecordingView&>(*this)) { setUp(start); }

    void play(int from, int to)
    {
        clickSquare(from);
        ASSERT_TRUE(isTarget(to)) << from << " -> " << to;
        clickSquare(to);
    }
    void play(const Line& line)
    {
        for (const auto& [from, to] : line) ASSERT_NO_FATAL_FAILURE(play(from, to));
    }
    std::map<int, int> marks() const
    {
        std::map<int, int> shown;
        for (int i = 0; i < kSquareCount; ++i) {
            if (mark(i) != kNoMark) shown[i] = mark(i);
        }
        return shown;
    }
    // Selected, with the marks the rules give the piece.
    void expectSelected(int square) const
    {
        std::map<int, int> rules;
        for (const Target& t : generateTargets(position(), square)) rules[t.square] = t.mark;
        EXPECT_TRUE(pieceSelected() && selectedSquare() == square) << square;
        EXPECT_EQ(marks(), rules);
    }
    void expectIdle() const { EXPECT_TRUE(!pieceSelected() && !selectionLocked() && marks().empty()); }
};

} // namespace palisade
