#include "gameroom/game_room.h"
#include "recording_view.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace palisade {
namespace {

// White's knights on 8 and 64, Black's on 15; 20 and 27 are empty at the start.
constexpr int kKnight = 8;
constexpr int kOtherKnight = 64;
constexpr int kBlackKnightSquare = 15;
constexpr int kEmptySquare = 20;

std::map<int, int> targetMarks(const Position& position, int square)
{
    std::map<int, int> marks;
    for (const Target& t : generateTargets(position, square)) marks[t.square] = t.mark;
    return marks;
}

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

    void play(int from, int to)
    {
        room.clickSquare(from);
        ASSERT_TRUE(room.isTarget(to)) << from << " -> " << to;
        room.clickSquare(to);
    }

    // Presses well inside a square's click cell, clear of its neighbours.
    void press(int square, MouseButton button = MouseButton::Left)
    {
        room.pressAt(button, room.cells().cell(square).left + 186, room.cells().cell(square).top + 300);
    }
    void release(int square)
    {
        room.releaseAt(room.cells().cell(square).left + 186, room.cells().cell(square).top + 300);
    }

    RecordingView view;
    GameRoom room{view};
};

TEST(GameRoomStart, ConstructionLeavesTheViewAlone)
{
    // The window builds its labels after the controller: an early call would reach none.
    RecordingView view;
    const GameRoom room(view);
    EXPECT_EQ(view.redraws + view.statusChanges, 0);
    EXPECT_EQ(room.position(), standardPosition());
}

TEST_F(GameRoomTest, KnightMovesByTwoClicksAndTheTurnPasses)
{
    room.clickSquare(kBlackKnightSquare); // not Black's turn
    expectIdle();

    room.clickSquare(kKnight);
    expectSelected(kKnight);
    const int to = firstTarget(standardPosition(), kKnight);
    const int statusChanges = view.statusChanges;
    room.clickSquare(to);

    EXPECT_EQ(room.position().squares[to], kWhiteKnight);
    EXPECT_EQ(room.position().squares[kKnight], kEmpty);
    EXPECT_EQ(room.statusText(), "Black to Move");
    EXPECT_GT(view.statusChanges, statusChanges);
    EXPECT_FALSE(room.gameSaved());
    EXPECT_EQ(room.moveNumberText(), "Move# 1");
    expectIdle();

    // Black may not pick an empty square, nor White's king.
    room.clickSquare(kEmptySquare);
    room.clickSquare(40);
    expectIdle();
    play(kBlackKnightSquare, firstTarget(room.position(), kBlackKnightSquare));
    EXPECT_EQ(room.statusText(), "White to Move");
    EXPECT_EQ(room.moveNumberText(), "Move# 2");
}

TEST_F(GameRoomTest, ClicksSelectDeselectAndReselect)
{
    room.clickSquare(kKnight);
    room.clickSquare(kKnight); // the selected square again puts it down
    expectIdle();
    room.clickSquare(kKnight);
    room.clickSquare(kOtherKnight); // another own piece is picked in one click
    expectSelected(kOtherKnight);
    room.clickSquare(kOtherKnight);

    // White may pick an empty square: a selection with no marks, which the
    // next click drops before picking the knight.
    room.clickSquare(kEmptySquare);
    EXPECT_TRUE(room.pieceSelected());
    EXPECT_TRUE(shownMarks().empty());
    room.clickSquare(kKnight);
    expectSelected(kKnight);
    EXPECT_EQ(room.position(), standardPosition());
}

TEST_F(GameRoomTest, PressesAndDrags)
{
    press(kKnight, MouseButton::Right);
    press(kKnight, MouseButton::Middle);
    expectIdle();

    // Let go on its own cell: still selected. Let go off every cell: no click.
    press(kKnight);
    room.releaseAt(room.cells().cell(kKnight).left, room.cells().cell(kKnight).top);
    expectSelected(kKnight);
    press(kKnight);
    room.releaseAt(-100, -100);
    expectIdle();

    // A drag from the knight to a target square moves it.
    const int to = targetMarks(standardPosition(), kKnight).rbegin()->first;
    press(kKnight);
    release(to);
    EXPECT_EQ(room.position().squares[to], kWhiteKnight);
    EXPECT_EQ(room.statusText(), "Black to Move");
}

TEST_F(GameRoomTest, PressInAnOverlapClicksBothCellsLowerFirst)
{
    // At 12 twips a pixel the cells of the pawns on 1 and 9 overlap; the
    // second click moves the selection on to 9.
    room.setCellLayout(CellLayout(12.0, 12.0));
    const CellRect& cell = room.cells().cell(9);
    ASSERT_EQ(room.cells().cellsAt(cell.left + 6, cell.top + 100), (std::vector<int>{1, 9}));
    room.pressAt(MouseButton::Left, cell.left + 6, cell.top + 100);
    EXPECT_EQ(room.selectedSquare(), 9);
}

TEST_F(GameRoomTest, ActivationShowsTheSelectionWithLiveMarks)
{
    room.clickSquare(kKnight);
    room.activate();
    expectSelected(kKnight);
    room.clickSquare(firstTarget(standardPosition(), kKnight));
    EXPECT_EQ(room.statusText(), "Black to Move");
}

TEST_F(GameRoomTest, ExitAsksOnlyAfterAnUnsavedMoveAndSetUpStartsAfresh)
{
    EXPECT_TRUE(room.mayExit());
    EXPECT_TRUE(view.questions.empty());

    play(kKnight, firstTarget(standardPosition(), kKnight));
    room.clickSquare(kBlackKnightSquare);
    press(kOtherKnight); // leaves a drag open
    view.answer = false;
    EXPECT_FALSE(room.mayExit());
    view.answer = true;
    EXPECT_TRUE(room.mayExit());
    EXPECT_EQ(view.questions, (std::vector<std::string>(2, "Exit without saving?")));

    room.setUp();
    EXPECT_EQ(room.position(), standardPosition());
    EXPECT_EQ(room.moveNumberText(), "Move# 1");
    EXPECT_TRUE(room.gameSaved());
    expectIdle();
    release(kEmptySquare); // the old drag is gone: no click
    expectIdle();
}

} // namespace
} // namespace palisade
