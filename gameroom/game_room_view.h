#pragma once

#include "gameroom/question.h"

#include <optional>
#include <string_view>

namespace palisade {

// What the game room needs of a screen. The window implements it with
// widgets; tests and scripts implement it in plain text.
class GameRoomView {
public:
    virtual ~GameRoomView() = default;

    // The position, the selection or the marks changed: draw the field again.
    virtual void boardChanged() = 0;

    // The status text, the check label, the move number, the notation or
    // what the history offers changed.
    virtual void statusChanged() = 0;

    // A question with the buttons `buttonsOf` names; true for Yes or OK.
    virtual bool ask(Question question) = 0;

    // The side to move must give up one of its two kings. The room shows the
    // king it offers selected with its marks, the other off the board. True
    // keeps the offered king, false the other; nothing when the answer comes
    // later, through GameRoom::answerKingChoice.
    virtual std::optional<bool> keepOfferedKing() { return ask(Question::SaveThisKing); }

    // A notice the player acknowledges with OK.
    virtual void message(std::string_view text) = 0;

    // Check, a win or a draw.
    virtual void beep() = 0;

    // A click asked for a move the rules refuse; `reason` says why. Nothing changed.
    virtual void moveRefused(std::string_view /*reason*/) {}
};

} // namespace palisade
