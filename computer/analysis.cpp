#include "computer/analysis.h"

#include "computer/room_moves.h"
#include "engine/apply.h"
#include "gameroom/notation.h"

namespace palisade {

AnalysisRequest analysisRequestOf(const GameRoom& room, int threads, std::uint64_t generation)
{
    AnalysisRequest request{room.position(), roomLimits(room, levelOf(kDefaultLevel), 0), generation};
    SearchLimits& limits = request.limits;
    limits.maxDepth = kMaxPly;
    limits.maxNodes = 0;
    limits.maxTime = std::chrono::milliseconds{0};
    limits.noise = 0;
    limits.multiPv = kAnalysisLines;
    limits.threads = std::max(1, threads);
    if (const auto& choice = room.kingChoice()) {
        request.position.kingsStanding = 1;
        limits.onlyFrom = choice->offered;
    }
    return request;
}

AnalysisFindings findingsOf(const Position& position, const SearchReport& report, std::uint64_t generation)
{
    AnalysisFindings findings{generation, report.depth, report.nodes, report.nodesPerSecond(), {}};
    const bool whiteToMove = sideToMove(position.status) == Side::White;
    for (const SearchLine& line : report.lines) {
        AnalysedLine analysed{whiteToMove ? line.score : -line.score, line.moves, {}};
        Position played = position;
        for (const Move& move : line.moves) {
            analysed.texts.push_back(notationOf(played, move));
            apply(played, move);
        }
        findings.lines.push_back(std::move(analysed));
    }
    return findings;
}

ContinuousAnalysis::ContinuousAnalysis(Report report, std::size_t tableMegabytes)
    : report_(std::move(report)), searcher_(tableMegabytes)
{
}

ContinuousAnalysis::~ContinuousAnalysis() { stop(); }

void ContinuousAnalysis::analyse(AnalysisRequest request)
{
    {
        const std::lock_guard lock(mutex_);
        request_ = std::move(request);
        unsearched_ = true;
        stopSearch_.store(true);
    }
    wake_.notify_one();
    if (!thread_.joinable()) thread_ = std::thread(&ContinuousAnalysis::work, this);
}

void ContinuousAnalysis::pause()
{
    const std::lock_guard lock(mutex_);
    paused_ = true;
    stopSearch_.store(true);
}

void ContinuousAnalysis::resume()
{
    {
        const std::lock_guard lock(mutex_);
        paused_ = false;
    }
    wake_.notify_one();
}

bool ContinuousAnalysis::paused() const
{
    const std::lock_guard lock(mutex_);
    return paused_;
}

bool ContinuousAnalysis::searching() const
{
    const std::lock_guard lock(mutex_);
    return thread_.joinable() && !paused_ && (busy_ || unsearched_);
}

void ContinuousAnalysis::stop()
{
    if (!thread_.joinable()) return;
    {
        const std::lock_guard lock(mutex_);
        quit_ = true;
        stopSearch_.store(true);
    }
    wake_.notify_one();
    thread_.join();
    const std::lock_guard lock(mutex_);
    quit_ = false;
    unsearched_ = false;
}

void ContinuousAnalysis::work()
{
    while (const auto request = nextRequest()) {
        SearchLimits limits = request->limits;
        limits.onIteration = [this, &request](const SearchReport& report) {
            report_(findingsOf(request->position, report, request->generation));
        };
        searcher_.search(request->position, limits, stopSearch_);
        searched(request->generation);
    }
}

std::optional<AnalysisRequest> ContinuousAnalysis::nextRequest()
{
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [this] { return quit_ || (unsearched_ && !paused_); });
    if (quit_) return std::nullopt;
    stopSearch_.store(false);
    busy_ = true;
    return request_;
}

// A search that ended by itself has found all it can; one cut short by a
// pause searches again on resuming.
void ContinuousAnalysis::searched(std::uint64_t generation)
{
    const std::lock_guard lock(mutex_);
    busy_ = false;
    if (!stopSearch_.load() && request_ && request_->generation == generation) unsearched_ = false;
}

} // namespace palisade
