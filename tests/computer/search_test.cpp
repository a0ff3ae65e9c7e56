#include "../engine/test_positions.h"
#include "computer/background_search.h"
#include "computer/king_choice.h"
#include "computer/evaluation.h"
#include "computer/search.h"
#include "random_positions.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace palisade {
namespace {

using namespace letters;

const std::atomic<bool> kNoStop{false};

SearchReport searchFor(const Position& position, std::int64_t nodes, int noise = 0)
{
    Searcher searcher(1);
    SearchLimits limits;
    limits.maxNodes = nodes;
    limits.noise = noise;
    limits.seed = 7;
    return searcher.search(position, limits, kNoStop);
}

// The knight from 4 to 10 attacks both of Black's kings on 16 and 25.
const Position kFork = with({{4, N}, {16, k}, {25, k}, {110, K}, {118, K}});

TEST(Search, EveryMoveChosenIsOneTheGeneratorGives)
{
    const std::vector<Position> positions = randomPositions(12, 60, 11);
    ASSERT_GT(positions.size(), 500u);
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const Position& position = positions[i];
        // Some positions with the weak player's misjudging, some without.
        const SearchReport report = searchFor(position, 400, i % 3 == 0 ? 200 : 0);
        ASSERT_TRUE(report.best) << i;
        EXPECT_TRUE(isLegal(position, *report.best)) << i << ": " << moveText(*report.best);
    }
}

TEST(Search, OnlyTheChosenPieceMovesWhenOneIsGiven)
{
    for (const Position& position : randomPositions(3, 40, 5)) {
        MoveList moves;
        MoveBoard(position).generate(moves);
        Searcher searcher(1);
        SearchLimits limits;
        limits.maxNodes = 300;
        limits.onlyFrom = moves[moves.size() / 2].pick;
        const SearchReport report = searcher.search(position, limits, kNoStop);
        ASSERT_TRUE(report.best);
        EXPECT_EQ(report.best->pick, *limits.onlyFrom);
        EXPECT_TRUE(isLegal(position, *report.best));
    }
}

TEST(Search, NoMoveWhenThereIsNoneOrTheGameIsOver)
{
    Position over = standardPosition();
    over.status = Status::Draw;
    EXPECT_FALSE(searchFor(over, 100).best);
    // A single king that may not move yet, and nothing else.
    EXPECT_FALSE(searchFor(with({{0, K}, {110, k}, {118, k}}), 100).best);
}

TEST(Search, MateWithTwoKingsIsAMateOnlyInTheStandardGame)
{
    const SearchReport mate = searchFor(kFork, 20000);
    ASSERT_TRUE(mate.best);
    EXPECT_EQ(*mate.best, (Move{4, 10, MoveExtra::Plain}));
    EXPECT_GT(mate.score, kMateScore - kMaxPly);

    // Under "Destroy Both Kings!" the fork costs Black a king, not the game.
    Position destroy = kFork;
    destroy.winOption = 1;
    const SearchReport costsAKing = searchFor(destroy, 20000);
    ASSERT_TRUE(costsAKing.best);
    EXPECT_LT(costsAKing.score, kMateScore - kMaxPly);
    EXPECT_GT(costsAKing.score, EvalWeights{}.king / 2);
}

// Under "Destroy Both Kings!" a fork that leaves neither king a way out alone
// is a mate all the same: the rook to 28 ends the game.
TEST(Search, BothKingsWithNoEscapeAloneAreMated)
{
    Position position = with({{24, k}, {25, k}, {49, Q}, {60, R}, {117, K}, {126, K}});
    position.winOption = 1;
    const SearchReport report = searchFor(position, 20000);
    ASSERT_TRUE(report.best);
    EXPECT_EQ(*report.best, (Move{60, 28, MoveExtra::Plain}));
    EXPECT_GT(report.score, kMateScore - kMaxPly);
}

TEST(Search, TakesAQueenLeftUnguarded)
{
    // White's rook on 0 reaches Black's queen on 7 along its line.
    const Position position = with({{0, R}, {7, q}, {40, K}, {48, K}, {110, k}, {118, k}});
    const SearchReport report = searchFor(position, 5000);
    ASSERT_TRUE(report.best);
    EXPECT_EQ(*report.best, (Move{0, 7, MoveExtra::Plain}));
}

TEST(Search, AStopRaisedBeforeTheStartStillGivesALegalMove)
{
    const std::atomic<bool> stop{true};
    Searcher searcher(1);
    const SearchReport report = searcher.search(standardPosition(), SearchLimits{}, stop);
    ASSERT_TRUE(report.best);
    EXPECT_TRUE(isLegal(standardPosition(), *report.best));
}

// How long a test waits on the search's thread before it counts as stuck.
constexpr auto kPatience = std::chrono::seconds(30);

// Whether `condition` comes true, looked at every millisecond, within kPatience.
template <typename Condition> bool comesTrue(Condition condition)
{
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Waits on another thread's report.
struct Reports {
    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<SearchReport> received;

    BackgroundSearch::Done sink()
    {
        return [this](const SearchReport& report) {
            std::lock_guard lock(mutex);
            received.push_back(report);
            arrived.notify_all();
        };
    }
    // Whether `count` reports have arrived within kPatience.
    bool waitFor(std::size_t count)
    {
        std::unique_lock lock(mutex);
        return arrived.wait_for(lock, kPatience, [&] { return received.size() >= count; });
    }
};

TEST(BackgroundSearch, StopEndsAnOpenEndedSearchWithItsBestMoveSoFar)
{
    Reports reports;
    BackgroundSearch search(4);
    const Position middle = randomPositions(1, 30, 3).back();
    search.start(middle, SearchLimits{}, reports.sink());
    ASSERT_TRUE(comesTrue([&] { return search.nodes() >= 5000; }));
    search.stop();
    ASSERT_TRUE(reports.waitFor(1));
    ASSERT_TRUE(reports.received[0].best);
    EXPECT_TRUE(isLegal(middle, *reports.received[0].best));

    // A new search after a stopped one starts from a lowered flag.
    SearchLimits shallow;
    shallow.maxDepth = 2;
    search.start(standardPosition(), shallow, reports.sink());
    ASSERT_TRUE(reports.waitFor(2));
    EXPECT_EQ(reports.received[1].depth, 2);
}

TEST(BackgroundSearch, DestroyingItMidSearchStopsAndJoinsTheThread)
{
    Reports reports;
    {
        BackgroundSearch search(4);
        search.start(standardPosition(), SearchLimits{}, reports.sink());
        ASSERT_TRUE(comesTrue([&] { return search.nodes() > 0; }));
    }
    EXPECT_EQ(reports.received.size(), 1u);
}

// The king to save is chosen on the search's thread as it is at once.
TEST(BackgroundSearch, ChoosesTheKingToKeepOnItsThread)
{
    Position offered = kFork;
    offered.winOption = 1;
    offered.squares[10] = offered.squares[4];
    offered.squares[4] = kEmpty;
    offered.status = Status::BlackToMove;
    offered.squares[25] = kEmpty;
    offered.kingTrial = 1;
    const KingChoice choice{16, 25};
    const std::atomic<bool> never{false};
    const int atOnce = kingToKeep(offered, choice, never);
    ASSERT_TRUE(atOnce == 16 || atOnce == 25);

    std::mutex mutex;
    std::condition_variable arrived;
    std::optional<int> kept;
    BackgroundSearch search(4);
    search.run([&](const std::atomic<bool>& stop) {
        const int square = kingToKeep(offered, choice, stop);
        std::lock_guard lock(mutex);
        kept = square;
        arrived.notify_all();
    });
    std::unique_lock lock(mutex);
    ASSERT_TRUE(arrived.wait_for(lock, kPatience, [&] { return kept.has_value(); }));
    EXPECT_EQ(*kept, atOnce);
}

} // namespace
} // namespace palisade
