#include "../engine/test_positions.h"
#include "computer/search.h"
#include "engine/apply.h"
#include "random_positions.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace palisade {
namespace {

const std::atomic<bool> kNoStop{false};

// White mates in three moves, the first 73 to 11 (found by a search of a game
// between a search and a random mover).
Position mateInThree()
{
    Position position = drawn({"R...P.pr", "NP..k.pn", "BP....p.", "R...P.pr", "BP....pb", "KP....p.", "QPN..pkq",
                               "...Pp..n", "NP....p.", ".QP...pq", "KP....p.", "BP..N.pb", "R..P..pr", "BP....pb",
                               ".P..P.pn", "R.....pr"});
    for (int flag = 8; flag < kCastleFlagCount; ++flag) position.castleLost[flag] = 1;
    return position;
}

SearchReport searchWith(int threads, const Position& position, const SearchLimits& base)
{
    Searcher searcher(8);
    SearchLimits limits = base;
    limits.threads = threads;
    return searcher.search(position, limits, kNoStop);
}

bool linePlaysThrough(Position position, const SearchLine& line)
{
    for (const Move move : line.moves) {
        if (!isLegal(position, move)) return false;
        apply(position, move);
    }
    return true;
}

TEST(SearchThreads, TwoFindTheMateOneFinds)
{
    const Position position = mateInThree();
    SearchLimits limits;
    limits.maxDepth = 5;
    const SearchReport one = searchWith(1, position, limits);
    ASSERT_TRUE(one.best);
    EXPECT_EQ(*one.best, (Move{73, 11, MoveExtra::Plain}));
    EXPECT_EQ(one.score, kMateScore - 5);

    for (const int threads : {2, 3}) {
        const SearchReport many = searchWith(threads, position, limits);
        ASSERT_TRUE(many.best) << threads;
        EXPECT_GT(many.score, kMateBound) << threads;
        EXPECT_GE(many.score, kMateScore - 9) << threads;
        ASSERT_FALSE(many.lines.empty());
        EXPECT_TRUE(linePlaysThrough(position, many.lines[0])) << threads;
    }
}

TEST(SearchThreads, EveryMoveAndLineIsLegalInShortSearches)
{
    const std::vector<Position> positions = randomPositions(2, 50, 29);
    for (std::size_t i = 0; i < positions.size(); i += 7) {
        Searcher searcher(2);
        SearchLimits limits;
        limits.threads = 2 + static_cast<int>(i % 2);
        limits.multiPv = 2;
        limits.maxNodes = 3000;
        const SearchReport report = searcher.search(positions[i], limits, kNoStop);
        ASSERT_TRUE(report.best) << i;
        EXPECT_TRUE(isLegal(positions[i], *report.best)) << i;
        for (const SearchLine& line : report.lines) EXPECT_TRUE(linePlaysThrough(positions[i], line)) << i;
        // The node limit counts the first thread's nodes; the report counts all
        // (a helper may not have begun before so short a search ended).
        EXPECT_GE(searcher.nodesSoFar(), 3000) << i;
        EXPECT_GE(report.nodes, searcher.nodesSoFar()) << i;
    }
}

TEST(SearchThreads, AStopEndsEveryThreadPromptly)
{
    Searcher searcher(8);
    std::atomic<bool> stop{false};
    SearchLimits limits;
    limits.threads = 3;
    SearchReport report;
    std::atomic<bool> done{false};
    std::thread searching([&] {
        report = searcher.search(standardPosition(), limits, stop);
        done.store(true);
    });
    while (searcher.nodesSoFar() < 20000) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const auto stopped = std::chrono::steady_clock::now();
    stop.store(true);
    searching.join();
    const auto waited = std::chrono::steady_clock::now() - stopped;
    // Generous for slow, instrumented builds; a search that ran on would take minutes.
    EXPECT_LT(waited, std::chrono::seconds(3));
    ASSERT_TRUE(report.best);
    EXPECT_TRUE(isLegal(standardPosition(), *report.best));
    EXPECT_GT(report.nodes, searcher.nodesSoFar());
}

TEST(SearchThreads, TheTimeLimitHoldsForEveryThread)
{
    SearchLimits limits;
    limits.maxTime = std::chrono::milliseconds(200);
    const auto started = std::chrono::steady_clock::now();
    const SearchReport report = searchWith(2, standardPosition(), limits);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
    EXPECT_TRUE(report.best);
    EXPECT_GT(report.depth, 0);
}

} // namespace
} // namespace palisade
