#pragma once

#include "computer/evaluation.h"
#include "computer/levels.h"
#include "engine/move.h"
#include "gameroom/game_room.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <string>

namespace palisade {

// One way of choosing moves in a match between computer players.
class Agent {
public:
    virtual ~Agent() = default;
    virtual std::string name() const = 0;
    // A legal move for the side to move in the room, or none when it has none.
    virtual std::optional<Move> choose(const GameRoom& room, std::mt19937_64& random) = 0;
};

// "1".."5" for a level, "random" for a random mover, "greedy" for a player
// that takes the most valuable piece it can, else moves at random. A level
// searches its nodes divided by `nodeScale`, for quicker matches.
std::unique_ptr<Agent> makeAgent(const std::string& name, int nodeScale = 1);

// A level searching with other evaluation weights, to tune them against the defaults.
std::unique_ptr<Agent> makeTunedAgent(int level, const EvalWeights& weights, int nodeScale = 1);

struct GameOutcome {
    Status result = Status::Draw;
    int halfMoves = 0;
    // Stopped at the length limit and judged by material.
    bool adjudicated = false;
};

// Plays one game through a game room from the start position. A game still
// going after `maxHalfMoves` is won by the side a rook ahead in material, else drawn.
GameOutcome playGame(Agent& white, Agent& black, std::uint64_t seed, int maxHalfMoves = 300);

// The first agent's score over a match, colours alternating.
struct MatchScore {
    int games = 0;
    int wins = 0;
    int draws = 0;
    int losses = 0;
    int adjudicated = 0;
    int halfMoves = 0; // of all the games together
    double score() const { return games == 0 ? 0.0 : (wins + 0.5 * draws) / games; }
    // Half the width of the 95 % confidence interval of the score.
    double margin() const;
};

// With `pairedSeeds` the games go in pairs, the second of each with the
// first's seed and the colours swapped.
MatchScore playMatch(Agent& first, Agent& second, int games, std::uint64_t seed, int maxHalfMoves = 300,
                     bool pairedSeeds = false);

} // namespace palisade
