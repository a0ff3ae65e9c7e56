#include "engine/move_board.h"
#include "engine/orientation.h"
#include "engine/apply.h"
#include "engine/reference_moves.h"
#include "test_positions.h"

#include <algorithm>

namespace palisade {
namespace {

// The start position with only kings and rooks on the back rows (the pawns
// still shut the lines between the armies): every castle of both sides is open.
Position openBackRows(int sidesSwitched, Side toMove)
{
    Position position = standardPosition();
    for (int square = 0; square < kSquareCount; ++square) {
        const int colmn = coordsOf(square).colmn;
        const int code = position.squares[square];
        const bool kingOrRook = isKing(code) || (isPiece(code) && kindOf(code) == Kind::Rook);
        if ((colmn == 0 || colmn == 7) && !kingOrRook) position.squares[square] = kEmpty;
    }
    if (sidesSwitched == 1) {
        turnHalfBoards(position.squares);
        position.sidesSwitched = 1;
        position.upPawn = kBlackPawn;
        position.downPawn = kWhitePawn;
    }
    position.status = toMove == Side::White ? Status::WhiteToMove : Status::BlackToMove;
    return position;
}

std::vector<int> changedSquares(const Position& before, const Position& after)
{
    std::vector<int> changed;
    for (int square = 0; square < kSquareCount; ++square) {
        if (before.squares[square] != after.squares[square]) changed.push_back(square);
    }
    return changed;
}

// A castle moves the king and one rook of its own side and nothing else: the
// rook to the king's home after a castle one step aside, to the square the
// king crossed after one of two steps. The fast board plays it alike.
TEST(CastlePlay, EachCastleBringsItsOwnRookInBothOrientations)
{
    for (const int sw : {0, 1}) {
        for (const Side side : {Side::White, Side::Black}) {
            const Position position = openBackRows(sw, side);
            const int king = codeOf(side, Kind::King);
            const int rook = codeOf(side, Kind::Rook);
            int castles = 0;
            for (const Move& move : referenceMoves(position)) {
                if (move.extra != MoveExtra::Castle) continue;
                ++castles;
                SCOPED_TRACE(testing::Message() << "switched " << sw << ", castle " << move.pick
                                                << " to " << move.drop);
                Position played = position;
                apply(played, move);
                const Distance step = distance(move.pick, move.drop);
                const bool twoSteps = step.rw == 2 || step.boards == 2;
                const int rookTo = twoSteps ? (move.pick + move.drop) / 2 : move.pick;
                EXPECT_EQ(played.squares[move.drop], king);
                EXPECT_EQ(played.squares[rookTo], rook);
                const auto changed = changedSquares(position, played);
                ASSERT_EQ(changed.size(), twoSteps ? 4u : 3u);
                const auto rookFrom = std::find_if(changed.begin(), changed.end(), [&](int square) {
                    return square != move.pick && square != move.drop && square != rookTo;
                });
                ASSERT_NE(rookFrom, changed.end());
                EXPECT_EQ(position.squares[*rookFrom], rook);
                EXPECT_EQ(played.squares[*rookFrom], kEmpty);

                MoveBoard board(position);
                board.make(move);
                EXPECT_EQ(board.position(), played);
            }
            EXPECT_EQ(castles, 8) << "switched " << sw;
        }
    }
}

} // namespace
} // namespace palisade
