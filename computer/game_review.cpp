#include "computer/game_review.h"

#include "computer/search.h"
#include "engine/verdict.h"

#include <algorithm>

namespace palisade {

namespace {

// The repetition rule looks back eight half-moves.
constexpr std::size_t kBoardsLookedBack = 8;
// A position with one move only is judged by the one after that move, up to
// this many such moves in a row: a search stops at once where there is no choice.
constexpr int kForcedMovesFollowed = 4;
// Small: a review searches one position at a time, a little each.
constexpr std::size_t kTableMegabytes = 16;

double inPawns(int centipawns)
{
    if (centipawns > kMateScore - kMaxPly) return kMateInPawns;
    if (centipawns < -kMateScore + kMaxPly) return -kMateInPawns;
    return centipawns / 100.0;
}

std::uint64_t boardKeyOf(const Board& squares)
{
    Position position;
    position.squares = squares;
    return MoveBoard(position).boardKey();
}

// The side that moves in position k: a finished game's last position is
// judged for the side whose turn it was when the game ended.
std::optional<Side> moverIn(const std::vector<Position>& positions, std::size_t k)
{
    if (const auto side = sideToMove(positions[k].status)) return side;
    if (k == 0) return std::nullopt;
    const auto before = sideToMove(positions[k - 1].status);
    return before ? std::optional(opponent(*before)) : std::nullopt;
}

double resultInPawns(Status status)
{
    if (status == Status::WhiteWins) return kMateInPawns;
    if (status == Status::BlackWins) return -kMateInPawns;
    return 0.0;
}

class Reviewer {
public:
    Reviewer(std::int64_t nodes, const std::atomic<bool>& stop) : searcher_(kTableMegabytes), nodes_(nodes), stop_(stop) {}

    // Centipawns for the side to move; `before` holds the boards played
    // before it, oldest first, `halfMoves` of them in the whole game.
    int scoreForMover(Position position, int halfMoves, std::vector<Board>& before, int forcedLeft);

private:
    int searched(const Position& position, int halfMoves, const std::vector<Board>& before);

    Searcher searcher_;
    std::int64_t nodes_;
    const std::atomic<bool>& stop_;
};

Lookback lookbackAlong(const std::vector<Board>& before, int halfMoves)
{
    Lookback lookback;
    lookback.halfMoves = halfMoves;
    const std::size_t n = before.size();
    if (n >= 4 && halfMoves >= 4) lookback.fourBack = before[n - 4];
    if (n >= 8 && halfMoves >= 8) lookback.eightBack = before[n - 8];
    return lookback;
}

int Reviewer::scoreForMover(Position position, int halfMoves, std::vector<Board>& before, int forcedLeft)
{
    const Verdict verdict = palisade::verdict(position, lookbackAlong(before, halfMoves));
    if (verdict.repetition) return 0;
    switch (verdict.judgement) {
    case Judgement::Checkmate: return -kMateScore;
    case Judgement::KingTrial:
        // A king given up costs its worth and play goes on; no king that can
        // escape alone loses the game.
        return verdict.trial.escapes() > 0 ? evaluate(MoveBoard(position)) - EvalWeights{}.king : -kMateScore;
    case Judgement::Stalemate:
    case Judgement::LoneKingStuck: return 0;
    case Judgement::LoneKingFreed: position.loneKingFree = 1; break;
    case Judgement::Play:
    case Judgement::Check: break;
    }
    MoveBoard board(position);
    MoveList moves;
    board.generate(moves);
    if (moves.size() != 1 || forcedLeft == 0) return searched(position, halfMoves, before);
    board.make(moves[0]);
    before.push_back(position.squares);
    const int score = -scoreForMover(board.position(), halfMoves + 1, before, forcedLeft - 1);
    before.pop_back();
    return score;
}

int Reviewer::searched(const Position& position, int halfMoves, const std::vector<Board>& before)
{
    SearchLimits limits;
    limits.maxNodes = nodes_;
    limits.halfMoves = halfMoves;
    const std::size_t first = before.size() - std::min(before.size(), kBoardsLookedBack);
    for (std::size_t i = first; i < before.size(); ++i) limits.earlierBoards.push_back(boardKeyOf(before[i]));
    const SearchReport report = searcher_.search(position, limits, stop_);
    return report.best ? report.score : evaluate(MoveBoard(position));
}

} // namespace

std::vector<double> reviewGame(const std::vector<Position>& positions, std::int64_t nodesPerPosition,
                               const std::atomic<bool>& stop, const ReviewProgress& progress)
{
    Reviewer reviewer(nodesPerPosition, stop);
    std::vector<double> evaluations;
    std::vector<Board> before;
    const int total = static_cast<int>(positions.size());
    for (std::size_t k = 0; k < positions.size() && !stop.load(); ++k) {
        Position judged = positions[k];
        const auto mover = moverIn(positions, k);
        double evaluation = resultInPawns(judged.status);
        if (mover) {
            judged.status = toMove(*mover);
            const int score = reviewer.scoreForMover(judged, static_cast<int>(k), before, kForcedMovesFollowed);
            evaluation = inPawns(*mover == Side::White ? score : -score);
        }
        if (stop.load()) break;
        evaluations.push_back(evaluation);
        before.push_back(positions[k].squares);
        if (progress) progress(static_cast<int>(evaluations.size()), total);
    }
    return evaluations;
}

} // namespace palisade
