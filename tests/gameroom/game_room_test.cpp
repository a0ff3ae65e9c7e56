#include "gameroom/game_room.h"

#include "engine/targets.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace palisade {
namespace {

class RecordingView : public GameRoomView {
public:
    void boardChanged() override { ++redraws; }
    void statusChanged() override { ++statusChanges; }
    bool confirm(std::string_view question) override
    {
        questions.emplace_back(question);
        return answer;
    }

    int redraws = 0;
    int statusChanges = 0;
    bool answer = false;
    std::vector<std::string> questions;
};

// Start-position squares used throughout.
constexpr int kKnightWhite = 8;    // boards 0, rw 1, colmn 0
constexpr int kKnightWhite2 = 64;  // boards 2, rw 0, colmn 0
constexpr int kKnightBlack = 15;   // opposite the knight on 8
constexpr int kEmptyMiddle = 20;   // boards 0, rw 2, colmn 4
constexpr int kEmptyMiddle2 = 27;  // boards 0, rw 3, colmn 3

std::map<int, int> targetMarks(const Position& position, int square)
{
    std::map<int, int> marks;
    for (const Target& t : generateTargets(position, square)) marks[t.square] = t.mark;
    return marks;
}

// The lowest square the piece may go to.
int firstTarget(const Position& position, int square)
{
    return targetMarks(position, square).begin()->first;
}

class GameRoomTest : public testing::Test {
protected:
    GameRoomTest() { room.setUp(); }

    std::map<int, int> shownMarks() const
    {
        std::map<int, int> marks;
        for (int i = 0; i < kSquareCount; ++i) {
            if (room.mark(i) != kNoMark) marks[i] = room.mark(i);
        }
        return marks;
    }

    void expectSelected(int square)
    {
        EXPECT_TRUE(room.pieceSelected());
        EXPECT_EQ(room.selectedSquare(), square);
        EXPECT_EQ(shownMarks(), targetMarks(room.position(), square));
    }

    void expectIdle()
    {
        EXPECT_FALSE(room.pieceSelected());
        EXPECT_TRUE(shownMarks().empty());
    }

    // Two clicks; the second must land on a square the first one marked.
    void play(int from, int to)
    {
        room.clickSquare(from);
        ASSERT_TRUE(room.pieceSelected()) << from;
        ASSERT_TRUE(room.isTarget(to)) << from << " -> " << to;
        room.clickSquare(to);
    }

    // A point well inside a square's click cell, clear of its neighbours.
    double cx(int square) const { return room.cells().cell(square).left + 186; }
    double cy(int square) const { return room.cells().cell(square).top + 300; }

    RecordingView view;
    GameRoom room{view};
};

TEST(GameRoomStartTest, ConstructionLeavesTheViewAloneOnAStandardGame)
{
    RecordingView view;
    const GameRoom room(view);
    EXPECT_EQ(view.redraws + view.statusChanges, 0);
    EXPECT_TRUE(view.questions.empty());
    EXPECT_EQ(room.position(), standardPosition());
    EXPECT_EQ(room.statusText(), "White to Move");
    EXPECT_FALSE(room.pieceSelected());
}

TEST_F(GameRoomTest, BlackPieceAtStartIsNotPicked)
{
    const int redraws = view.redraws;
    room.clickSquare(kKnightBlack);
    expectIdle();
    EXPECT_EQ(view.redraws, redraws);
}

TEST_F(GameRoomTest, WhiteKnightMarksExactlyItsTargetsAndMovesToOne)
{
    room.clickSquare(kKnightWhite);
    ASSERT_FALSE(targetMarks(standardPosition(), kKnightWhite).empty());
    expectSelected(kKnightWhite);

    const int to = firstTarget(standardPosition(), kKnightWhite);
    const int statusChanges = view.statusChanges;
    const int redraws = view.redraws;
    room.clickSquare(to);

    EXPECT_EQ(room.position().squares[to], kWhiteKnight);
    EXPECT_EQ(room.position().squares[kKnightWhite], kEmpty);
    EXPECT_EQ(room.statusText(), "Black to Move");
    EXPECT_FALSE(room.gameSaved());
    EXPECT_GT(view.statusChanges, statusChanges);
    EXPECT_GT(view.redraws, redraws);
    expectIdle();
    EXPECT_EQ(room.halfMoves(), 1);
    EXPECT_EQ(room.moveNumberText(), "Move# 1");

    // Black's answer starts move 2 and hands the turn back.
    play(kKnightBlack, firstTarget(room.position(), kKnightBlack));
    EXPECT_EQ(room.statusText(), "White to Move");
    EXPECT_EQ(room.moveNumberText(), "Move# 2");
}

TEST_F(GameRoomTest, ClicksSelectDeselectAndReselect)
{
    room.clickSquare(kKnightWhite);
    room.clickSquare(kKnightWhite); // the selected square again puts it down
    expectIdle();
    room.clickSquare(kKnightWhite);
    room.clickSquare(kKnightWhite2); // another own piece is picked in one click
    expectSelected(kKnightWhite2);
    room.clickSquare(kKnightWhite2);

    // White may pick an empty square: a selection with no marks.
    room.clickSquare(kEmptyMiddle);
    room.clickSquare(kEmptyMiddle2); // drops the first, picks the second
    EXPECT_TRUE(room.pieceSelected());
    EXPECT_EQ(room.selectedSquare(), kEmptyMiddle2);
    EXPECT_TRUE(shownMarks().empty());

    room.clickSquare(kKnightWhite);
    expectSelected(kKnightWhite);

    room.clickSquare(firstTarget(standardPosition(), kKnightWhite));
    ASSERT_EQ(room.statusText(), "Black to Move");
    room.clickSquare(kEmptyMiddle);
    expectIdle();
    room.clickSquare(40); // White's king
    expectIdle();
}

TEST_F(GameRoomTest, CaptureRemovesTheEnemyPiece)
{
    play(8, 18);
    play(15, 21);
    play(18, 12);
    play(21, 15);
    ASSERT_EQ(room.position().squares[6], kBlackPawn);
    play(12, 6);
    EXPECT_EQ(room.position().squares[6], kWhiteKnight);
    EXPECT_EQ(room.position().squares[12], kEmpty);
    int blackPawns = 0;
    for (int code : room.position().squares) blackPawns += code == kBlackPawn;
    EXPECT_EQ(blackPawns, 15);
    EXPECT_EQ(room.statusText(), "Black to Move");
    EXPECT_EQ(room.moveNumberText(), "Move# 3");
}

TEST_F(GameRoomTest, DragFromKnightToATargetMoves)
{
    const int redraws = view.redraws;
    room.pressAt(MouseButton::Right, cx(kKnightWhite), cy(kKnightWhite));
    room.pressAt(MouseButton::Middle, cx(kKnightWhite), cy(kKnightWhite));
    expectIdle();
    EXPECT_EQ(view.redraws, redraws);

    const int to = targetMarks(standardPosition(), kKnightWhite).rbegin()->first;
    room.pressAt(MouseButton::Left, cx(kKnightWhite), cy(kKnightWhite));
    expectSelected(kKnightWhite);
    room.releaseAt(cx(to), cy(to));
    EXPECT_EQ(room.position().squares[to], kWhiteKnight);
    EXPECT_EQ(room.statusText(), "Black to Move");
    expectIdle();
}

TEST_F(GameRoomTest, DragReleasedOnItsOwnCellKeepsTheSelection)
{
    room.pressAt(MouseButton::Left, cx(kKnightWhite), cy(kKnightWhite));
    const CellRect& cell = room.cells().cell(kKnightWhite);
    room.releaseAt(cell.left, cell.top); // elsewhere in the same cell
    expectSelected(kKnightWhite);
    // A drag let go off every cell ends without a click.
    room.pressAt(MouseButton::Left, cx(kKnightWhite), cy(kKnightWhite));
    room.releaseAt(-100, -100);
    expectIdle();
    room.pressAt(MouseButton::Left, cx(kKnightWhite), cy(kKnightWhite));
    room.releaseAt(cx(kKnightWhite), cy(kKnightWhite));

    // The drag is over: a fresh press on a target moves by itself.
    const int to = firstTarget(standardPosition(), kKnightWhite);
    room.pressAt(MouseButton::Left, cx(to), cy(to));
    EXPECT_EQ(room.position().squares[to], kWhiteKnight);
}

TEST_F(GameRoomTest, PressInAnOverlapClicksBothCellsLowerFirst)
{
    room.setCellLayout(CellLayout(12.0, 12.0));
    // The White pawns on squares 1 and 9 have overlapping cells at 12 twips a
    // pixel; the second click moves the selection from 1 on to 9.
    const CellRect& upper = room.cells().cell(9);
    const double x = upper.left + 6;
    const double y = upper.top + 100;
    ASSERT_EQ(room.cells().cellsAt(x, y), (std::vector<int>{1, 9}));
    room.pressAt(MouseButton::Left, x, y);
    EXPECT_TRUE(room.pieceSelected());
    EXPECT_EQ(room.selectedSquare(), 9);
}

TEST_F(GameRoomTest, ActivationKeepsTheSelectionWithFreshMarks)
{
    room.activate();
    expectIdle();

    room.clickSquare(kKnightWhite);
    const int redraws = view.redraws;
    room.activate();
    expectSelected(kKnightWhite);
    EXPECT_GT(view.redraws, redraws);

    // The marks are live: a click on one still moves.
    room.clickSquare(firstTarget(standardPosition(), kKnightWhite));
    EXPECT_EQ(room.statusText(), "Black to Move");
}

TEST_F(GameRoomTest, ExitAsksOnlyAfterAnUnsavedMove)
{
    EXPECT_TRUE(room.mayExit());
    EXPECT_TRUE(view.questions.empty());

    play(kKnightWhite, firstTarget(standardPosition(), kKnightWhite));
    view.answer = false;
    EXPECT_FALSE(room.mayExit());
    view.answer = true;
    EXPECT_TRUE(room.mayExit());
    EXPECT_EQ(view.questions, (std::vector<std::string>{"Exit without saving?", "Exit without saving?"}));
}

TEST_F(GameRoomTest, SetUpAfterMovesStartsAFreshGame)
{
    play(8, 18);
    play(15, 21);
    room.clickSquare(kKnightWhite2);
    room.pressAt(MouseButton::Left, cx(18), cy(18)); // leaves a drag open
    const int redraws = view.redraws;
    const int statusChanges = view.statusChanges;

    room.setUp();
    EXPECT_GT(view.redraws, redraws);
    EXPECT_GT(view.statusChanges, statusChanges);
    EXPECT_EQ(room.position(), standardPosition());
    EXPECT_EQ(room.statusText(), "White to Move");
    EXPECT_EQ(room.moveNumberText(), "Move# 1");
    EXPECT_EQ(room.halfMoves(), 0);
    EXPECT_TRUE(room.gameSaved());
    EXPECT_EQ(room.selectedSquare(), 0);
    expectIdle();

    // The old drag is gone: releasing over an empty square clicks nothing.
    room.releaseAt(cx(kEmptyMiddle), cy(kEmptyMiddle));
    expectIdle();
    EXPECT_TRUE(room.mayExit());
}

} // namespace
} // namespace palisade
