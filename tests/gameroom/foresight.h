#pragma once

#include "gameroom/game_room.h"

#include <algorithm>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace palisade::trace {

// Where a move leads, from nothing special up to the rarest ends.
enum class Outcome { Quiet, Check, Mate, KingChoice, OneKingLeft, BothKingsMated, LoneKingDraw };

// Moves tried in a game room of its own that nobody sees: which moves the
// side to move has, and where each leads. Each move tried is taken back
// again. It answers Yes to every question.
class Foresight {
public:
    Foresight() : room_(std::make_unique<GameRoom>(view_)) {}

    // Sets the position up and returns every move of the side to move, as
    // clicks find them.
    std::vector<std::pair<int, int>> moves(const Position& position)
    {
        std::vector<std::pair<int, int>> found;
        room_->setUp(position);
        const auto side = sideToMove(position.status);
        for (int from = 0; side && from < kSquareCount; ++from) {
            if (!belongsTo(position.squares[from], *side)) continue;
            room_->clickSquare(from);
            for (int to = 0; to < kSquareCount; ++to) {
                if (room_->isTarget(to)) found.emplace_back(from, to);
            }
        }
        if (room_->pieceSelected()) room_->clickSquare(room_->selectedSquare());
        return found;
    }

    // One of the moves found, played and taken back.
    Outcome after(int from, int to)
    {
        view_.kingChoice = false;
        room_->clickSquare(from);
        room_->clickSquare(to);
        const Outcome outcome = outcomeShown();
        room_->takeBack();
        return outcome;
    }

private:
    Outcome outcomeShown() const
    {
        const Position& now = room_->position();
        if (const auto result = room_->result()) {
            if (result->reason == EndReason::LoneKing) return Outcome::LoneKingDraw;
            if (result->status == Status::Draw) return Outcome::Quiet;
            const Side loser = result->status == Status::WhiteWins ? Side::Black : Side::White;
            const auto kings =
                std::count(now.squares.begin(), now.squares.end(), codeOf(loser, Kind::King));
            return now.winOption == 1 && kings == 2 ? Outcome::BothKingsMated : Outcome::Mate;
        }
        if (view_.kingChoice) return Outcome::KingChoice;
        if (room_->kingGivenUp(room_->halfMoves())) return Outcome::OneKingLeft;
        return room_->checkShown() ? Outcome::Check : Outcome::Quiet;
    }

    struct UnseenView : GameRoomView {
        void boardChanged() override {}
        void statusChanged() override {}
        bool ask(Question question) override
        {
            if (buttonsOf(question) == Buttons::OkCancel) return false;
            kingChoice = kingChoice || question == Question::SaveThisKing;
            return true;
        }
        void message(std::string_view) override {}
        void beep() override {}
        bool kingChoice = false;
    };

    UnseenView view_;
    std::unique_ptr<GameRoom> room_; // a game room is large: kept off the stack
};

} // namespace palisade::trace
