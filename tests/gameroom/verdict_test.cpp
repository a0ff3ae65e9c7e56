#include "../engine/test_positions.h"
#include "engine/orientation.h"
#include "gameroom/game_room.h"
#include "recording_view.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace palisade {
namespace {

using Line = std::vector<std::pair<int, int>>;

Position withOption(Position position, int winOption)
{
    position.winOption = winOption;
    return position;
}

// The knight jumping from 4 to 10 forks Black's kings on 16 and 25: whichever
// steps away leaves the other attacked, though each alone could step away.
const Position kFork = with(
    {{4, kWhiteKnight}, {16, kBlackKing}, {25, kBlackKing}, {110, kWhiteKing}, {118, kWhiteKing}});

// Once the queen has reached 1, the king on 0 has no escape; the one on 8
// would have one if it stood alone.
const Position kOneEscape = with({{0, kBlackKing}, {8, kBlackKing}, {17, kWhiteRook},
                                  {34, kWhiteQueen}, {110, kWhiteKing}, {115, kWhiteKing}});

class VerdictTest : public testing::Test {
protected:
    void play(int from, int to)
    {
        room.clickSquare(from);
        ASSERT_TRUE(room.isTarget(to)) << from << " -> " << to;
        room.clickSquare(to);
    }

    void playLine(const Line& line)
    {
        for (const auto& [from, to] : line) ASSERT_NO_FATAL_FAILURE(play(from, to));
    }

    std::map<int, int> shownMarks() const
    {
        std::map<int, int> marks;
        for (int i = 0; i < kSquareCount; ++i)
            if (room.mark(i) != kNoMark) marks[i] = room.mark(i);
        return marks;
    }

    std::map<int, int> targetsOf(int square) const
    {
        std::map<int, int> marks;
        for (const Target& t : generateTargets(room.position(), square)) marks[t.square] = t.mark;
        return marks;
    }

    void expectIdle() const
    {
        EXPECT_FALSE(room.pieceSelected());
        EXPECT_FALSE(room.selectionLocked());
        EXPECT_TRUE(shownMarks().empty());
    }

    // A result stands: nothing is selected, and no click selects or moves anything.
    void expectFrozen()
    {
        expectIdle();
        const Position before = room.position();
        for (int square = 0; square < kSquareCount; ++square) {
            room.clickSquare(square);
            ASSERT_FALSE(room.pieceSelected() || !shownMarks().empty()) << square;
        }
        EXPECT_EQ(room.position(), before);
    }

    RecordingView view;
    GameRoom room{view};
};

TEST_F(VerdictTest, CheckIsShownWithABeepAndHiddenByTheNextMove)
{
    // The rook reaching 16 attacks Black's king on 0 along its line.
    room.setUp(with({{0, kBlackKing}, {19, kWhiteRook}, {30, kBlackKing}, {96, kWhiteKing},
                     {105, kWhiteKing}}));
    play(19, 16);
    EXPECT_TRUE(room.checkShown());
    EXPECT_EQ(view.beeps, 1);
    EXPECT_EQ(room.statusText(), "Black to Move");
    play(0, 1);
    EXPECT_FALSE(room.checkShown());
    EXPECT_EQ(view.beeps, 1);
}

TEST_F(VerdictTest, AMateOfEitherSideEndsTheGame)
{
    const std::pair<Position, const char*> cases[] = {
        {kFork, "White Wins!"},
        // The same with the colours exchanged.
        {with({{4, kBlackKnight}, {16, kWhiteKing}, {25, kWhiteKing}, {110, kBlackKing},
               {118, kBlackKing}},
              Status::BlackToMove),
         "Black Wins!"}};
    for (const auto& [position, text] : cases) {
        room.setUp(position);
        view.beeps = 0;
        play(4, 10);
        EXPECT_EQ(room.statusText(), text);
        EXPECT_EQ(view.beeps, 1) << text;
        expectFrozen();
    }
}

TEST_F(VerdictTest, NoMoveWithoutCheckDrawsUnlessItFreesALoneKing)
{
    // The position, White's move, the status and loneKingFree after it.
    const std::tuple<Position, int, int, const char*, int> cases[] = {
        // Stalemate with both kings: nothing is freed.
        {with({{0, kBlackKing}, {1, kBlackKing}, {41, kWhiteQueen}, {44, kWhiteBishop},
               {115, kWhiteKing}, {118, kWhiteKing}}),
         44, 35, "DRAW!", 0},
        // A single king, Black's only piece, may move once freed.
        {with({{0, kBlackKing}, {110, kWhiteKing}, {118, kWhiteKing}}), 110, 102, "Black to Move",
         1},
        // The queens leave the single king no square even once it is freed.
        {with({{0, kBlackKing}, {28, kWhiteQueen}, {44, kWhiteQueen}, {106, kWhiteKing},
               {119, kWhiteKing}}),
         44, 41, "DRAW!", 1}};
    for (const auto& [position, from, to, text, loneKingFree] : cases) {
        room.setUp(position);
        view.beeps = 0;
        play(from, to);
        EXPECT_EQ(room.statusText(), text);
        EXPECT_EQ(room.position().loneKingFree, loneKingFree) << text;
        EXPECT_FALSE(room.checkShown());
        if (room.statusText() == "Black to Move") {
            EXPECT_EQ(view.beeps, 0);
            ASSERT_NO_FATAL_FAILURE(play(0, 1));
        } else {
            EXPECT_EQ(view.beeps, 1);
            expectFrozen();
        }
    }
}

TEST_F(VerdictTest, RepetitionDrawsOnlyWhenFourAndEightHalfMovesBackMatch)
{
    // Knights out and back twice: the 8th half-move repeats the 4th and the start.
    const Line knights = {{8, 42}, {15, 45}, {42, 8}, {45, 15},
                          {8, 42}, {15, 45}, {42, 8}, {45, 15}};
    // After a pawn move the position of the 1st half-move returns at the 5th
    // and the 9th; at the 8th only the 4th matches, not the start.
    const Line afterPawn = {{41, 43}, {15, 45}, {8, 42}, {45, 15}, {42, 8},
                            {15, 45}, {8, 42},  {45, 15}, {42, 8}};
    for (const Line& line : {knights, afterPawn}) {
        room.setUp(standardPosition());
        view.beeps = 0;
        for (std::size_t k = 1; k <= line.size(); ++k) {
            ASSERT_NO_FATAL_FAILURE(play(line[k - 1].first, line[k - 1].second));
            EXPECT_EQ(room.statusText() == "DRAW!", k == line.size()) << "half-move " << k;
        }
        EXPECT_EQ(view.beeps, 1);
    }
}

TEST_F(VerdictTest, ARepeatedPositionThatMatesIsAWin)
{
    // Across a Switch Sides the squares repeat while the game does not: the
    // pawns on 33 and 62 now guard the other way, so the queen's return to 96
    // mates the king on 32.
    room.setUp(with({{32, kBlackKing}, {33, kWhitePawn}, {34, kWhiteKing}, {61, kWhiteKing},
                     {62, kWhitePawn}, {63, kBlackKing}, {96, kWhiteQueen}},
                    Status::BlackToMove));
    ASSERT_NO_FATAL_FAILURE(
        playLine({{32, 40}, {96, 105}, {40, 32}, {105, 96}, {32, 40}, {96, 123}}));
    room.switchSides();
    // The king goes back to 32 and the queen to 96, both seen turned.
    ASSERT_NO_FATAL_FAILURE(
        playLine({{turnedSquare(40), turnedSquare(32)}, {turnedSquare(123), 96}}));
    ASSERT_EQ(room.history().entry(4).squares, room.position().squares);
    ASSERT_EQ(room.history().entry(0).squares, room.position().squares);
    EXPECT_EQ(room.statusText(), "White Wins!");
}

TEST_F(VerdictTest, TwoKingTrialWithOnlyOneEscapeGivesUpTheOtherUnasked)
{
    const std::tuple<Position, int, int, int, int> cases[] = {
        {kOneEscape, 34, 1, 8, 0},
        // Here only the lower king, on 16, could move alone.
        {with({{6, kWhiteQueen}, {16, kBlackKing}, {23, kBlackKing}, {53, kWhiteBishop},
               {104, kWhiteKing}, {122, kWhiteKing}}),
         6, 22, 16, 23}};
    for (const auto& [position, from, to, kept, lost] : cases) {
        room.setUp(withOption(position, 1));
        view.beeps = 0;
        play(from, to);
        EXPECT_TRUE(view.questions.empty());
        EXPECT_EQ(room.position().squares[kept], kBlackKing) << kept;
        EXPECT_EQ(room.position().squares[lost], kEmpty) << lost;
        EXPECT_EQ(room.position().kingsStanding, 1);
        EXPECT_TRUE(room.checkShown()); // the king kept is attacked
        EXPECT_EQ(view.beeps, 1);
        expectIdle();
        room.clickSquare(kept); // and may move at once
        EXPECT_FALSE(shownMarks().empty());
    }
}

TEST_F(VerdictTest, TwoKingTrialWithBothEscapesAsksWhichKingToKeep)
{
    for (const auto& [yes, kept, lost] : {std::tuple{true, 16, 25}, std::tuple{false, 25, 16}}) {
        room.setUp(withOption(kFork, 1));
        view.answers = {yes};
        view.questions.clear();
        play(4, 10);
        EXPECT_EQ(view.questions, std::vector<std::string>{"Save this king?"});
        EXPECT_EQ(room.position().squares[lost], kEmpty);
        EXPECT_EQ(room.position().kingsStanding, 1);
        EXPECT_TRUE(room.pieceSelected() && room.selectionLocked());
        EXPECT_EQ(room.selectedSquare(), kept);
        const std::map<int, int> marks = targetsOf(kept);
        ASSERT_FALSE(marks.empty());
        EXPECT_EQ(shownMarks(), marks);

        // Only a marked square answers: the king stays chosen until it moves.
        for (int square = 0; square < kSquareCount; ++square) {
            if (!room.isTarget(square)) room.clickSquare(square);
        }
        EXPECT_EQ(room.selectedSquare(), kept);
        EXPECT_EQ(shownMarks(), marks);
        room.clickSquare(marks.begin()->first);
        EXPECT_EQ(room.position().squares[marks.begin()->first], kBlackKing);
        EXPECT_EQ(room.statusText(), "White to Move");
        expectIdle();
    }
}

TEST_F(VerdictTest, TwoKingTrialWithNoEscapeLosesWithBothKingsBack)
{
    room.setUp(withOption(with({{24, kBlackKing}, {25, kBlackKing}, {49, kWhiteQueen},
                                {60, kWhiteRook}, {117, kWhiteKing}, {126, kWhiteKing}}),
                          1));
    play(60, 28);
    EXPECT_EQ(room.statusText(), "White Wins!");
    EXPECT_EQ(view.beeps, 1);
    EXPECT_TRUE(view.questions.empty());
    EXPECT_EQ(room.position().squares[24], kBlackKing);
    EXPECT_EQ(room.position().squares[25], kBlackKing);
    expectFrozen();
}

TEST_F(VerdictTest, SwitchSidesTurnsTheBoardAndKeepsOnlyALockedSelection)
{
    room.setUp(standardPosition());
    play(1, 3); // a double step: Black may take en passant
    const Position before = room.position();
    room.clickSquare(15);
    room.switchSides();
    EXPECT_EQ(room.position().enPassantSquare, turnedSquare(3));
    EXPECT_EQ(room.position().upPawn, kBlackPawn);
    EXPECT_EQ(room.statusText(), "Black to Move");
    expectIdle();
    room.switchSides();
    EXPECT_EQ(room.position(), before);

    room.setUp(withOption(kFork, 1));
    view.answers = {true};
    play(4, 10);
    room.switchSides();
    EXPECT_TRUE(room.pieceSelected() && room.selectionLocked());
    EXPECT_EQ(room.selectedSquare(), turnedSquare(16));
    EXPECT_EQ(room.position().squares[turnedSquare(16)], kBlackKing);
    EXPECT_FALSE(shownMarks().empty());
    EXPECT_EQ(shownMarks(), targetsOf(turnedSquare(16)));
}

TEST_F(VerdictTest, TakeBackAfterSwitchSidesShowsEarlierPositionsTurned)
{
    room.setUp(standardPosition());
    ASSERT_NO_FATAL_FAILURE(playLine({{1, 3}, {15, 45}}));
    Board turned = room.history().entry(1).squares;
    turnHalfBoards(turned);
    room.switchSides();
    EXPECT_EQ(room.position().enPassantSquare, 31); // "none" turns as square 0 does
    room.takeBack();
    EXPECT_EQ(room.position().squares, turned);
    EXPECT_EQ(room.position().enPassantSquare, turnedSquare(3));
    room.takeBack();
    EXPECT_EQ(room.position().enPassantSquare, 31);
    EXPECT_EQ(room.position().sidesSwitched, 1);
}

TEST_F(VerdictTest, WinOptionIsLockedOnceAKingIsGivenUp)
{
    room.setUp(kOneEscape);
    room.toggleWinOption();
    EXPECT_EQ(room.winOptionText(), "Destroy Both Kings!");
    play(34, 1);
    ASSERT_EQ(room.position().kingsStanding, 1);
    room.toggleWinOption();
    EXPECT_EQ(view.messages, std::vector<std::string>{"Can't Change Now!"});
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
    EXPECT_EQ(view.messages.size(), 1u);
}

TEST_F(VerdictTest, NewAsksOnlyAfterAMoveAndStartsAfresh)
{
    room.setUp(standardPosition());
    room.newGame();
    EXPECT_TRUE(view.questions.empty());
    EXPECT_EQ(room.position(), standardPosition());

    room.toggleWinOption();
    play(8, 42);
    view.answer = false;
    room.newGame();
    EXPECT_EQ(view.questions, std::vector<std::string>{"Exit Game without saving?"});
    EXPECT_EQ(room.position().squares[42], kWhiteKnight);
    view.answer = true;
    room.newGame();
    EXPECT_EQ(view.questions.size(), 2u);
    EXPECT_EQ(room.position(), standardPosition());
    EXPECT_EQ(room.halfMoves(), 0);
    EXPECT_TRUE(room.gameSaved());
}

TEST_F(VerdictTest, DrawAndResignEndPlayOnceDropTheSelectionAndStayInTheRecord)
{
    using Command = void (GameRoom::*)();
    const std::tuple<Command, bool, const char*> cases[] = {
        {&GameRoom::resign, true, "Black Wins!"},
        {&GameRoom::resign, false, "White Wins!"},
        {&GameRoom::declareDraw, true, "DRAW!"},
        {&GameRoom::declareDraw, false, "DRAW!"}};
    for (const auto& [command, whiteToMove, text] : cases) {
        room.setUp(standardPosition());
        if (!whiteToMove) play(8, 42);
        room.clickSquare(whiteToMove ? 64 : 71); // a knight of the side to move
        ASSERT_TRUE(room.pieceSelected());
        (room.*command)();
        EXPECT_EQ(room.statusText(), text);
        // Neither command changes a result that already stands.
        room.resign();
        room.declareDraw();
        EXPECT_EQ(room.statusText(), text);
        EXPECT_EQ(view.beeps, 0);
        expectFrozen();
    }
    // From the draw declared in Black's turn, Take Back shows the position before
    // White's move and Forward the draw again.
    room.takeBack();
    EXPECT_EQ(room.statusText(), "White to Move");
    EXPECT_EQ(room.position().squares, standardPosition().squares);
    room.forward();
    EXPECT_EQ(room.statusText(), "DRAW!");
    EXPECT_EQ(room.position().squares[42], kWhiteKnight);
}

} // namespace
} // namespace palisade
