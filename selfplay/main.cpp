// palisade-selfplay: the computer's speed and strength, measured.
//   palisade-selfplay speed [SECONDS]        nodes per second and depth reached
//   palisade-selfplay match A B GAMES [SEED] A against B, colours alternating
// A and B are levels 1..5, "random" or "greedy".

#include "computer/levels.h"
#include "computer/match.h"
#include "computer/sample_positions.h"
#include "computer/search.h"

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace palisade;

namespace {

int usage()
{
    std::fprintf(stderr, "usage: palisade-selfplay speed [SECONDS]\n"
                         "       palisade-selfplay match A B GAMES [SEED]   (A, B: 1..5, random, greedy)\n");
    return 2;
}

void measure(const char* name, const Position& position, int milliseconds)
{
    Searcher searcher(64);
    SearchLimits limits;
    limits.maxTime = std::chrono::milliseconds(milliseconds);
    const std::atomic<bool> never{false};
    const SearchReport report = searcher.search(position, limits, never);
    const double seconds = std::max(1, static_cast<int>(report.elapsed.count())) / 1000.0;
    std::printf("%-12s depth %2d  nodes %9lld  %6.0f knodes/s  %.2f s\n", name, report.depth,
                static_cast<long long>(report.nodes), report.nodes / seconds / 1000.0, seconds);
}

int speed(int argc, char** argv)
{
    const int milliseconds = argc > 2 ? static_cast<int>(std::atof(argv[2]) * 1000) : 1000;
    if (milliseconds <= 0) return usage();
    measure("start", standardPosition(), milliseconds);
    measure("middle game", middleGamePosition(), milliseconds);
    return 0;
}

int match(int argc, char** argv)
{
    if (argc < 5) return usage();
    const auto first = makeAgent(argv[2]);
    const auto second = makeAgent(argv[3]);
    const int games = std::atoi(argv[4]);
    const std::uint64_t seed = argc > 5 ? std::strtoull(argv[5], nullptr, 10) : 1;
    if (!first || !second || games <= 0) return usage();
    const MatchScore score = playMatch(*first, *second, games, seed);
    std::printf("%s vs %s: %d games, +%d =%d -%d (%d judged by material), score %.1f %% +- %.1f %%\n",
                first->name().c_str(), second->name().c_str(), score.games, score.wins, score.draws, score.losses,
                score.adjudicated, 100.0 * score.score(), 100.0 * score.margin());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return usage();
    const std::string command = argv[1];
    if (command == "speed") return speed(argc, argv);
    if (command == "match") return match(argc, argv);
    return usage();
}
