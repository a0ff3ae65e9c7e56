#pragma once

#include "computer/search.h"
#include "gameroom/game_room.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace palisade {

// A position to analyse, and what the search must respect there. The
// generation tells its findings from those of positions asked for before.
struct AnalysisRequest {
    Position position;
    SearchLimits limits;
    std::uint64_t generation = 0;
};

// One of the best lines: its moves, each also as the notation writes it, and
// its score in centipawns as White sees it.
struct AnalysedLine {
    int whiteScore = 0;
    std::vector<Move> moves;
    std::vector<std::string> texts;
};

// What the analysis knows after one finished depth.
struct AnalysisFindings {
    std::uint64_t generation = 0;
    int depth = 0;
    std::int64_t nodes = 0;
    double nodesPerSecond = 0.0;
    std::vector<AnalysedLine> lines;
};

inline constexpr int kAnalysisLines = 3;

// The room's position as the analysis looks at it, deepening without end:
// the best lines apart, the king that must move after the two-king choice, the
// positions just played for the repetition draw. While the room waits for the
// king to keep, the offered one is looked at as kept.
AnalysisRequest analysisRequestOf(const GameRoom& room, int threads, std::uint64_t generation);

// The best lines of a search, written out: each move in notation, played in
// turn on a copy of the position, and each score turned to White's view.
AnalysisFindings findingsOf(const Position& position, const SearchReport& report, std::uint64_t generation);

// Analyses one position after another on a thread of its own, deeper and
// deeper until the position is replaced, the analysis paused or stopped, or
// the search has nothing left to find (a mate, a single move). The findings
// of every finished depth go to `report` on that thread.
class ContinuousAnalysis {
public:
    using Report = std::function<void(const AnalysisFindings&)>;

    explicit ContinuousAnalysis(Report report, std::size_t tableMegabytes = 32);
    ~ContinuousAnalysis();
    ContinuousAnalysis(const ContinuousAnalysis&) = delete;
    ContinuousAnalysis& operator=(const ContinuousAnalysis&) = delete;

    // Looks at this position from now on; starts the thread when it is not running.
    void analyse(AnalysisRequest request);
    // Halts the search and keeps the position; resuming searches it again.
    void pause();
    void resume();
    bool paused() const;
    // A search is going on, or waits only for the thread to take it up.
    bool searching() const;
    // Ends the search at once and waits for the thread.
    void stop();
    bool running() const { return thread_.joinable(); }

private:
    void work();
    std::optional<AnalysisRequest> nextRequest();
    void searched(std::uint64_t generation);

    Report report_;
    Searcher searcher_;
    std::thread thread_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    // Guarded by the mutex: the position, whether it still waits for a search,
    // and what the thread is told.
    std::optional<AnalysisRequest> request_;
    bool unsearched_ = false;
    bool busy_ = false;
    bool paused_ = false;
    bool quit_ = false;
    // Raised to end the running search; lowered by the thread as it begins one.
    std::atomic<bool> stopSearch_{false};
};

} // namespace palisade
