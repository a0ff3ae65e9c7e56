// Move-tree sizes of fixed positions, written down once and held from then on:
// a change in any rule, castles and en passant included, moves one of them.
// Both generators must give every number, the fast one deeper.

#include "engine/move_board.h"
#include "engine/perft.h"
#include "engine/reference_moves.h"
#include "test_positions.h"

namespace palisade {
namespace {

using namespace letters;

struct Golden {
    const char* name;
    Position position;
    std::vector<std::uint64_t> leaves; // by depth, from depth 1
    int referenceDepth;                // the rules engine is slower: it checks the first ones
};

Position switched(Position position)
{
    position.sidesSwitched = 1;
    position.upPawn = kBlackPawn;
    position.downPawn = kWhitePawn;
    return position;
}

Position freed(Position position)
{
    position.loneKingFree = 1;
    return position;
}

// Every back-rank piece but the kings and rooks has left White's side, so all
// six White castles stand open; Black keeps a knight on two castle squares.
const Position kCastlesOpen = drawn({
    "RP....pr", ".P....pn", ".P....p.", "RP....pr", //
    ".P....p.", "KP....pk", ".P.Q..p.", ".P.N..p.", //
    ".P....pn", ".P....p.", "KP....pk", ".P....p.", //
    "RP....pr", ".P..b.p.", ".P....p.", "RP....pr",
});

// The same armies after the sides were switched; a Black pawn has just
// stepped twice past a White pawn that may take it en passant.
const Position kSwitchedWithEnPassant = [] {
    Position position = switched(drawn({
        "rp....PR", ".p....P.", "np....P.", "rp....PR", //
        ".p..N.P.", ".p..Q.P.", "k..p..PK", ".p.P....", //
        ".p....P.", "kp....PK", ".p....P.", "np....P.", //
        "rp....PR", ".p....P.", ".p.b..P.", "rp....PR",
    }));
    position.enPassantSquare = 51;
    return position;
}();

const Position kMiddleGame = drawn({
    "R.P...pr", ".P..n.p.", "B..P..p.", "R.....pr", //
    ".P.B.p.b", "KP....pk", "Q.P...pq", "NP...p.n", //
    ".P.N..p.", "QP..p..q", "K..P..pk", "BP....pb", //
    "R.....pr", ".PB..b..", "NP..p..n", "R....p.r",
});

// White is down to one king, which may move only once the lone king is freed.
const Position kLoneKing = drawn({
    "R.....pr", "..P...p.", "........", "......pr", //
    "..N...p.", "...K..pk", ".....q..", "......p.", //
    ".....n..", "........", "......pk", "..B.....", //
    "R.......", "........", "........", "......p.",
});

TEST(PerftGolden, FixedPositionsKeepTheirMoveTrees)
{
    const Golden cases[] = {
        {"start", standardPosition(), {44, 1936, 90408, 4221066}, 3},
        {"castles open", kCastlesOpen, {88, 5696, 480174, 30619758}, 3},
        {"castles open, Black to move", [] {
             Position p = kCastlesOpen;
             p.status = Bl;
             return p;
         }(),
         {67, 5807, 371341}, 3},
        {"switched, en passant", kSwitchedWithEnPassant, {89, 5766, 483668, 30771616}, 3},
        {"middle game", kMiddleGame, {98, 6122, 593533}, 3},
        {"lone king", kLoneKing, {44, 3080, 115273, 7686049}, 3},
        {"lone king freed", freed(kLoneKing), {50, 3510, 154916}, 3},
    };
    for (const Golden& c : cases) {
        SCOPED_TRACE(c.name);
        MoveBoard board(c.position);
        for (std::size_t i = 0; i < c.leaves.size(); ++i) {
            const int depth = static_cast<int>(i) + 1;
            EXPECT_EQ(perft(board, depth), c.leaves[i]) << "depth " << depth;
            if (depth <= c.referenceDepth) {
                EXPECT_EQ(referencePerft(c.position, depth), c.leaves[i]) << "reference, depth " << depth;
            }
        }
        EXPECT_EQ(board.position(), c.position);
    }
}

} // namespace
} // namespace palisade
