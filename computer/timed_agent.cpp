#include "computer/timed_agent.h"

#include "computer/room_moves.h"
#include "computer/search.h"

#include <string>

namespace palisade {

namespace {

class TimedAgent : public Agent {
public:
    TimedAgent(std::chrono::milliseconds perMove, int threads, int randomHalfMoves)
        : perMove_(perMove), threads_(threads), randomHalfMoves_(randomHalfMoves), searcher_(64)
    {
    }

    std::string name() const override
    {
        return std::to_string(threads_) + (threads_ == 1 ? " thread" : " threads") + " at "
               + std::to_string(perMove_.count()) + " ms";
    }

    std::optional<Move> choose(const GameRoom& room, std::mt19937_64& random) override
    {
        if (room.halfMoves() < randomHalfMoves_) return randomMove(room, random);
        SearchLimits limits = roomLimits(room, levelOf(kLevelCount), 0);
        limits.maxNodes = 0;
        limits.maxTime = perMove_;
        limits.noise = 0;
        limits.threads = threads_;
        const std::atomic<bool> never{false};
        return searcher_.search(room.position(), limits, never).best;
    }

private:
    static std::optional<Move> randomMove(const GameRoom& room, std::mt19937_64& random)
    {
        MoveList moves;
        MoveBoard(room.position()).generate(moves);
        if (room.selectionLocked()) moves = movesFrom(moves, room.selectedSquare());
        if (moves.empty()) return std::nullopt;
        return moves[std::uniform_int_distribution<std::size_t>(0, moves.size() - 1)(random)];
    }

    std::chrono::milliseconds perMove_;
    int threads_;
    int randomHalfMoves_;
    Searcher searcher_;
};

} // namespace

std::unique_ptr<Agent> makeTimedAgent(std::chrono::milliseconds perMove, int threads, int randomHalfMoves)
{
    return std::make_unique<TimedAgent>(perMove, threads, randomHalfMoves);
}

} // namespace palisade
