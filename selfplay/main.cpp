// palisade-selfplay: the computer's speed and strength, measured.
//   palisade-selfplay speed [SECONDS [THREADS]]
//                                             nodes per second and depth reached
//   palisade-selfplay depth DEPTH [THREADS [RUNS]]
//                                             time to finish that depth, the median of the runs
//   palisade-selfplay threads THREADS MS GAMES [SEED]
//                                             THREADS threads against one, MS milliseconds
//                                             a move each, openings drawn from the seed
//   palisade-selfplay bench [DEPTH]          nodes of a fixed-depth search of ten
//                                             positions: changes only when the search does
//   palisade-selfplay match A B GAMES [SEED [SCALE]]
//                                             A against B, colours alternating
//   palisade-selfplay tune WEIGHT VALUE GAMES [SCALE]
//                                             level 3 with one weight changed
//                                             against level 3 as it is
// A and B are levels 1..5, "random" or "greedy"; SCALE divides the levels'
// node budgets for quicker matches.

#include "computer/levels.h"
#include "computer/match.h"
#include "computer/sample_positions.h"
#include "computer/search.h"
#include "computer/timed_agent.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace palisade;

namespace {

int usage()
{
    std::fprintf(stderr, "usage: palisade-selfplay speed [SECONDS [THREADS]]\n"
                         "       palisade-selfplay depth DEPTH [THREADS [RUNS]]\n"
                         "       palisade-selfplay threads THREADS MS GAMES [SEED]\n"
                         "       palisade-selfplay bench [DEPTH]\n"
                         "       palisade-selfplay match A B GAMES [SEED [SCALE]]   (A, B: 1..5, random, greedy)\n"
                         "       palisade-selfplay tune WEIGHT VALUE GAMES [SCALE]\n");
    return 2;
}

void measure(const char* name, const Position& position, int milliseconds, int threads)
{
    Searcher searcher(64);
    SearchLimits limits;
    limits.maxTime = std::chrono::milliseconds(milliseconds);
    limits.threads = threads;
    const std::atomic<bool> never{false};
    const SearchReport report = searcher.search(position, limits, never);
    const double seconds = std::max(1, static_cast<int>(report.elapsed.count())) / 1000.0;
    std::printf("%-12s depth %2d  nodes %9lld  %6.0f knodes/s  %.2f s\n", name, report.depth,
                static_cast<long long>(report.nodes), report.nodes / seconds / 1000.0, seconds);
}

int speed(int argc, char** argv)
{
    const int milliseconds = argc > 2 ? static_cast<int>(std::atof(argv[2]) * 1000) : 1000;
    const int threads = argc > 3 ? std::atoi(argv[3]) : 1;
    if (milliseconds <= 0 || threads < 1) return usage();
    measure("start", standardPosition(), milliseconds, threads);
    measure("middle game", middleGamePosition(), milliseconds, threads);
    return 0;
}

// Seconds to finish `depth`, the median of `runs` searches, each with a table of its own.
double secondsToDepth(const Position& position, int depth, int threads, int runs)
{
    std::vector<double> seconds;
    for (int run = 0; run < runs; ++run) {
        Searcher searcher(64);
        SearchLimits limits;
        limits.maxDepth = depth;
        limits.threads = threads;
        const std::atomic<bool> never{false};
        const auto started = std::chrono::steady_clock::now();
        searcher.search(position, limits, never);
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
    }
    std::sort(seconds.begin(), seconds.end());
    return seconds[seconds.size() / 2];
}

int depth(int argc, char** argv)
{
    if (argc < 3) return usage();
    const int depth = std::atoi(argv[2]);
    const int threads = argc > 3 ? std::atoi(argv[3]) : 1;
    const int runs = argc > 4 ? std::atoi(argv[4]) : 5;
    if (depth < 1 || depth >= kMaxPly || threads < 1 || runs < 1) return usage();
    std::printf("depth %d, %d thread(s), median of %d: start %.2f s, middle game %.2f s\n", depth, threads, runs,
                secondsToDepth(standardPosition(), depth, threads, runs),
                secondsToDepth(middleGamePosition(), depth, threads, runs));
    return 0;
}

struct FixedDepth {
    std::int64_t nodes = 0;
    double seconds = 0;
};

// Each position searched to `depth` by a searcher of its own, so the count
// is the same on every run and machine.
FixedDepth searchAll(const std::vector<Position>& positions, int depth)
{
    FixedDepth total;
    for (const Position& position : positions) {
        Searcher searcher(16);
        SearchLimits limits;
        limits.maxDepth = depth;
        const std::atomic<bool> never{false};
        const auto started = std::chrono::steady_clock::now();
        total.nodes += searcher.search(position, limits, never).nodes;
        total.seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    }
    return total;
}

// The node count at the depth asked, the speed, and the effective branching
// factor: how many times more nodes one more ply of depth costs.
int bench(int argc, char** argv)
{
    const int depth = argc > 2 ? std::atoi(argv[2]) : 6;
    if (depth < 2 || depth >= kMaxPly) return usage();
    const std::vector<Position> positions = benchPositions();
    const FixedDepth shallower = searchAll(positions, depth - 1);
    const FixedDepth full = searchAll(positions, depth);
    std::printf("%zu positions, depth %d: nodes %lld, %.0f knodes/s, effective branching factor %.2f\n",
                positions.size(), depth, static_cast<long long>(full.nodes),
                full.nodes / std::max(full.seconds, 1e-6) / 1000.0,
                static_cast<double>(full.nodes) / std::max<std::int64_t>(shallower.nodes, 1));
    return 0;
}

void printScore(const MatchScore& score)
{
    std::printf("%d games, +%d =%d -%d (%d judged by material), score %.1f %% +- %.1f %%, %.0f half-moves a game\n",
                score.games, score.wins, score.draws, score.losses, score.adjudicated, 100.0 * score.score(),
                100.0 * score.margin(), static_cast<double>(score.halfMoves) / std::max(1, score.games));
}

void report(const Agent& first, const Agent& second, int scale, const MatchScore& score)
{
    std::printf("%s vs %s (nodes / %d): ", first.name().c_str(), second.name().c_str(), scale);
    printScore(score);
}

// The weight of EvalWeights named on the command line.
int* weightNamed(EvalWeights& weights, const std::string& name)
{
    if (name == "pawnStep") return &weights.pawnStep;
    if (name == "kingShelter") return &weights.kingShelter;
    if (name == "kingDanger") return &weights.kingDanger;
    if (name == "mobility") return &weights.mobility;
    if (name == "knight") return &weights.knight;
    if (name == "bishop") return &weights.bishop;
    if (name == "rook") return &weights.rook;
    return nullptr;
}

int tune(int argc, char** argv)
{
    if (argc < 5) return usage();
    EvalWeights weights;
    int* weight = weightNamed(weights, argv[2]);
    const int games = std::atoi(argv[4]);
    const int scale = argc > 5 ? std::atoi(argv[5]) : 1;
    if (weight == nullptr || games <= 0 || scale <= 0) return usage();
    *weight = std::atoi(argv[3]);
    const auto tuned = makeTunedAgent(kDefaultLevel, weights, scale);
    const auto plain = makeAgent(std::to_string(kDefaultLevel), scale);
    std::printf("%s = %d: ", argv[2], *weight);
    report(*tuned, *plain, scale, playMatch(*tuned, *plain, games, 1));
    return 0;
}

void addUp(MatchScore& total, const MatchScore& part)
{
    total.games += part.games;
    total.wins += part.wins;
    total.draws += part.draws;
    total.losses += part.losses;
    total.adjudicated += part.adjudicated;
    total.halfMoves += part.halfMoves;
}

// Pairs of games from openings of a few random half-moves, each opening played
// with either colour; the score so far after every ten games.
int threadsMatch(int argc, char** argv)
{
    if (argc < 5) return usage();
    constexpr int kRandomHalfMoves = 4;
    constexpr int kMaxHalfMoves = 200;
    const int threads = std::atoi(argv[2]);
    const std::chrono::milliseconds perMove(std::atoi(argv[3]));
    const int games = std::atoi(argv[4]);
    const std::uint64_t seed = argc > 5 ? std::strtoull(argv[5], nullptr, 10) : 1;
    if (threads < 1 || perMove.count() <= 0 || games < 2) return usage();
    const auto many = makeTimedAgent(perMove, threads, kRandomHalfMoves);
    const auto one = makeTimedAgent(perMove, 1, kRandomHalfMoves);
    MatchScore total;
    for (int pair = 0; pair < games / 2; ++pair) {
        addUp(total, playMatch(*many, *one, 2, seed + static_cast<std::uint64_t>(pair), kMaxHalfMoves, true));
        if (total.games % 10 == 0 || total.games == games / 2 * 2) {
            std::printf("%s vs %s: ", many->name().c_str(), one->name().c_str());
            printScore(total);
        }
        std::fflush(stdout);
    }
    return 0;
}

int match(int argc, char** argv)
{
    if (argc < 5) return usage();
    const int scale = argc > 6 ? std::atoi(argv[6]) : 1;
    const auto first = makeAgent(argv[2], scale);
    const auto second = makeAgent(argv[3], scale);
    const int games = std::atoi(argv[4]);
    const std::uint64_t seed = argc > 5 ? std::strtoull(argv[5], nullptr, 10) : 1;
    if (!first || !second || games <= 0 || scale <= 0) return usage();
    report(*first, *second, scale, playMatch(*first, *second, games, seed));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return usage();
    const std::string command = argv[1];
    if (command == "speed") return speed(argc, argv);
    if (command == "bench") return bench(argc, argv);
    if (command == "depth") return depth(argc, argv);
    if (command == "threads") return threadsMatch(argc, argv);
    if (command == "match") return match(argc, argv);
    if (command == "tune") return tune(argc, argv);
    return usage();
}
