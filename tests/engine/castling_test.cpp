// Castles as a player meets them: counted by hand on sparse boards, played on a
// board where every castle is open, and lost for good once king or rook moved.

#include "engine/move_board.h"
#include "engine/orientation.h"
#include "engine/perft.h"
#include "engine/reference_moves.h"
#include "test_positions.h"

#include <algorithm>
#include <map>

namespace palisade {
namespace {

using namespace letters;

std::uint64_t bothPerfts(const Position& position, int depth)
{
    MoveBoard board(position);
    const std::uint64_t fast = perft(board, depth);
    EXPECT_EQ(referencePerft(position, depth), fast) << "depth " << depth;
    return fast;
}

// Squares as index = 32 * boards + 8 * rw + colmn; a king step changes colmn,
// rw and boards by at most one, a diagonal changes colmn and one of the others.
//
// White: kings 40 (king A's home) and 96, rooks 0 and 24. Black: king 127, pawn
// 126. King A's castle along boards is lost (flag 3); Black's lone king may not
// move.
// King A on 40 (b1 r1 c0): steps 41, 32, 48, 8, 72 and diagonals 33, 49, 9,
//   73, all empty and unattacked: 9. Kingside: 8 and 32 empty and safe, each
//   also a castle: +2. Along rw: 48, 56, 16 empty, 48 crossed and 56 landed on
//   safely: +1. Along boards: lost. Together 12.
// King on 96 (b3 r0 c0), no home: 97, 104, 64, 105, 65: 5.
// Rook 0: colmn 1..7 (7); rw 8, 16 up to the rook on 24 (2); boards 32, 64 up
//   to the king on 96 (2): 11.
// Rook 24: colmn 25..31 (7); rw 16, 8 (2); boards 56, 88, 120 (3): 12.
// Perft 1 = 12 + 5 + 11 + 12 = 40.
// Black answers with the pawn only: 125 or 124 (it stands on its start colmn),
// nothing to take on 117 or 93. Only rook 24 to 31 attacks the king, along
// boards over 63 and 95; the pawn cannot cover it: 0 answers. Rook 24 on 120
// pins the pawn, whose steps stay on the line: still 2.
// Perft 2 = 39 * 2 + 0 = 78.
TEST(Castles, CountedByHandWhiteCastlesOnBothSides)
{
    Position position = drawn({
        "R.......", "........", "........", "R.......", //
        "........", "K.......", "........", "........", //
        "........", "........", "........", "........", //
        "K.......", "........", "........", "......pk",
    });
    position.castleLost[3] = 1;
    EXPECT_EQ(bothPerfts(position, 1), 40u);
    EXPECT_EQ(bothPerfts(position, 2), 78u);
}

// Sides switched: Black's king A is at home on 48 (b1 r2 c0) with its kingside
// rook on 24; it lands on 16 or 56 and the rook takes 48. Its castles along rw
// and boards are lost (flags 10, 11). Black's second king stands on 122 (b3 r3
// c2). White has a lone king on 103, which may not move, and a knight on 25.
// Perft 1: the knight's jumps 8, 10, 19, 59, 88, 90, nothing in the way: 6.
// Black's moves once the knight has left 25, before what the knight attacks:
//   rook 24: colmn 25..31 (7), rw 16, 8, 0 (3), boards 56, 88, 120 (3): 13;
//   king 48: 49, 40, 56, 16, 80, 41, 57, 17, 81: 9, and the castle onto 16
//   and onto 56: 2; king 122: 121, 123, 114, 90, 113, 115, 89, 91: 8.
// Knight on 8 (attacks 2, 25, 18, 73, 42): the rook's rw line ends taking it
//   on 8: 12 + 9 + 2 + 8 = 31.
// Knight on 10 (attacks 0, 4, 25, 27, 16, 20, 73, 75, 40, 44): king 48 loses
//   16 and 40, the castle onto 16 goes, onto 56 stays: 13 + 7 + 1 + 8 = 29.
// Knight on 19 (attacks 2, 4, 9, 13, 25, 29, 82, 84, 49, 53): king 48 loses
//   49: 13 + 8 + 2 + 8 = 31.
// Knight on 59 (attacks 42, 44, 49, 53, 25, 29, 122, 124, 89, 93): king 122 is
//   in check, nothing can take the knight, no castle: king 122's steps but 89:
//   7.
// Knight on 88 (attacks 73, 82, 25, 58, 122): check again; the rook takes it
//   (56 is empty): 1, and king 122's 8 steps: 9.
// Knight on 90 (attacks 73, 75, 80, 84, 25, 27, 56, 60, 120, 124): king 48
//   loses 80 and 56, the castle onto 56 goes, onto 16 stays; king 122 may take
//   the knight: 13 + 7 + 1 + 8 = 29.
// Perft 2 = 31 + 29 + 31 + 7 + 9 + 29 = 136.
TEST(Castles, CountedByHandBlackKingsideAfterTheSwitch)
{
    Position position = drawn({
        "........", "........", "........", "rN......", //
        "........", "........", "k.......", "........", //
        "........", "........", "........", "........", //
        ".......K", "........", "........", "..k.....",
    });
    position.sidesSwitched = 1;
    position.upPawn = kBlackPawn;
    position.downPawn = kWhitePawn;
    position.castleLost[10] = position.castleLost[11] = 1;
    EXPECT_EQ(bothPerfts(position, 1), 6u);
    EXPECT_EQ(bothPerfts(position, 2), 136u);
}

// The start with only kings, rooks and pawns: every castle of both sides is
// free, nothing attacks a back rank.
Position castlesOpen(int sidesSwitched, Status status)
{
    Position position = standardPosition();
    for (int& code : position.squares) {
        if (code != kEmpty && !isKing(code) && kindOf(code) != Kind::Rook && kindOf(code) != Kind::Pawn) {
            code = kEmpty;
        }
    }
    if (sidesSwitched == 1) {
        turnHalfBoards(position.squares);
        position.sidesSwitched = 1;
        std::swap(position.upPawn, position.downPawn);
    }
    position.status = status;
    return position;
}

std::vector<Move> castlesOf(const Position& position)
{
    std::vector<Move> castles = referenceMoves(position);
    std::erase_if(castles, [](const Move& m) { return m.extra != MoveExtra::Castle; });
    return castles;
}

Position played(const Position& position, Move move)
{
    MoveBoard board(position);
    board.make(move);
    return board.position();
}

// Kingside the king steps once, queenside twice.
bool kingside(Move castle)
{
    const int step = std::abs(castle.drop - castle.pick);
    return step == kRowStep || step == kBoardStep;
}

// The corner whose rook a castle brings over.
int cornerEmptiedBy(const Position& position, Move castle)
{
    const Position after = played(position, castle);
    for (int square = 0; square < kSquareCount; ++square) {
        if (isPiece(position.squares[square]) && kindOf(position.squares[square]) == Kind::Rook
            && after.squares[square] == kEmpty) return square;
    }
    return -1;
}

// Kingside the king steps once and the rook takes its home; queenside it goes
// two squares and the rook stops on the square crossed.
TEST(Castles, EachCastleBringsItsCornerRookBesideTheKing)
{
    for (int sw : {0, 1}) {
        for (Status status : {W, Bl}) {
            const Position position = castlesOpen(sw, status);
            const std::vector<Move> castles = castlesOf(position);
            EXPECT_EQ(castles.size(), 8u) << "two kings, each on one kingside pair and two queenside squares";
            for (const Move& castle : castles) {
                SCOPED_TRACE(testing::Message() << "switched " << sw << ", " << moveText(castle));
                const int king = position.squares[castle.pick];
                const int rook = codeOf(*sideToMove(status), Kind::Rook);
                const int rookTo = kingside(castle) ? castle.pick : (castle.pick + castle.drop) / 2;
                const int corner = cornerEmptiedBy(position, castle);
                ASSERT_GE(corner, 0);
                EXPECT_EQ(corner % 8, castle.pick % 8) << "the rook comes along its own back rank";
                MoveBoard board(position);
                board.make(castle);
                const Position after = board.position();
                EXPECT_NE(board.key(), MoveBoard(position).key());
                board.unmake();
                EXPECT_EQ(board.position(), position);
                EXPECT_EQ(board.key(), MoveBoard(position).key());
                EXPECT_EQ(after.squares[castle.drop], king);
                EXPECT_EQ(after.squares[rookTo], rook);
                if (!kingside(castle)) {
                    EXPECT_EQ(after.squares[castle.pick], kEmpty);
                }
                EXPECT_TRUE(castlesOf(after).size() == 8u) << "the other side keeps its castles";
            }
        }
    }
}

// "The Knight and Bishop involved", and for a queenside castle "the Queen"
// too, "must be out of the way": of the start's back pieces put back one at a
// time, two stop each kingside castle and three each queenside one.
TEST(Castles, EachWaitsForItsKnightBishopAndQueen)
{
    for (int sw : {0, 1}) {
        for (Status status : {W, Bl}) {
            const Position open = castlesOpen(sw, status);
            Position start = standardPosition();
            if (sw == 1) turnHalfBoards(start.squares);
            std::map<Move, int> blockers;
            for (int square = 0; square < kSquareCount; ++square) {
                if (open.squares[square] != kEmpty || !belongsTo(start.squares[square], *sideToMove(status))) continue;
                if (isPawn(start.squares[square])) continue;
                Position back = open;
                back.squares[square] = start.squares[square];
                const std::vector<Move> left = castlesOf(back);
                for (const Move& castle : castlesOf(open)) {
                    blockers[castle] += std::count(left.begin(), left.end(), castle) == 0;
                }
            }
            for (const auto& [castle, count] : blockers) {
                EXPECT_EQ(count, kingside(castle) ? 2 : 3) << "switched " << sw << ", " << moveText(castle);
            }
        }
    }
}

// An enemy rook on the square's line, the pawns in between taken off.
Position attackedOn(Position position, int square)
{
    const int line = square - square % 8;
    position.squares[line + 1] = position.squares[line + 6] = kEmpty;
    position.squares[line + 4] = codeOf(opponent(*sideToMove(position.status)), Kind::Rook);
    return position;
}

bool offers(const Position& position, Move castle)
{
    const std::vector<Move> castles = castlesOf(position);
    return std::count(castles.begin(), castles.end(), castle) == 1;
}

// No castle out of check, through it or into it; the other landing of a
// kingside castle is judged on its own.
TEST(Castles, NeitherOutOfNorThroughNorIntoCheck)
{
    for (int sw : {0, 1}) {
        for (Status status : {W, Bl}) {
            const Position open = castlesOpen(sw, status);
            for (const Move& castle : castlesOf(open)) {
                SCOPED_TRACE(testing::Message() << "switched " << sw << ", " << moveText(castle));
                EXPECT_TRUE(castlesOf(attackedOn(open, castle.pick)).empty());
                EXPECT_FALSE(offers(attackedOn(open, castle.drop), castle));
                if (kingside(castle)) {
                    for (const Move& other : castlesOf(open)) {
                        if (other.pick != castle.pick || other.drop == castle.drop || !kingside(other)) continue;
                        EXPECT_TRUE(offers(attackedOn(open, castle.drop), other));
                    }
                } else {
                    EXPECT_FALSE(offers(attackedOn(open, (castle.pick + castle.drop) / 2), castle));
                }
            }
        }
    }
}

// A piece of the other side steps forward: no castle of ours is touched.
Move waitingMove(const Position& position)
{
    for (const Move& m : referenceMoves(position)) {
        if (isPawn(position.squares[m.pick]) && std::abs(m.drop - m.pick) == 1) return m;
    }
    ADD_FAILURE() << "no pawn step";
    return {};
}

Position afterOutAndBack(Position position, int square)
{
    const std::vector<Move> moves = referenceMoves(position);
    const auto out = std::find_if(moves.begin(), moves.end(), [&](const Move& m) {
        return m.pick == square && m.extra == MoveExtra::Plain && m.drop % 8 == square % 8;
    });
    EXPECT_NE(out, moves.end()) << "nothing leaves " << square;
    if (out == moves.end()) return position;
    position = played(position, *out);
    position = played(position, waitingMove(position));
    position = played(position, {out->drop, out->pick, MoveExtra::Plain});
    return played(position, waitingMove(position));
}

// A king that has left home loses its castles, a rook that left its corner
// those castles that bring it; coming back restores none of them.
TEST(Castles, LostForGoodOnceKingOrRookHasMoved)
{
    for (int sw : {0, 1}) {
        for (Status status : {W, Bl}) {
            const Position position = castlesOpen(sw, status);
            const std::vector<Move> castles = castlesOf(position);
            for (int square = 0; square < kSquareCount; ++square) {
                const int code = position.squares[square];
                if (!belongsTo(code, *sideToMove(status)) || (!isKing(code) && kindOf(code) != Kind::Rook)) continue;
                SCOPED_TRACE(testing::Message() << "switched " << sw << ", out and back from " << square);
                std::vector<Move> kept = castles;
                std::erase_if(kept, [&](const Move& m) {
                    return m.pick == square || cornerEmptiedBy(position, m) == square;
                });
                EXPECT_LT(kept.size(), castles.size());
                EXPECT_EQ(castlesOf(afterOutAndBack(position, square)), kept);
            }
        }
    }
}

} // namespace
} // namespace palisade
