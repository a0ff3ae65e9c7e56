#include "gameroom/move_reading.h"

#include <vector>

namespace palisade {

namespace {

// A castle: the king arrives on its landing and a rook beside it.
std::optional<PlayedMove> readCastle(const Board& was, const Board& now, Side mover)
{
    const int king = codeOf(mover, Kind::King);
    int home = -1;
    int landing = -1;
    for (int square = 0; square < kSquareCount; ++square) {
        if (was[square] == king && now[square] != king) home = square;
        if (now[square] == king && was[square] != king) landing = square;
    }
    if (home < 0 || landing < 0) return std::nullopt;
    const int step = landing > home ? landing - home : home - landing;
    const int castled = step == 2 * kRowStep || step == 2 * kBoardStep ? 2 : 1;
    return PlayedMove{home, landing, castled};
}

} // namespace

std::optional<PlayedMove> readMove(const Board& was, const Board& now, Side mover)
{
    // Squares the mover left empty, and squares where a piece of the mover arrived.
    std::vector<int> left, arrived;
    for (int square = 0; square < kSquareCount; ++square) {
        if (was[square] == now[square]) continue;
        if (belongsTo(was[square], mover) && now[square] == kEmpty) left.push_back(square);
        if (belongsTo(now[square], mover)) arrived.push_back(square);
    }
    if (left.size() == 1 && arrived.size() == 1) return PlayedMove{left[0], arrived[0], 0};
    if (arrived.size() == 2) return readCastle(was, now, mover);
    return std::nullopt;
}

} // namespace palisade
