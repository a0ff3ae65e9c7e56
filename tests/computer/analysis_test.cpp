// The continuous analysis: its lines written in notation and legal, each
// position's findings told apart, pause, resume and a prompt stop; and the
// scores as the panel writes and draws them.

#include "../gameroom/endings.h"
#include "computer/analysis.h"
#include "computer/sample_positions.h"
#include "computer/score_text.h"
#include "engine/apply.h"
#include "gameroom/notation.h"
#include "gameroom/silent_view.h"
#include "random_positions.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>

namespace palisade {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kPatience = 20s;

// Keeps every finding the analysis thread hands over.
class Collector {
public:
    ContinuousAnalysis::Report report()
    {
        return [this](const AnalysisFindings& findings) {
            const std::lock_guard lock(mutex_);
            all_.push_back(findings);
            arrived_.notify_all();
        };
    }
    // Waits until some finding satisfies `wanted`.
    template <typename Wanted>
    bool waitFor(Wanted wanted)
    {
        std::unique_lock lock(mutex_);
        return arrived_.wait_for(lock, kPatience,
                                 [&] { return std::any_of(all_.begin(), all_.end(), wanted); });
    }
    std::vector<AnalysisFindings> all() const
    {
        const std::lock_guard lock(mutex_);
        return all_;
    }
    std::size_t count() const { return all().size(); }

private:
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<AnalysisFindings> all_;
};

AnalysisRequest requestFor(const Position& position, std::uint64_t generation, int threads = 1)
{
    SilentView view;
    GameRoom room(view);
    room.setUp(position);
    return analysisRequestOf(room, threads, generation);
}

auto ofGeneration(std::uint64_t generation, int depth = 1)
{
    return [=](const AnalysisFindings& f) { return f.generation == generation && f.depth >= depth; };
}

// Each line is played through from the position: every move legal where it
// stands, its text the notation of that move there.
void expectWrittenLines(const Position& start, const AnalysisFindings& findings, const std::string& where)
{
    for (const AnalysedLine& line : findings.lines) {
        ASSERT_FALSE(line.moves.empty()) << where;
        ASSERT_EQ(line.texts.size(), line.moves.size()) << where;
        Position position = start;
        for (std::size_t k = 0; k < line.moves.size(); ++k) {
            ASSERT_TRUE(isLegal(position, line.moves[k])) << where << " move " << k;
            EXPECT_EQ(line.texts[k], notationOf(position, line.moves[k])) << where << " move " << k;
            apply(position, line.moves[k]);
        }
    }
}

TEST(Analysis, LinesAreLegalWrittenInNotationAndBeginDifferently)
{
    std::vector<Position> positions = randomPositions(3, 30, 11);
    positions.push_back(middleGamePosition());
    positions.push_back(standardPosition());
    for (std::size_t i = 0; i < positions.size(); i += 7) {
        const AnalysisRequest request = requestFor(positions[i], i);
        SearchLimits limits = request.limits;
        limits.maxDepth = 4;
        Searcher searcher(4);
        const std::atomic<bool> noStop{false};
        const AnalysisFindings findings =
            findingsOf(request.position, searcher.search(request.position, limits, noStop), i);
        const std::string where = "position " + std::to_string(i);
        ASSERT_EQ(findings.lines.size(), 3u) << where;
        ASSERT_NO_FATAL_FAILURE(expectWrittenLines(request.position, findings, where));
        std::set<std::pair<int, int>> firstMoves;
        for (const AnalysedLine& line : findings.lines) firstMoves.insert({line.moves[0].pick, line.moves[0].drop});
        EXPECT_EQ(firstMoves.size(), 3u) << where;
        EXPECT_GE(findings.lines[0].whiteScore * (positions[i].status == Status::WhiteToMove ? 1 : -1),
                  findings.lines[2].whiteScore * (positions[i].status == Status::WhiteToMove ? 1 : -1))
            << where;
    }
}

TEST(Analysis, ScoresAreTurnedToWhitesView)
{
    // Black to move with a queen more: bad for White, whoever moves.
    const Position blackAhead =
        with({{0, letters::k}, {9, letters::q}, {110, letters::K}, {100, letters::P}}, Status::BlackToMove);
    const AnalysisRequest request = requestFor(blackAhead, 1);
    SearchLimits limits = request.limits;
    limits.maxDepth = 3;
    Searcher searcher(1);
    const std::atomic<bool> noStop{false};
    const SearchReport report = searcher.search(request.position, limits, noStop);
    const AnalysisFindings findings = findingsOf(request.position, report, 1);
    ASSERT_FALSE(findings.lines.empty());
    EXPECT_EQ(findings.lines[0].whiteScore, -report.lines[0].score);
    EXPECT_LT(findings.lines[0].whiteScore, -500);
}

TEST(Analysis, DeepensAndFollowsTheNewestPosition)
{
    Collector collector;
    ContinuousAnalysis analysis(collector.report(), 4);
    analysis.analyse(requestFor(standardPosition(), 1));
    ASSERT_TRUE(collector.waitFor(ofGeneration(1, 3)));
    analysis.analyse(requestFor(middleGamePosition(), 2));
    ASSERT_TRUE(collector.waitFor(ofGeneration(2, 3)));
    analysis.stop();

    // Once the new position has been reported on, the old one never is again;
    // each position's depths only grow.
    const std::vector<AnalysisFindings> all = collector.all();
    const auto firstNew = std::find_if(all.begin(), all.end(), ofGeneration(2));
    EXPECT_TRUE(std::all_of(firstNew, all.end(), ofGeneration(2)));
    for (std::size_t k = 1; k < all.size(); ++k) {
        if (all[k].generation == all[k - 1].generation) {
            EXPECT_GT(all[k].depth, all[k - 1].depth);
        }
    }
    for (const AnalysisFindings& findings : all) {
        EXPECT_EQ(findings.lines.size(), 3u);
        EXPECT_GT(findings.nodes, 0);
    }
}

TEST(Analysis, StopsAtOnceWhileSearchingDeep)
{
    for (const int threads : {1, 2}) {
        Collector collector;
        ContinuousAnalysis analysis(collector.report(), 4);
        analysis.analyse(requestFor(middleGamePosition(), 1, threads));
        ASSERT_TRUE(collector.waitFor(ofGeneration(1, 4))) << threads;
        ASSERT_TRUE(analysis.running());
        const auto before = Clock::now();
        analysis.stop();
        EXPECT_LT(Clock::now() - before, 50ms) << threads;
        EXPECT_FALSE(analysis.running());
        // Started again by the next position.
        analysis.analyse(requestFor(standardPosition(), 2, threads));
        EXPECT_TRUE(collector.waitFor(ofGeneration(2, 2))) << threads;
    }
}

TEST(Analysis, PausedItReportsNothingAndResumesThePosition)
{
    Collector collector;
    ContinuousAnalysis analysis(collector.report(), 4);
    analysis.analyse(requestFor(middleGamePosition(), 1));
    ASSERT_TRUE(collector.waitFor(ofGeneration(1, 2)));
    EXPECT_TRUE(analysis.searching());
    analysis.pause();
    EXPECT_TRUE(analysis.paused());
    EXPECT_FALSE(analysis.searching());
    std::this_thread::sleep_for(50ms); // any depth finishing just then has reported
    const std::size_t whilePaused = collector.count();
    // A new position while paused waits too.
    analysis.analyse(requestFor(standardPosition(), 2));
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(collector.count(), whilePaused);
    analysis.resume();
    EXPECT_TRUE(collector.waitFor(ofGeneration(2, 3)));
}

TEST(Analysis, AFinishedGameOrAMateEndsTheSearchByItself)
{
    using namespace endings;
    Collector collector;
    ContinuousAnalysis analysis(collector.report(), 4);
    Position ended = standardPosition();
    ended.status = Status::Draw;
    analysis.analyse(requestFor(ended, 1));
    // The queen to 1 mates: the search stops deepening at the mate.
    analysis.analyse(requestFor(kOneEscape, 2));
    ASSERT_TRUE(collector.waitFor([](const AnalysisFindings& f) {
        return f.generation == 2 && scoreText(f.lines.at(0).whiteScore) == "M1";
    }));
    const auto reported = collector.count();
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(collector.count(), reported);
    EXPECT_FALSE(analysis.searching());
    EXPECT_TRUE(analysis.running());
    analysis.stop();
    for (const AnalysisFindings& findings : collector.all()) EXPECT_EQ(findings.generation, 2u);
    const AnalysedLine mate = collector.all().back().lines.at(0);
    EXPECT_EQ(mate.texts.size(), 1u);
    EXPECT_EQ(mate.moves[0].pick, kOneEscapeGiveUp.from);
    EXPECT_EQ(mate.moves[0].drop, kOneEscapeGiveUp.to);
}

TEST(Analysis, TheKingOfferedIsLookedAtAsKeptAndMustMove)
{
    using namespace endings;
    RecordingView view;
    view.kingChoiceLater = true;
    GameRoom room(view);
    room.setUp(withBothKingsToDestroy(kFork));
    room.clickSquare(kForkMate.from);
    room.clickSquare(kForkMate.to);
    ASSERT_TRUE(room.kingChoice());
    const AnalysisRequest request = analysisRequestOf(room, 1, 1);
    EXPECT_EQ(request.position.kingsStanding, 1);
    ASSERT_TRUE(request.limits.onlyFrom);
    EXPECT_EQ(*request.limits.onlyFrom, room.kingChoice()->offered);

    Searcher searcher(1);
    const std::atomic<bool> noStop{false};
    SearchLimits limits = request.limits;
    limits.maxDepth = 3;
    const AnalysisFindings findings = findingsOf(request.position, searcher.search(request.position, limits, noStop), 1);
    ASSERT_FALSE(findings.lines.empty());
    for (const AnalysedLine& line : findings.lines) EXPECT_EQ(line.moves[0].pick, room.kingChoice()->offered);
    ASSERT_NO_FATAL_FAILURE(expectWrittenLines(request.position, findings, "kept king"));

    // Once answered, the king kept must move, as the room has it.
    const int kept = room.kingChoice()->other;
    room.answerKingChoice(kept);
    const AnalysisRequest answered = analysisRequestOf(room, 1, 2);
    EXPECT_TRUE(answered.position == room.position());
    ASSERT_TRUE(answered.limits.onlyFrom);
    EXPECT_EQ(*answered.limits.onlyFrom, kept);
}

TEST(ScoreText, PawnsWithASignAndMatesInMoves)
{
    EXPECT_EQ(scoreText(35), "+0.35");
    EXPECT_EQ(scoreText(-120), "-1.20");
    EXPECT_EQ(scoreText(0), "0.00");
    EXPECT_EQ(scoreText(1234), "+12.34");
    EXPECT_EQ(scoreText(kMateScore - 1), "M1");
    EXPECT_EQ(scoreText(kMateScore - 5), "M3");
    EXPECT_EQ(scoreText(-(kMateScore - 6)), "-M3");
}

TEST(ScoreText, TheBarIsEvenAtZeroGrowsWithWhitesScoreAndLevelsOff)
{
    EXPECT_DOUBLE_EQ(whiteShare(0), 0.5);
    EXPECT_NEAR(whiteShare(400), 0.75, 1e-9);
    double last = 0.0;
    for (int score = -1000; score <= 1000; score += 50) {
        EXPECT_GT(whiteShare(score), last);
        EXPECT_NEAR(whiteShare(score) + whiteShare(-score), 1.0, 1e-9);
        last = whiteShare(score);
    }
    EXPECT_DOUBLE_EQ(whiteShare(5000), whiteShare(1000));
    EXPECT_LT(whiteShare(1000), 1.0);
    EXPECT_DOUBLE_EQ(whiteShare(kMateScore - 3), 1.0);
    EXPECT_DOUBLE_EQ(whiteShare(-(kMateScore - 3)), 0.0);
}

} // namespace
} // namespace palisade
