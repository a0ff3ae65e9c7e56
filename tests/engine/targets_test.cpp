#include "test_positions.h"

namespace palisade {
namespace {
using namespace letters;

// Exact lists in the order jumps and rays are tried; the first piece moves.
TEST(Targets, ExactListsInTheOrderJumpsAndRaysAreTried)
{
    struct {
        Pieces pieces;
        Squares expected;
        Status status = W;
    } cases[] = {
        // clang-format off
        {{{0, N}}, {17, 10, 65, 34}},
        {{{43, N}}, {33, 37, 58, 60, 49, 53, 9, 13, 106, 108, 73, 77}},
        {{{7, N}}, {22, 13, 70, 37}},
        {{{0, B}}, {9, 18, 27, 33, 66, 99}},
        {{{3, B}}, {10, 17, 24, 12, 21, 30, 34, 65, 96, 36, 69, 102}},
        {{{0, R}}, {1, 2, 3, 4, 5, 6, 7, 8, 16, 24, 32, 64, 96}},
        {{{7, R}}, {6, 5, 4, 3, 2, 1, 0, 15, 23, 31, 39, 71, 103}},
        // An own piece closes a line; an enemy, an enemy king too, is taken and ends it.
        {{{0, R}, {1, P}, {8, p}, {32, k}}, {8, 32}},
        {{{0, n}, {17, q}, {10, K}}, {10, 65, 34}, Bl},
        {{{3, B}, {17, n}, {21, R}, {34, k}, {65, r}}, {10, 17, 12, 34, 36, 69, 102}},
        // A pinned piece moves only along the pin, taking nothing else.
        {{{48, B}, {40, K}, {56, r}, {57, p}, {58, p}}, {}},
        {{{48, N}, {40, K}, {56, r}, {57, p}, {58, p}}, {}},
        {{{68, r}, {100, k}, {4, Q}}, {36, 4}, Bl},
        // In check, a square the check test refuses does not end the ray.
        {{{2, B}, {0, K}, {96, r}}, {64}},
        {{{2, R}, {0, K}, {27, b}}, {18}},
        // clang-format on
    };
    for (const auto& c : cases) {
        const int from = c.pieces.front().first;
        EXPECT_EQ(targetsOf(with(c.pieces, c.status), from), c.expected) << "from " << from;
    }
}

} // namespace
} // namespace palisade
