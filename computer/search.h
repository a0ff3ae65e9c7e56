#pragma once

#include "computer/evaluation.h"
#include "computer/transposition_table.h"
#include "engine/move_board.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

namespace palisade {

inline constexpr int kMateScore = 100000;
inline constexpr int kMaxPly = 96;

// How long one search may go on. A limit of zero is no limit; the search also
// ends when the stop flag is raised.
struct SearchLimits {
    int maxDepth = 64;
    std::int64_t maxNodes = 0;
    std::chrono::milliseconds maxTime{0};
    // Added to every judged position, up to this many centipawns either way,
    // so that a weak player misjudges; the seed makes it repeatable.
    int noise = 0;
    std::uint64_t seed = 0;
    // The one piece that may move (the king chosen to be saved stays selected).
    std::optional<int> onlyFrom;
    // For the repetition draw: the half-moves played before this position, and
    // the board keys (`MoveBoard::boardKey`) of the last of them, oldest first,
    // as the board now stands.
    int halfMoves = 0;
    std::vector<std::uint64_t> earlierBoards;
};

// What a search found: its move, and how far it got.
struct SearchReport {
    std::optional<Move> best;
    int score = 0;
    int depth = 0;
    std::int64_t nodes = 0;
    std::chrono::milliseconds elapsed{0};
};

// Iterative-deepening alpha-beta with a transposition table, move ordering
// and a capture search at the leaves. One searcher serves one thread; it keeps
// its table from one search to the next, made by the first search on the
// thread that searches.
class Searcher {
public:
    explicit Searcher(std::size_t tableMegabytes = 32, const EvalWeights& weights = {});

    SearchReport search(const Position& position, const SearchLimits& limits, const std::atomic<bool>& stop);

    // Nodes searched so far; may be read from another thread while searching.
    std::int64_t nodesSoFar() const { return publishedNodes_.load(std::memory_order_relaxed); }

private:
    int negamax(int depth, int alpha, int beta, int ply);
    int quiesce(int alpha, int beta, int ply);
    int judge();
    int terminalScore(int ply);
    bool repeated(int ply) const;
    bool outOfTime();
    void orderMoves(MoveList& moves, std::array<int, MoveList::kCapacity>& scores, Move hashMove, int ply) const;
    int moveScore(Move move, Move hashMove, int ply) const;
    void rememberQuiet(Move move, int depth, int ply);
    int searchRoot(MoveList& rootMoves, int depth, Move& best);

    std::size_t tableMegabytes_;
    std::optional<TranspositionTable> table_;
    EvalWeights weights_;
    std::optional<MoveBoard> board_;
    const SearchLimits* limits_ = nullptr;
    const std::atomic<bool>* stop_ = nullptr;
    std::chrono::steady_clock::time_point start_;
    std::int64_t nodes_ = 0;
    std::atomic<std::int64_t> publishedNodes_{0};
    bool aborted_ = false;
    std::vector<std::uint64_t> keys_;
    std::array<std::array<Move, 2>, kMaxPly + 1> killers_{};
    std::array<std::array<int, kSquareCount>, kSquareCount> history_{};
};

} // namespace palisade
