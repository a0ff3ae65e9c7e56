#include "computer/search.h"

#include "computer/search_helpers.h"
#include "engine/verdict.h"

#include <algorithm>

namespace palisade {

namespace {

// Nodes between two looks at the clock and the stop flag.
constexpr std::int64_t kCheckEvery = 1024;

bool isCastle(Move move) { return move.extra == MoveExtra::Castle; }

bool hasOrdinaryMove(const MoveList& moves)
{
    return std::any_of(moves.begin(), moves.end(), [](Move m) { return !isCastle(m); });
}

bool promotesToQueen(Move move) { return move.extra == MoveExtra::Queen; }

// Stored mate scores count from the position stored, not from the root.
int toTable(int score, int ply)
{
    if (score > kMateBound) return score + ply;
    if (score < -kMateBound) return score - ply;
    return score;
}

int fromTable(int score, int ply)
{
    if (score > kMateBound) return score - ply;
    if (score < -kMateBound) return score + ply;
    return score;
}

// A well-mixed number from a key, for repeatable noise.
std::uint64_t mix(std::uint64_t x)
{
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    x *= 0xc4ceb9fe1a85ec53ULL;
    return x ^ (x >> 33);
}

} // namespace

double SearchReport::nodesPerSecond() const
{
    return static_cast<double>(nodes) * 1000.0 / static_cast<double>(std::max<std::int64_t>(1, elapsed.count()));
}

Searcher::Searcher(std::size_t tableMegabytes, const EvalWeights& weights)
    : tableMegabytes_(tableMegabytes), weights_(weights)
{
}

Searcher::Searcher(TranspositionTable& sharedTable, const EvalWeights& weights, int helperNumber,
                   const std::atomic<int>& leaderDepth)
    : tableMegabytes_(0), table_(&sharedTable), weights_(weights), helperNumber_(helperNumber),
      leaderDepth_(&leaderDepth)
{
}

Searcher::~Searcher() = default;

SearchReport Searcher::search(const Position& position, const SearchLimits& limits, const std::atomic<bool>& stop)
{
    if (!table_) {
        ownTable_ = std::make_unique<TranspositionTable>(tableMegabytes_);
        table_ = ownTable_.get();
    }
    SearchReport report;
    MoveList rootMoves;
    if (!begin(position, limits, stop, rootMoves)) return report;
    report.best = rootMoves[0];
    std::optional<SearchHelpers> helpers;
    if (limits.threads > 1) {
        helpers.emplace(limits.threads - 1, *table_, weights_, position, limits, finishedDepth_);
        helpers_ = &*helpers;
    }
    deepen(rootMoves, report);
    publishedNodes_.store(nodes_, std::memory_order_relaxed);
    if (helpers) helpers->stopAndJoin();
    finishReport(report);
    helpers_ = nullptr;
    return report;
}

void Searcher::help(const Position& position, const SearchLimits& limits, const std::atomic<bool>& stop)
{
    MoveList rootMoves;
    if (!begin(position, limits, stop, rootMoves)) return;
    SearchReport ignored;
    ignored.best = rootMoves[0];
    deepen(rootMoves, ignored);
    publishedNodes_.store(nodes_, std::memory_order_relaxed);
}

// Sets up a search of the position; false when the side to move has no move
// to search. The root's moves come ordered, the table's move first.
bool Searcher::begin(const Position& position, const SearchLimits& limits, const std::atomic<bool>& stop,
                     MoveList& rootMoves)
{
    board_.emplace(position);
    limits_ = &limits;
    stop_ = &stop;
    start_ = std::chrono::steady_clock::now();
    nodes_ = 0;
    publishedNodes_.store(0, std::memory_order_relaxed);
    finishedDepth_.store(0, std::memory_order_relaxed);
    aborted_ = false;
    keys_ = limits.earlierBoards;
    keys_.push_back(board_->boardKey());
    killers_ = {};
    for (auto& row : history_) row.fill(0);

    board_->generate(rootMoves);
    if (limits.onlyFrom) rootMoves = movesFrom(rootMoves, *limits.onlyFrom);
    if (rootMoves.empty() || !sideToMove(position.status)) return false;
    std::array<int, MoveList::kCapacity> scores{};
    const auto hashed = table_->find(board_->key());
    orderMoves(rootMoves, scores, hashed ? hashed->best : Move{}, 0);
    return true;
}

int Searcher::negamax(int depth, int alpha, int beta, int ply)
{
    lineLengths_[ply] = 0;
    if (repeated(ply)) return 0;
    const bool inCheck = board_->inCheck();
    if (inCheck) ++depth;
    if (depth <= 0 || ply >= kMaxPly) return quiesce(alpha, beta, ply);
    if (outOfTime()) return 0;
    ++nodes_;

    const std::uint64_t key = board_->key();
    Move hashMove;
    if (const auto entry = table_->find(key)) {
        hashMove = entry->best;
        const int stored = fromTable(entry->score, ply);
        if (entry->depth >= depth
            && (entry->bound == Bound::Exact || (entry->bound == Bound::Lower && stored >= beta)
                || (entry->bound == Bound::Upper && stored <= alpha))) {
            return stored;
        }
    }

    MoveList moves;
    board_->generate(moves);
    if (!hasOrdinaryMove(moves)) return terminalScore(ply);
    std::array<int, MoveList::kCapacity> scores{};
    orderMoves(moves, scores, hashMove, ply);

    const int startAlpha = alpha;
    int bestScore = -kInfiniteScore;
    Move best = moves[0];
    for (std::size_t i = 0; i < moves.size(); ++i) {
        const Move move = moves[i];
        const bool quiet = board_->pieceAt(move.drop) == kEmpty && !promotesToQueen(move);
        board_->make(move);
        keys_.push_back(board_->boardKey());
        int score;
        if (i == 0) {
            score = -negamax(depth - 1, -beta, -alpha, ply + 1);
        } else {
            // Late quiet moves are looked at less deeply unless they surprise.
            const int reduction = quiet && !inCheck && depth >= 3 && i >= 4 ? 1 : 0;
            score = -negamax(depth - 1 - reduction, -alpha - 1, -alpha, ply + 1);
            if (score > alpha && reduction > 0) score = -negamax(depth - 1, -alpha - 1, -alpha, ply + 1);
            if (score > alpha && score < beta) score = -negamax(depth - 1, -beta, -alpha, ply + 1);
        }
        keys_.pop_back();
        board_->unmake();
        if (aborted_) return 0;
        if (score > bestScore) {
            bestScore = score;
            best = move;
        }
        if (score > alpha) {
            alpha = score;
            keepLine(ply, move);
        }
        if (alpha >= beta) {
            if (quiet) rememberQuiet(move, depth, ply);
            break;
        }
    }
    const Bound bound = bestScore >= beta ? Bound::Lower : bestScore > startAlpha ? Bound::Exact : Bound::Upper;
    table_->store({key, toTable(bestScore, ply), static_cast<std::int16_t>(depth), bound, best});
    return bestScore;
}

// Captures and promotions to a queen only, until the position is quiet.
int Searcher::quiesce(int alpha, int beta, int ply)
{
    if (outOfTime()) return 0;
    ++nodes_;
    const int standPat = judge();
    if (standPat >= beta || ply >= kMaxPly) return standPat;
    alpha = std::max(alpha, standPat);

    MoveList moves;
    board_->generate(moves);
    MoveList forcing;
    for (const Move move : moves) {
        if (board_->pieceAt(move.drop) != kEmpty || promotesToQueen(move)) forcing.push(move);
    }
    std::array<int, MoveList::kCapacity> scores{};
    orderMoves(forcing, scores, Move{}, ply);
    for (const Move move : forcing) {
        board_->make(move);
        const int score = -quiesce(-beta, -alpha, ply + 1);
        board_->unmake();
        if (aborted_) return 0;
        if (score >= beta) return score;
        alpha = std::max(alpha, score);
    }
    return alpha;
}

int Searcher::judge()
{
    const int score = evaluate(*board_, weights_);
    if (limits_->noise == 0) return score;
    const std::uint64_t r = mix(board_->key() ^ limits_->seed);
    return score + static_cast<int>(r % static_cast<std::uint64_t>(2 * limits_->noise + 1)) - limits_->noise;
}

// No move but a castle is no move, as the game judges it: a mate, the two-king
// trial under "Destroy Both Kings!", a stalemate, or a lone king set free.
int Searcher::terminalScore(int ply)
{
    const Verdict verdict = verdictWithoutMove(board_->position(), board_->inCheck());
    switch (verdict.judgement) {
    case Judgement::Checkmate: return -kMateScore + ply;
    case Judgement::KingTrial:
        // Giving up a king costs its worth and the game goes on; with no king
        // able to escape it is lost.
        return verdict.trial.escapes() > 0 ? judge() - weights_.king : -kMateScore + ply;
    case Judgement::Stalemate:
    case Judgement::LoneKingStuck: return 0;
    default: return judge();
    }
}

// The game's own repetition rule, on the board keys of the line played.
bool Searcher::repeated(int ply) const
{
    const std::size_t n = keys_.size();
    if (n < 9) return false;
    return repeatsFourAndEightBack(limits_->halfMoves + ply, keys_[n - 1], keys_[n - 5], keys_[n - 9]);
}

bool Searcher::outOfTime()
{
    if (aborted_) return true;
    if (limits_->maxNodes > 0 && nodes_ >= limits_->maxNodes) aborted_ = true;
    if (nodes_ % kCheckEvery != 0) return aborted_;
    publishedNodes_.store(nodes_, std::memory_order_relaxed);
    if (stop_->load(std::memory_order_relaxed)) aborted_ = true;
    if (limits_->maxTime.count() > 0 && std::chrono::steady_clock::now() - start_ >= limits_->maxTime) aborted_ = true;
    return aborted_;
}

// The table's move, then captures of the most valuable piece by the least
// valuable, promotions, the moves that cut off before at this depth, and the
// rest by how often they cut off.
int Searcher::moveScore(Move move, Move hashMove, int ply) const
{
    if (move == hashMove) return 1 << 30;
    const int victim = board_->pieceAt(move.drop);
    if (victim != kEmpty) {
        return (1 << 28) + 16 * pieceValue(victim, weights_) - pieceValue(board_->pieceAt(move.pick), weights_) / 16;
    }
    if (promotesToQueen(move)) return 1 << 27;
    if (ply <= kMaxPly && (move == killers_[ply][0] || move == killers_[ply][1])) return 1 << 26;
    return history_[move.pick][move.drop];
}

void Searcher::orderMoves(MoveList& moves, std::array<int, MoveList::kCapacity>& scores, Move hashMove,
                          int ply) const
{
    for (std::size_t i = 0; i < moves.size(); ++i) scores[i] = moveScore(moves[i], hashMove, ply);
    // Insertion sort: lists are short and mostly small.
    for (std::size_t i = 1; i < moves.size(); ++i) {
        const Move move = moves[i];
        const int score = scores[i];
        std::size_t j = i;
        for (; j > 0 && scores[j - 1] < score; --j) {
            moves[j] = moves[j - 1];
            scores[j] = scores[j - 1];
        }
        moves[j] = move;
        scores[j] = score;
    }
}

void Searcher::rememberQuiet(Move move, int depth, int ply)
{
    if (ply <= kMaxPly && killers_[ply][0] != move) {
        killers_[ply][1] = killers_[ply][0];
        killers_[ply][0] = move;
    }
    int& count = history_[move.pick][move.drop];
    count = std::min(count + depth * depth, 1 << 25);
}

// The move that raised alpha, then the line found below it.
void Searcher::keepLine(int ply, Move move)
{
    const int below = lineLengths_[ply + 1];
    lines_[ply][0] = move;
    std::copy_n(lines_[ply + 1].begin(), below, lines_[ply].begin() + 1);
    lineLengths_[ply] = below + 1;
}

} // namespace palisade
