#pragma once

#include "computer/computer_answers.h"
#include "computer/levels.h"
#include "gameroom/game_room.h"

#include <cstdint>

namespace palisade {

// What a search of the room's position must respect: the level's budget, a
// king that must move after the two-king choice, and the positions just
// played, for the repetition draw.
SearchLimits roomLimits(const GameRoom& room, const Level& level, std::uint64_t seed);

// Plays a move of the side to move by the clicks a player would make, the
// computer answering the move's questions.
void playComputerMove(GameRoom& room, ComputerAnswers& answers, Move move);

// The computer chooses the king to save at once, when the room waits for it.
void chooseKingNow(GameRoom& room);

} // namespace palisade
