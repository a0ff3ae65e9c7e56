#pragma once

#include "engine/position.h"
#include "gameroom/result_reading.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace palisade {

// One half-move as a game text writes it: the notation, and what the notation
// does not say.
struct TextMove {
    std::string notation;
    // {keeps 1c1}: the king the side kept when "Save this king?" was asked.
    std::optional<std::string> keptKing;
    // {no castle}: "Castle?" was answered No and the king made its single step.
    bool castleDeclined = false;

    friend bool operator==(const TextMove&, const TextMove&) = default;
};

// The win option toggled once `halfMove` half-moves had been played.
struct WinOptionChange {
    int halfMove = 0;
    int winOption = 0;

    friend bool operator==(const WinOptionChange&, const WinOptionChange&) = default;
};

// A game as plain text: the tags of its header and its moves. Squares are
// named as the notation names them with the sides not switched.
struct GameText {
    std::string date = "?";
    std::string white = "?";
    std::string black = "?";
    int winOption = 0; // the option the first move was played under
    std::vector<WinOptionChange> winOptionChanges;
    // The first position when it is not the standard one.
    std::optional<Position> start;
    // How the game ended; nothing while it goes on.
    std::optional<Status> result;
    std::optional<EndReason> termination;
    // The position on the board, when the player had stepped back from the newest.
    std::optional<int> shownHalfMove;
    // The piece the player had picked up, with its marks showing.
    std::optional<std::string> selected;
    std::vector<TextMove> moves;

    friend bool operator==(const GameText&, const GameText&) = default;
};

// Far more than the longest game the history holds.
inline constexpr std::size_t kMaxGameTextBytes = 256 * 1024;

// Why a game text could not be read or played, in words for the player.
struct TextError {
    std::string reason;
};

std::string writeGameText(const GameText& game);
// Reads the tags and the moves; whether the moves can be played is for the
// replay to find out.
std::variant<GameText, TextError> readGameText(std::string_view text);

// The first position in one line: the 16 rows of the block (half-board 1 row
// a first) with empty runs as digits, the side to move, the 16 castling flags,
// the en passant square or "-", the kings standing and the lone-king flag.
std::string startText(const Position& start);
std::optional<Position> startOfText(std::string_view text);

// "Standard" / "Destroy Both Kings!" and the endings' names as the tags write them.
std::string_view winOptionName(int winOption);
std::string_view terminationName(EndReason reason);

// A square named as the notation names it with the sides not switched ("1c1").
std::optional<int> squareOfText(std::string_view text);

} // namespace palisade
