#pragma once

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

    // An OK / Cancel question; true when the player chose OK.
    virtual bool confirm(std::string_view question) = 0;

    // A Yes / No question; true for Yes.
    virtual bool ask(std::string_view question) = 0;

    // A notice the player acknowledges with OK.
    virtual void message(std::string_view text) = 0;

    // Check, a win or a draw.
    virtual void beep() = 0;

    // A click asked for a move the rules refuse; `reason` says why. Nothing changed.
    virtual void moveRefused(std::string_view /*reason*/) {}
};

} // namespace palisade
