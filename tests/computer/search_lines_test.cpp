#include "../engine/test_positions.h"
#include "computer/sample_positions.h"
#include "computer/search.h"
#include "engine/apply.h"
#include "random_positions.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>

namespace palisade {
namespace {

using namespace letters;

const std::atomic<bool> kNoStop{false};

SearchReport searchLines(const Position& position, int multiPv, int maxDepth, std::int64_t maxNodes = 0)
{
    Searcher searcher(4);
    SearchLimits limits;
    limits.multiPv = multiPv;
    limits.maxDepth = maxDepth;
    limits.maxNodes = maxNodes;
    return searcher.search(position, limits, kNoStop);
}

std::size_t moveCount(const Position& position)
{
    MoveList moves;
    MoveBoard(position).generate(moves);
    return moves.size();
}

// Every move of the line is legal where it is played, played as the game plays it.
::testing::AssertionResult playsThrough(Position position, const SearchLine& line)
{
    for (std::size_t k = 0; k < line.moves.size(); ++k) {
        if (!isLegal(position, line.moves[k])) {
            return ::testing::AssertionFailure() << "move " << k << " (" << moveText(line.moves[k]) << ") is illegal";
        }
        apply(position, line.moves[k]);
    }
    return ::testing::AssertionSuccess();
}

// A search stopped early may have fewer lines than wanted, never none.
void expectSoundLines(const Position& position, const SearchReport& report, std::size_t wanted,
                      const std::string& where, bool stoppedEarly = false)
{
    ASSERT_TRUE(report.best) << where;
    if (stoppedEarly) {
        ASSERT_GE(report.lines.size(), 1u) << where;
        ASSERT_LE(report.lines.size(), wanted) << where;
    } else {
        ASSERT_EQ(report.lines.size(), std::min(wanted, moveCount(position))) << where;
    }
    EXPECT_EQ(report.lines[0].moves.front(), *report.best) << where;
    EXPECT_EQ(report.lines[0].score, report.score) << where;
    std::set<std::pair<int, int>> firstMoves;
    for (std::size_t k = 0; k < report.lines.size(); ++k) {
        const SearchLine& line = report.lines[k];
        ASSERT_FALSE(line.moves.empty()) << where;
        EXPECT_TRUE(playsThrough(position, line)) << where << ", line " << k;
        firstMoves.insert({line.moves[0].pick, line.moves[0].drop * 8 + static_cast<int>(line.moves[0].extra)});
        if (k > 0) {
            EXPECT_GE(report.lines[k - 1].score, line.score) << where << ", line " << k;
        }
    }
    EXPECT_EQ(firstMoves.size(), report.lines.size()) << where;
}

TEST(SearchLines, AreLegalDistinctAndSortedBestFirst)
{
    const std::vector<Position> positions = randomPositions(3, 40, 17);
    for (std::size_t i = 0; i < positions.size(); i += 6) {
        expectSoundLines(positions[i], searchLines(positions[i], 4, 3), 4, "random position " + std::to_string(i));
    }
    expectSoundLines(middleGamePosition(), searchLines(middleGamePosition(), 3, 4), 3, "middle game");
}

TEST(SearchLines, AStopMidwayStillLeavesSoundLines)
{
    const std::vector<Position> positions = randomPositions(2, 50, 23);
    for (std::size_t i = 0; i < positions.size(); i += 5) {
        for (const std::int64_t nodes : {1, 50, 700, 4000}) {
            expectSoundLines(positions[i], searchLines(positions[i], 3, 64, nodes), 3,
                             "position " + std::to_string(i) + " after " + std::to_string(nodes) + " nodes", true);
        }
    }
}

// White's rook on 0 takes the queen on 7; any other move loses that rook.
TEST(SearchLines, RankTheQueenTakenFarAboveTheRest)
{
    const Position position = with({{0, R}, {7, q}, {64, R}, {67, r}, {40, K}, {48, K}, {127, k}, {119, k}});
    const SearchReport three = searchLines(position, 3, 4);
    expectSoundLines(position, three, 3, "three lines");
    EXPECT_EQ(three.lines[0].moves[0], (Move{0, 7, MoveExtra::Plain}));
    EXPECT_GT(three.lines[0].score, three.lines[1].score + 800);

    const SearchReport all = searchLines(position, 1000, 4);
    expectSoundLines(position, all, 1000, "every line");
    EXPECT_EQ(all.lines[0].moves, three.lines[0].moves);
    EXPECT_EQ(all.lines[0].score, three.lines[0].score);
}

TEST(SearchLines, OneLineIsTheBestMoveAndItsLine)
{
    const std::vector<Position> positions = randomPositions(2, 30, 5);
    for (std::size_t i = 0; i < positions.size(); i += 4) {
        expectSoundLines(positions[i], searchLines(positions[i], 1, 3), 1, "position " + std::to_string(i));
    }
}

TEST(SearchLines, MoreLinesThanMovesGivesEveryMove)
{
    // Two kings each with few steps, and nothing else.
    const Position position = with({{0, K}, {7, K}, {120, k}, {127, k}});
    const std::size_t moves = moveCount(position);
    ASSERT_GT(moves, 1u);
    const SearchReport report = searchLines(position, 100, 3);
    expectSoundLines(position, report, 100, "every move");
    EXPECT_EQ(report.lines.size(), moves);
}

TEST(SearchLines, EachFinishedDepthIsReportedOnTheSearchingThread)
{
    std::vector<int> depths;
    std::vector<std::size_t> lineCounts;
    std::thread::id reportedOn;
    Searcher searcher(4);
    SearchLimits limits;
    limits.maxDepth = 4;
    limits.multiPv = 2;
    limits.onIteration = [&](const SearchReport& report) {
        depths.push_back(report.depth);
        lineCounts.push_back(report.lines.size());
        reportedOn = std::this_thread::get_id();
        EXPECT_GT(report.nodes, 0);
        EXPECT_GE(report.nodesPerSecond(), 0.0);
    };
    SearchReport last;
    std::thread searching([&] { last = searcher.search(middleGamePosition(), limits, kNoStop); });
    const std::thread::id searchingId = searching.get_id();
    searching.join();
    EXPECT_EQ(depths, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(lineCounts, std::vector<std::size_t>(4, 2));
    EXPECT_EQ(reportedOn, searchingId);
    EXPECT_EQ(last.depth, 4);
}

// The fixed-depth figure that `palisade-selfplay bench` prints for depth 4:
// one line and one thread search exactly as the plain search always has.
TEST(SearchLines, OneLineOneThreadSearchesNodeForNodeAsBefore)
{
    constexpr std::int64_t kBenchDepth4Nodes = 402515;
    std::int64_t nodes = 0;
    for (const Position& position : benchPositions()) {
        Searcher searcher(16);
        SearchLimits limits;
        limits.maxDepth = 4;
        nodes += searcher.search(position, limits, kNoStop).nodes;
    }
    EXPECT_EQ(nodes, kBenchDepth4Nodes);
}

} // namespace
} // namespace palisade
