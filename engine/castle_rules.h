#pragma once

#include "engine/orientation.h"
#include "engine/piece.h"

#include <array>

namespace palisade {

enum Way { kKingside = 0, kAlongRw = 2, kAlongBoards = 3 };

// One castle as the sides stand at the start; turned, it gives the castle after
// "Switch Sides". The rook goes to the king's home on the kingside, to the
// square the king crosses on the queenside.
struct Castle {
    int king; // 0, 1 White kings A and B; 2, 3 Black kings A and B
    Way way;
    int home;
    std::array<int, 2> landing; // a queenside castle has one
    int crossed;                // queenside only
    std::array<int, 3> mustBeEmpty;
    int rookFrom;
    int rookTo;
};

// clang-format off
inline constexpr std::array<Castle, 12> kCastles = {{
    {0, kKingside,    40, {8, 32},   -1, {8, 32, -1},    0,   40},
    {0, kAlongRw,     40, {56, -1},  48, {48, 56, 16},   24,  48},
    {0, kAlongBoards, 40, {104, -1}, 72, {72, 64, 104},  96,  72},
    {1, kKingside,    80, {88, 112}, -1, {88, 112, -1},  120, 80},
    {1, kAlongRw,     80, {64, -1},  72, {72, 64, 104},  96,  72},
    {1, kAlongBoards, 80, {16, -1},  48, {48, 56, 16},   24,  48},
    {2, kKingside,    47, {15, 39},  -1, {15, 39, -1},   7,   47},
    {2, kAlongRw,     47, {63, -1},  55, {55, 63, 23},   31,  55},
    {2, kAlongBoards, 47, {111, -1}, 79, {79, 71, 111},  103, 79},
    {3, kKingside,    87, {95, 119}, -1, {95, 119, -1},  127, 87},
    {3, kAlongRw,     87, {71, -1},  79, {79, 71, 111},  103, 79},
    {3, kAlongBoards, 87, {23, -1},  55, {55, 63, 23},   31,  55},
}};
// clang-format on

// The castle flag is 4 * king + way; way 1 goes with the kingside castle.
constexpr int flagOf(const Castle& castle) { return 4 * castle.king + castle.way; }

constexpr Side sideOf(const Castle& castle) { return castle.king < 2 ? Side::White : Side::Black; }

// A square of the castle as it stands in the given orientation (-1 stays none).
constexpr int oriented(int square, int sidesSwitched)
{
    return square < 0 || sidesSwitched == 0 ? square : turnedSquare(square);
}

} // namespace palisade
