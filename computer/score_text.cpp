#include "computer/score_text.h"

#include "computer/search.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace palisade {

namespace {

constexpr double kCentipawnsPerPawn = 100.0;
// The bar shows no difference beyond this many pawns.
constexpr double kBarLimitPawns = 10.0;
// Pawns at which the curve has gone three quarters of the way to the top.
constexpr double kBarSpreadPawns = 4.0;

bool isMate(int score) { return std::abs(score) > kMateBound; }

// Half-moves until the mate, counted to whole moves of the side that mates.
int movesToMate(int score) { return (kMateScore - std::abs(score) + 1) / 2; }

} // namespace

std::string scoreText(int whiteScore)
{
    if (isMate(whiteScore)) {
        return (whiteScore > 0 ? "M" : "-M") + std::to_string(movesToMate(whiteScore));
    }
    char text[16];
    std::snprintf(text, sizeof text, "%+.2f", whiteScore / kCentipawnsPerPawn);
    return whiteScore == 0 ? "0.00" : text;
}

double whiteShare(int whiteScore)
{
    if (isMate(whiteScore)) return whiteScore > 0 ? 1.0 : 0.0;
    const double pawns = std::clamp(whiteScore / kCentipawnsPerPawn, -kBarLimitPawns, kBarLimitPawns);
    // tanh reaches 0.5 (three quarters of the bar) at atanh(0.5) times the spread.
    return 0.5 + 0.5 * std::tanh(pawns * std::atanh(0.5) / kBarSpreadPawns);
}

} // namespace palisade
