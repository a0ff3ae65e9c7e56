#pragma once

#include <string>

namespace palisade {

// A score in centipawns as White sees it, in pawns: "+0.35", "-1.20",
// "0.00"; a mate as the moves until it, "M3" for White, "-M3" for Black.
std::string scoreText(int whiteScore);

// White's share of an evaluation bar, 0 to 1: a half for an even game, more
// the better White stands, on a smooth curve that levels off near ten pawns
// either way; a mate fills the bar for the side that gives it.
double whiteShare(int whiteScore);

} // namespace palisade
