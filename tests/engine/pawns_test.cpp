#include "engine/remember.h"
#include "test_positions.h"

namespace palisade {
namespace {
using namespace letters;

// Cases are written as the sides stand at the start, White's pawns advancing
// towards colmn 7. After the switch the same squares hold the other colours,
// so each case keeps its directions. The first piece is the one that moves.
Position build(int sw, Pieces pieces, int ep = 0)
{
    for (auto& [square, code] : pieces) {
        if (sw == 1 && isPiece(code)) code += isWhite(code) ? kBlackOffset : -kBlackOffset;
    }
    Position position = with(pieces, isWhite(pieces.front().second) ? W : Bl);
    position.sidesSwitched = sw;
    if (sw == 1) std::swap(position.upPawn, position.downPawn);
    position.enPassantSquare = ep;
    return position;
}

// Steps first, then the captures towards rw - 1, rw + 1, boards - 1, boards + 1.
TEST(PawnTargets, StepsCapturesAndEnPassantInBothOrientations)
{
    struct {
        Pieces pieces;
        int ep;
        Squares expected;
    } cases[] = {
        // clang-format off
        {{{65, P}}, 0, {66, 67}},             {{{66, P}}, 0, {67}},
        {{{65, P}, {66, n}}, 0, {}},          {{{65, P}, {67, N}}, 0, {66}},
        {{{76, P}, {77, n}, {69, n}, {85, k}, {45, p}, {109, r}}, 0, {69, 85, 45, 109}},
        {{{76, P}, {69, N}, {85, N}, {45, P}, {109, R}}, 0, {77}},
        {{{126, P}, {119, n}, {95, n}}, 0, {127, 119, 95}},
        {{{2, P}, {11, n}, {35, n}}, 0, {3, 11, 35}},
        {{{26, P}, {35, n}}, 0, {27}},        {{{33, P}, {26, n}}, 0, {34, 35}}, // no wrapping
        {{{70, p}}, 0, {69, 68}},             {{{70, p}, {68, n}}, 0, {69}},
        {{{75, p}, {74, N}, {66, N}, {82, N}, {42, K}, {106, P}}, 0, {66, 82, 42, 106}},
        {{{1, p}, {8, N}, {32, N}}, 0, {0, 8, 32}},
        {{{126, p}, {117, N}, {93, N}}, 0, {125, 124, 117, 93}},
        {{{57, p}, {64, N}}, 0, {56}},        {{{33, p}, {24, N}}, 0, {32}},
        // En passant only past the square beside, where the double step ended.
        {{{76, P}, {68, p}}, 68, {77, 69}},   {{{76, P}, {84, p}}, 84, {77, 85}},
        {{{76, P}, {44, p}}, 44, {77, 45}},   {{{76, P}, {108, p}}, 108, {77, 109}},
        {{{76, P}, {68, p}}, 0, {77}},        {{{76, P}, {67, p}}, 67, {77}},
        {{{76, P}, {75, p}}, 75, {77}},       {{{28, P}, {36, p}}, 36, {29}},
        {{{67, p}, {75, P}}, 75, {66, 74}},
        // clang-format on
    };
    for (int sw : {0, 1}) {
        for (const auto& c : cases) {
            const int from = c.pieces.front().first;
            EXPECT_EQ(targetsOf(build(sw, c.pieces, c.ep), from), c.expected) << from << ", switched " << sw;
        }
    }
}

// Pawns of the other direction stand beside 68; only the one passed by is
// taken, and only a pawn's double step leaves an en passant square.
TEST(Remember, EnPassantAndTheDoubleStep)
{
    struct {
        int mover, pick, drop, ep;
        Squares taken;
        int epAfter;
    } cases[] = {
        // clang-format off
        {P, 76, 69, 68, {68}, 0}, {P, 76, 85, 84, {84}, 0}, {P, 76, 69, 0, {}, 0},     {P, 76, 69, 84, {}, 0},
        {N, 76, 69, 68, {}, 0},   {p, 75, 66, 67, {67}, 0}, {p, 75, 66, 0, {}, 0},     {P, 97, 99, 68, {}, 99},
        {p, 102, 100, 84, {}, 100}, {P, 97, 98, 68, {}, 0}, {R, 112, 114, 68, {}, 0},
        // clang-format on
    };
    for (int sw : {0, 1}) {
        for (const auto& c : cases) {
            const int other = c.mover == p ? P : p;
            Position position = build(sw, {{c.pick, c.mover}, {68, other}, {84, other}, {67, other}}, c.ep);
            Position expected = position;
            for (int square : c.taken) expected.squares[square] = kEmpty;
            expected.enPassantSquare = c.epAfter;
            remember(position, c.drop, c.pick, Kind::Queen);
            EXPECT_EQ(position, expected) << c.pick << " to " << c.drop << ", switched " << sw;
        }
    }
}

} // namespace
} // namespace palisade
