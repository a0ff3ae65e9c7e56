#pragma once

#include "computer/levels.h"
#include "engine/piece.h"

#include <optional>
#include <string>

namespace palisade {

// Who plays one side: a person, or the computer at a level.
struct Player {
    bool computer = false;
    int level = kDefaultLevel;

    friend bool operator==(const Player&, const Player&) = default;
};

// Who plays White and Black. Two people at one screen unless chosen otherwise.
struct Players {
    Player white;
    Player black;

    const Player& of(Side side) const { return side == Side::White ? white : black; }
    bool anyComputer() const { return white.computer || black.computer; }

    friend bool operator==(const Players&, const Players&) = default;
};

// The players are kept beside a saved game in a small text file of their own,
// NAME.brd.players, so the game file itself stays as every reader expects it.
std::string playersFileName(const std::string& gameFileName);

// "White: Person" / "White: Computer 3" and the same for Black, one a line.
std::string playersText(const Players& players);
std::optional<Players> playersOfText(const std::string& text);

// The players kept beside a game: none, those of the game file as it is, or a
// file that does not belong to it (kept for other bytes, or not a players file).
struct KeptPlayers {
    enum class State { None, Kept, NotThisGame };
    State state = State::None;
    Players players;
};
KeptPlayers readPlayers(const std::string& gameFileName);
// Written once the game file is; two people need no file: an old one is
// removed so it cannot outlive them.
bool keepPlayers(const std::string& gameFileName, const Players& players);

} // namespace palisade
