#include "engine/orientation.h"
#include "recording_view.h"

#include <tuple>

namespace palisade {
namespace {
using namespace letters;

Position withBothKingsToDestroy(Position position)
{
    position.winOption = 1;
    return position;
}

// The knight jumping from 4 to 10 forks Black's kings on 16 and 25: whichever
// steps away leaves the other attacked, though each alone could step away.
const Position kFork = with({{4, N}, {16, k}, {25, k}, {110, K}, {118, K}});

// Once the queen has reached 1, the king on 0 has no escape; the one on 8
// would have one if it stood alone.
const Position kOneEscape = with({{0, k}, {8, k}, {17, R}, {34, Q}, {110, K}, {115, K}});

// A result stands: nothing is selected, and no click selects or moves anything.
void expectFrozen(Room& room)
{
    room.expectIdle();
    const Position before = room.position();
    for (int square = 0; square < kSquareCount; ++square) {
        room.clickSquare(square);
        ASSERT_TRUE(!room.pieceSelected() && room.marks().empty()) << square;
    }
    EXPECT_EQ(room.position(), before);
}

// Check, mate and stalemate each beep once; no move without check draws
// unless it frees a lone king.
TEST(Verdict, CheckMateAndStalemateUnlessALoneKingIsFreed)
{
    struct {
        Position position;
        int from, to;
        const char* status;
        bool check;
        int loneKingFree;
    } cases[] = {
        // The rook reaching 16 attacks Black's king on 0 along its line.
        {with({{0, k}, {19, R}, {30, k}, {96, K}, {105, K}}), 19, 16, "Black to Move", true, 0},
        {kFork, 4, 10, "White Wins!", false, 0},
        {with({{4, n}, {16, K}, {25, K}, {110, k}, {118, k}}, Bl), 4, 10, "Black Wins!", false, 0},
        // Stalemate with both kings: nothing is freed.
        {with({{0, k}, {1, k}, {41, Q}, {44, B}, {115, K}, {118, K}}), 44, 35, "DRAW!", false, 0},
        // A single king, Black's only piece, may move once freed.
        {with({{0, k}, {110, K}, {118, K}}), 110, 102, "Black to Move", false, 1},
        // The queens leave the single king no square even once it is freed.
        {with({{0, k}, {28, Q}, {44, Q}, {106, K}, {119, K}}), 44, 41, "DRAW!", false, 1}};
    for (const auto& c : cases) {
        Room room(c.position);
        room.play(c.from, c.to);
        const bool over = !sideToMove(room.position().status);
        EXPECT_EQ(room.statusText(), c.status);
        EXPECT_EQ(room.checkShown(), c.check) << c.status;
        EXPECT_EQ(room.position().loneKingFree, c.loneKingFree) << c.status;
        EXPECT_EQ(room.beeps, over || c.check ? 1 : 0) << c.status;
        if (over) {
            expectFrozen(room);
            continue;
        }
        room.play(0, 1); // the next move hides "Check!"
        EXPECT_FALSE(room.checkShown());
        EXPECT_EQ(room.beeps, c.check ? 1 : 0);
    }
}

TEST(Verdict, RepetitionDrawsOnlyWhenFourAndEightHalfMovesBackMatchAndNoMate)
{
    // Knights out and back twice: the 8th half-move repeats the 4th and the
    // start. After a pawn move the position of the 1st half-move returns at
    // the 5th and the 9th; at the 8th only the 4th matches, not the start.
    const Line knights = {{8, 42}, {15, 45}, {42, 8}, {45, 15}, {8, 42}, {15, 45}, {42, 8}, {45, 15}};
    const Line afterPawn = {{41, 43}, {15, 45}, {8, 42}, {45, 15}, {42, 8}, {15, 45}, {8, 42}, {45, 15}, {42, 8}};
    for (const Line& line : {knights, afterPawn}) {
        Room room;
        for (std::size_t k = 1; k <= line.size(); ++k) {
            ASSERT_NO_FATAL_FAILURE(room.play(line[k - 1].first, line[k - 1].second));
            EXPECT_EQ(room.statusText() == "DRAW!", k == line.size()) << "half-move " << k;
        }
        EXPECT_EQ(room.beeps, 1);
    }
    // Across a Switch Sides the squares repeat while the game does not: the
    // pawns on 33 and 62 now guard the other way, so the queen's return to 96
    // mates the king on 32, and a mate is a win.
    Room room(with({{32, k}, {33, P}, {34, K}, {61, K}, {62, P}, {63, k}, {96, Q}}, Bl));
    ASSERT_NO_FATAL_FAILURE(room.play({{32, 40}, {96, 105}, {40, 32}, {105, 96}, {32, 40}, {96, 123}}));
    room.switchSides();
    // The king goes back to 32 and the queen to 96, both seen turned.
    ASSERT_NO_FATAL_FAILURE(room.play({{turnedSquare(40), turnedSquare(32)}, {turnedSquare(123), 96}}));
    ASSERT_EQ(room.history().entry(4).squares, room.position().squares);
    ASSERT_EQ(room.history().entry(0).squares, room.position().squares);
    EXPECT_EQ(room.statusText(), "White Wins!");
}

// Mated with two kings under "Destroy Both Kings!": the only king that could
// escape alone is kept unasked and may move at once; with none, the game is
// lost with both kings where they stood.
TEST(TwoKingTrial, OneEscapeKeepsThatKingUnaskedNoneLoses)
{
    struct {
        Position position;
        int from, to, kept, other;
        const char* status;
    } cases[] = {{kOneEscape, 34, 1, 8, 0, "Black to Move"},
                 // Here only the lower king, on 16, could move alone.
                 {with({{6, Q}, {16, k}, {23, k}, {53, B}, {104, K}, {122, K}}), 6, 22, 16, 23, "Black to Move"},
                 {with({{24, k}, {25, k}, {49, Q}, {60, R}, {117, K}, {126, K}}), 60, 28, 24, 25, "White Wins!"}};
    for (const auto& c : cases) {
        Room room(withBothKingsToDestroy(c.position));
        room.play(c.from, c.to);
        const bool lost = c.status == std::string("White Wins!");
        EXPECT_EQ(room.statusText(), c.status);
        EXPECT_TRUE(room.questions.empty());
        EXPECT_EQ(room.beeps, 1);
        EXPECT_EQ(room.position().squares[c.kept], k);
        EXPECT_EQ(room.position().squares[c.other], lost ? k : kEmpty) << c.other;
        EXPECT_EQ(room.position().kingsStanding, lost ? 2 : 1);
        if (lost) {
            expectFrozen(room);
            continue;
        }
        EXPECT_TRUE(room.checkShown()); // the king kept is attacked
        room.expectIdle();
        room.clickSquare(c.kept);
        EXPECT_FALSE(room.marks().empty());
    }
}

TEST(TwoKingTrial, BothEscapesAskWhichKingToKeep)
{
    for (const auto& [yes, kept, lost] : {std::tuple{true, 16, 25}, std::tuple{false, 25, 16}}) {
        Room room(withBothKingsToDestroy(kFork));
        room.answers = {yes};
        room.play(4, 10);
        EXPECT_EQ(room.questions, std::vector<std::string>{"Save this king?"});
        EXPECT_EQ(room.position().squares[lost], kEmpty);
        EXPECT_EQ(room.position().kingsStanding, 1);
        EXPECT_TRUE(room.selectionLocked());
        room.expectSelected(kept);
        ASSERT_FALSE(room.marks().empty());
        // Switch Sides keeps the chosen king selected, and only a marked square
        // answers: the king stays chosen until it moves.
        room.switchSides();
        room.expectSelected(turnedSquare(kept));
        room.switchSides();
        const std::map<int, int> marks = room.marks();
        for (int square = 0; square < kSquareCount; ++square) {
            if (!room.isTarget(square)) room.clickSquare(square);
        }
        EXPECT_EQ(room.selectedSquare(), kept);
        EXPECT_EQ(room.marks(), marks);
        room.clickSquare(marks.begin()->first);
        EXPECT_EQ(room.position().squares[marks.begin()->first], k);
        EXPECT_EQ(room.statusText(), "White to Move");
        room.expectIdle();
    }
}

TEST(Commands, SwitchSidesTurnsTheBoardAndDropsTheSelection)
{
    Room room;
    room.play(1, 3); // a double step: Black may take en passant
    const Position before = room.position();
    room.clickSquare(15);
    room.switchSides();
    EXPECT_EQ(room.position().enPassantSquare, turnedSquare(3));
    EXPECT_EQ(room.position().upPawn, kBlackPawn);
    EXPECT_EQ(room.statusText(), "Black to Move");
    room.expectIdle();
    room.switchSides();
    EXPECT_EQ(room.position(), before);
    room.play(15, 45);
    // Take Back shows the earlier positions turned, "none" turning as square 0 does.
    Board turned = room.history().entry(1).squares;
    turnHalfBoards(turned);
    room.switchSides();
    EXPECT_EQ(room.position().enPassantSquare, 31);
    room.takeBack();
    EXPECT_EQ(room.position().squares, turned);
    EXPECT_EQ(room.position().enPassantSquare, turnedSquare(3));
    room.takeBack();
    EXPECT_EQ(room.position().enPassantSquare, 31);
    EXPECT_EQ(room.position().sidesSwitched, 1);
}

TEST(Commands, WinOptionIsLockedOnceAKingIsGivenUp)
{
    Room room(kOneEscape);
    room.toggleWinOption();
    EXPECT_EQ(room.winOptionText(), "Destroy Both Kings!");
    room.play(34, 1);
    ASSERT_EQ(room.position().kingsStanding, 1);
    room.toggleWinOption();
    EXPECT_EQ(room.messages, std::vector<std::string>{"Can't Change Now!"});
    EXPECT_EQ(room.winOptionText(), "Destroy Both Kings!");
    room.takeBack();
    room.toggleWinOption();
    EXPECT_EQ(room.winOptionText(), "Standard");
    // Turning the option on is never refused, not even with a king gone.
    Position oneKingGone = standardPosition();
    oneKingGone.kingsStanding = 1;
    room.setUp(oneKingGone);
    room.toggleWinOption();
    EXPECT_EQ(room.winOptionText(), "Destroy Both Kings!");
    EXPECT_EQ(room.messages.size(), 1u);
}

TEST(Commands, DrawAndResignEndPlayOnceDropTheSelectionAndStayInTheRecord)
{
    using Command = void (GameRoom::*)();
    const std::tuple<Command, bool, const char*> cases[] = {
        {&GameRoom::resign, true, "Black Wins!"}, {&GameRoom::resign, false, "White Wins!"},
        {&GameRoom::declareDraw, true, "DRAW!"}, {&GameRoom::declareDraw, false, "DRAW!"}};
    Room room;
    for (const auto& [command, whiteToMove, text] : cases) {
        room.setUp();
        if (!whiteToMove) room.play(8, 42);
        room.clickSquare(whiteToMove ? 64 : 71); // a knight of the side to move
        ASSERT_TRUE(room.pieceSelected());
        (room.*command)();
        EXPECT_EQ(room.statusText(), text);
        // Neither command changes a result that already stands.
        room.resign();
        room.declareDraw();
        EXPECT_EQ(room.statusText(), text);
        EXPECT_EQ(room.beeps, 0);
        expectFrozen(room);
    }
    // From the draw declared in Black's turn, Take Back shows the position
    // before White's move and Forward the draw again.
    room.takeBack();
    EXPECT_EQ(room.statusText(), "White to Move");
    EXPECT_EQ(room.position().squares, standardPosition().squares);
    room.forward();
    EXPECT_EQ(room.statusText(), "DRAW!");
    EXPECT_EQ(room.position().squares[42], kWhiteKnight);
}

} // namespace
} // namespace palisade
