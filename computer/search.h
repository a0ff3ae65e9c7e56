#pragma once

#include "computer/evaluation.h"
#include "computer/transposition_table.h"
#include "engine/move_board.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace palisade {

inline constexpr int kMateScore = 100000;
inline constexpr int kMaxPly = 96;
// Scores beyond this are mates, counted from the root.
inline constexpr int kMateBound = kMateScore - kMaxPly;
// Beyond every score.
inline constexpr int kInfiniteScore = kMateScore + 1;

struct SearchReport;

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
    // How many of the best moves the root keeps apart, each with its own line
    // and exact score.
    int multiPv = 1;
    // Threads searching the same position together, sharing the table; the
    // first one's result is reported. The node limit counts the first one's
    // nodes alone, so more threads play better in the same time.
    int threads = 1;
    // Called on the searching thread after each depth finished.
    std::function<void(const SearchReport&)> onIteration;
};

// One of the best moves and the moves expected to follow it, and its score in
// centipawns as the side to move sees it.
struct SearchLine {
    int score = 0;
    std::vector<Move> moves;
};

// What a search found: its move, and how far it got.
struct SearchReport {
    std::optional<Move> best;
    int score = 0;
    int depth = 0;
    // Of all the threads together.
    std::int64_t nodes = 0;
    std::chrono::milliseconds elapsed{0};
    // Best first; the first agrees with `best` and `score`.
    std::vector<SearchLine> lines;

    double nodesPerSecond() const;
};

class SearchHelpers;

// Iterative-deepening alpha-beta with a transposition table, move ordering
// and a capture search at the leaves. One searcher serves one thread; it keeps
// its table from one search to the next, made by the first search on the
// thread that searches. Helper threads, when asked for, share that table.
class Searcher {
public:
    explicit Searcher(std::size_t tableMegabytes = 32, const EvalWeights& weights = {});
    ~Searcher();
    Searcher(const Searcher&) = delete;
    Searcher& operator=(const Searcher&) = delete;

    SearchReport search(const Position& position, const SearchLimits& limits, const std::atomic<bool>& stop);

    // Nodes searched so far by this searcher's own thread, which the node
    // limit counts; may be read from another thread while searching.
    std::int64_t nodesSoFar() const { return publishedNodes_.load(std::memory_order_relaxed); }

private:
    friend class SearchHelpers;
    // A helper searches beside the searcher whose table it shares, numbered
    // from 1, never behind the depth that one is searching.
    Searcher(TranspositionTable& sharedTable, const EvalWeights& weights, int helperNumber,
             const std::atomic<int>& leaderDepth);
    // What a helper does: search until `stop`, reporting nothing.
    void help(const Position& position, const SearchLimits& limits, const std::atomic<bool>& stop);

    bool begin(const Position& position, const SearchLimits& limits, const std::atomic<bool>& stop,
               MoveList& rootMoves);
    void deepen(MoveList& rootMoves, SearchReport& report);
    int depthsAhead() const;
    int firstDepth() const;
    int nextDepth(int depth) const;
    void finishReport(SearchReport& report) const;
    std::vector<SearchLine> searchRoot(MoveList& rootMoves, int depth, std::size_t wanted);
    SearchLine lineAfter(Move move, int score) const;
    int negamax(int depth, int alpha, int beta, int ply);
    int quiesce(int alpha, int beta, int ply);
    int judge();
    int terminalScore(int ply);
    bool repeated(int ply) const;
    bool outOfTime();
    void orderMoves(MoveList& moves, std::array<int, MoveList::kCapacity>& scores, Move hashMove, int ply) const;
    int moveScore(Move move, Move hashMove, int ply) const;
    void rememberQuiet(Move move, int depth, int ply);
    void keepLine(int ply, Move move);

    std::size_t tableMegabytes_;
    std::unique_ptr<TranspositionTable> ownTable_;
    TranspositionTable* table_ = nullptr;
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
    // The best line found below each ply: the moves from that ply on.
    std::array<std::array<Move, kMaxPly + 1>, kMaxPly + 2> lines_{};
    std::array<int, kMaxPly + 2> lineLengths_{};
    // The deepest depth this searcher finished, read by its helpers.
    std::atomic<int> finishedDepth_{0};
    int helperNumber_ = 0;
    const std::atomic<int>* leaderDepth_ = nullptr;
    const SearchHelpers* helpers_ = nullptr;
};

} // namespace palisade
