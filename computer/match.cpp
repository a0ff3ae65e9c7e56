#include "computer/match.h"

#include "computer/computer_answers.h"
#include "computer/evaluation.h"
#include "computer/room_moves.h"
#include "gameroom/silent_view.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace palisade {

namespace {

MoveList roomMoves(const GameRoom& room)
{
    MoveList all;
    MoveBoard(room.position()).generate(all);
    return room.selectionLocked() ? movesFrom(all, room.selectedSquare()) : all;
}

std::optional<Move> anyOf(const MoveList& moves, std::mt19937_64& random)
{
    if (moves.empty()) return std::nullopt;
    return moves[std::uniform_int_distribution<std::size_t>(0, moves.size() - 1)(random)];
}

class RandomAgent : public Agent {
public:
    std::string name() const override { return "random"; }
    std::optional<Move> choose(const GameRoom& room, std::mt19937_64& random) override
    {
        return anyOf(roomMoves(room), random);
    }
};

class GreedyAgent : public Agent {
public:
    std::string name() const override { return "greedy"; }
    std::optional<Move> choose(const GameRoom& room, std::mt19937_64& random) override
    {
        const MoveList moves = roomMoves(room);
        MoveList best;
        int bestValue = 1;
        for (const Move move : moves) {
            const int value = pieceValue(room.position().squares[move.drop]);
            if (value > bestValue) {
                best.clear();
                bestValue = value;
            }
            if (value == bestValue) best.push(move);
        }
        return anyOf(best.empty() ? moves : best, random);
    }
};

class LevelAgent : public Agent {
public:
    LevelAgent(int level, int nodeScale, const EvalWeights& weights = {}, std::string tag = {})
        : level_(level), nodeScale_(nodeScale), tag_(std::move(tag)), searcher_(16, weights)
    {
    }
    std::string name() const override { return "level " + std::to_string(level_) + tag_; }
    std::optional<Move> choose(const GameRoom& room, std::mt19937_64& random) override
    {
        SearchLimits limits = roomLimits(room, levelOf(level_), random());
        // Matches are measured in nodes alone, so that they come out alike on any machine.
        limits.maxTime = std::chrono::milliseconds(0);
        limits.maxNodes = std::max<std::int64_t>(1, limits.maxNodes / nodeScale_);
        const std::atomic<bool> never{false};
        return searcher_.search(room.position(), limits, never).best;
    }

private:
    int level_;
    int nodeScale_;
    std::string tag_;
    Searcher searcher_;
};

int materialOf(const Position& position, Side side)
{
    int total = 0;
    for (const int code : position.squares) {
        if (isPiece(code) && belongsTo(code, side) && !isKing(code)) total += pieceValue(code);
    }
    return total;
}

Status adjudicate(const Position& position)
{
    constexpr int kClearLead = 450;
    const int lead = materialOf(position, Side::White) - materialOf(position, Side::Black);
    if (lead >= kClearLead) return Status::WhiteWins;
    if (lead <= -kClearLead) return Status::BlackWins;
    return Status::Draw;
}

} // namespace

std::unique_ptr<Agent> makeAgent(const std::string& name, int nodeScale)
{
    if (name == "random") return std::make_unique<RandomAgent>();
    if (name == "greedy") return std::make_unique<GreedyAgent>();
    if (name.size() == 1 && name[0] >= '1' && name[0] < '1' + kLevelCount) {
        return std::make_unique<LevelAgent>(name[0] - '0', std::max(1, nodeScale));
    }
    return nullptr;
}

std::unique_ptr<Agent> makeTunedAgent(int level, const EvalWeights& weights, int nodeScale)
{
    return std::make_unique<LevelAgent>(level, std::max(1, nodeScale), weights, " (tuned)");
}

GameOutcome playGame(Agent& white, Agent& black, std::uint64_t seed, int maxHalfMoves)
{
    // Nobody looks: the computer answers every question of its own moves.
    SilentView screen(true, false);
    ComputerAnswers answers(screen);
    GameRoom room(answers);
    answers.watch(room);
    answers.setPlayers({{true, 1}, {true, 1}});
    room.setUp();
    std::mt19937_64 random(seed);
    int played = 0;
    while (const auto side = sideToMove(room.position().status)) {
        if (played == maxHalfMoves) return {adjudicate(room.position()), played, true};
        Agent& agent = *side == Side::White ? white : black;
        const auto move = agent.choose(room, random);
        if (!move) throw std::logic_error(agent.name() + " found no move in a game still going");
        const int before = room.halfMoves();
        playComputerMove(room, answers, *move);
        chooseKingNow(room);
        if (room.halfMoves() == before) throw std::logic_error(agent.name() + " chose a move the game refused");
        ++played;
    }
    return {room.position().status, played, false};
}

double MatchScore::margin() const
{
    if (games < 2) return 1.0;
    const double mean = score();
    const double sumSquares = wins * (1.0 - mean) * (1.0 - mean) + draws * (0.5 - mean) * (0.5 - mean)
                              + losses * mean * mean;
    const double deviation = std::sqrt(sumSquares / (games - 1));
    return 1.96 * deviation / std::sqrt(static_cast<double>(games));
}

MatchScore playMatch(Agent& first, Agent& second, int games, std::uint64_t seed, int maxHalfMoves,
                     bool pairedSeeds)
{
    MatchScore score;
    for (int game = 0; game < games; ++game) {
        const bool firstIsWhite = game % 2 == 0;
        const std::uint64_t gameSeed = seed + static_cast<std::uint64_t>(pairedSeeds ? game / 2 : game);
        const GameOutcome outcome = firstIsWhite ? playGame(first, second, gameSeed, maxHalfMoves)
                                                 : playGame(second, first, gameSeed, maxHalfMoves);
        const Status firstWins = firstIsWhite ? Status::WhiteWins : Status::BlackWins;
        ++score.games;
        if (outcome.adjudicated) ++score.adjudicated;
        score.halfMoves += outcome.halfMoves;
        if (outcome.result == Status::Draw) ++score.draws;
        else if (outcome.result == firstWins) ++score.wins;
        else ++score.losses;
    }
    return score;
}

} // namespace palisade
