#include "gameroom/notation.h"
#include "recording_view.h"

#include <algorithm>
#include <array>
#include <tuple>
#include <utility>

namespace palisade {
namespace {

// Presses and releases well inside a square's click cell, clear of its neighbours.
void press(Room& room, int square, MouseButton button = MouseButton::Left)
{
    room.pressAt(button, room.cells().cell(square).left + 186, room.cells().cell(square).top + 300);
}
void release(Room& room, int square)
{
    room.releaseAt(room.cells().cell(square).left + 186, room.cells().cell(square).top + 300);
}

// A room that keeps what it showed after each half-move it played: shown[k]
// after k half-moves, texts[k] the notation of half-move k + 1.
struct Recorder : Room {
    using Shown = std::pair<Position, bool>;
    Shown now() const { return {position(), checkShown()}; }
    void record(const Line& line)
    {
        for (const auto& [from, to] : line) {
            ASSERT_NO_FATAL_FAILURE(play(from, to));
            shown.push_back(now());
            texts.push_back(notation());
        }
    }
    std::vector<Shown> shown{now()};
    std::vector<std::string> texts;
};

TEST(GameRoom, ConstructionLeavesTheViewAlone)
{
    // The window builds its labels after the controller: an early call would reach none.
    RecordingView view;
    const GameRoom room(view);
    EXPECT_EQ(view.redraws + view.statusChanges, 0);
    EXPECT_EQ(room.position(), standardPosition());
}

TEST(GameRoom, ClicksSelectDeselectAndMove)
{
    Room room;
    room.clickSquare(15); // Black's knight, not Black's turn
    room.expectIdle();
    room.clickSquare(8);
    room.clickSquare(8); // the selected square again puts it down
    room.expectIdle();
    room.clickSquare(8);
    room.clickSquare(64); // another own piece is picked in one click
    room.expectSelected(64);
    // White may pick an empty square: a selection with no marks, which the
    // next click drops before picking the knight.
    room.clickSquare(64);
    room.clickSquare(20);
    EXPECT_TRUE(room.pieceSelected() && room.marks().empty());
    room.clickSquare(8);
    room.activate(); // the window came back: the selection shows again
    room.expectSelected(8);
    EXPECT_EQ(room.position(), standardPosition());

    const int statusChanges = room.statusChanges;
    room.clickSquare(42);
    EXPECT_EQ(room.position().squares[42], kWhiteKnight);
    EXPECT_EQ(room.position().squares[8], kEmpty);
    EXPECT_EQ(room.statusText(), "Black to Move");
    EXPECT_GT(room.statusChanges, statusChanges);
    EXPECT_FALSE(room.gameSaved());
    EXPECT_EQ(room.moveNumberText(), "Move# 1");
    room.expectIdle();
    room.clickSquare(20); // Black may not pick an empty square, nor White's king
    room.clickSquare(40);
    room.expectIdle();
    room.play(15, 45);
    EXPECT_EQ(room.statusText(), "White to Move");
    EXPECT_EQ(room.moveNumberText(), "Move# 2");
}

TEST(GameRoom, PressesAndDrags)
{
    Room room;
    press(room, 8, MouseButton::Right);
    press(room, 8, MouseButton::Middle);
    room.expectIdle();
    // Let go on its own cell: still selected. Let go off every cell: no click.
    press(room, 8);
    room.releaseAt(room.cells().cell(8).left, room.cells().cell(8).top);
    room.expectSelected(8);
    press(room, 8);
    room.releaseAt(-100, -100);
    room.expectIdle();
    // A drag from the knight to a target square moves it.
    press(room, 8);
    release(room, 42);
    EXPECT_EQ(room.position().squares[42], kWhiteKnight);
    EXPECT_EQ(room.statusText(), "Black to Move");

    // At 12 twips a pixel the cells of the pawns on 1 and 9 overlap: a press
    // there clicks both, the lower first, and the second moves the selection on.
    Room overlap;
    overlap.setCellLayout(CellLayout(12.0, 12.0));
    overlap.pressAt(MouseButton::Left, overlap.cells().cell(9).left + 6, overlap.cells().cell(9).top + 100);
    overlap.expectSelected(9);
}

TEST(GameRoom, ExitAndNewAskOnlyAfterAnUnsavedMoveAndNewStartsAfresh)
{
    Room room;
    EXPECT_TRUE(room.mayExit());
    room.newGame();
    EXPECT_TRUE(room.questions.empty());
    room.toggleWinOption();
    room.play(8, 42);
    press(room, 15); // leaves a drag open
    room.answer = false;
    EXPECT_FALSE(room.mayExit());
    room.newGame();
    EXPECT_EQ(room.position().squares[42], kWhiteKnight);
    room.answer = true;
    EXPECT_TRUE(room.mayExit());
    room.newGame();
    const std::vector<std::string> asked = {"Exit without saving?", "Exit Game without saving?"};
    EXPECT_EQ(room.questions, (std::vector{asked[0], asked[1], asked[0], asked[1]}));
    EXPECT_EQ(room.position(), standardPosition());
    EXPECT_EQ(room.moveNumberText(), "Move# 1");
    EXPECT_EQ(room.halfMoves(), 0);
    EXPECT_TRUE(room.gameSaved());
    room.expectIdle();
    release(room, 20); // the old drag is gone: no click
    room.expectIdle();
}

TEST(History, TakeBackForwardAndTheJumpsRestoreEveryRecordedField)
{
    Recorder room;
    room.backToFirstMove(); // nothing recorded yet: both jumps do nothing
    room.forwardToEnd();
    EXPECT_EQ(room.now(), room.shown[0]);
    // A double step, a knight, a rook leaving its corner, Black's double step, a knight.
    ASSERT_NO_FATAL_FAILURE(room.record({{1, 3}, {15, 45}, {0, 2}, {54, 52}, {8, 42}}));
    ASSERT_TRUE(room.shown[1].first.enPassantSquare == 3 && room.shown[3].first.castleLost[0] == 1);
    for (int k = 4; k >= -1; --k) { // nothing before the first position
        room.takeBack();
        EXPECT_EQ(room.now(), room.shown[std::max(k, 0)]) << "back to " << k;
        EXPECT_TRUE(room.halfMoves() == std::max(k, 0) && room.forwardVisible()) << k;
    }
    for (int k = 1; k <= 6; ++k) { // the newest position: nowhere further
        room.forward();
        EXPECT_EQ(room.now(), room.shown[std::min(k, 5)]) << "forward to " << k;
        EXPECT_EQ(room.forwardVisible(), k < 5);
    }
    room.backToFirstMove();
    EXPECT_EQ(room.now(), room.shown[0]);
    EXPECT_TRUE(room.halfMoves() == 0 && room.forwardVisible());
    room.forwardToEnd();
    EXPECT_EQ(room.now(), room.shown[5]);
    EXPECT_TRUE(room.halfMoves() == 5 && room.history().lastHalfMove() == 5 && !room.forwardVisible());

    // Every step drops the selection and its marks: a knight of the side to move is picked first.
    for (auto [step, knight] : {std::pair{&GameRoom::takeBack, 71}, {&GameRoom::forward, 64},
                                {&GameRoom::backToFirstMove, 71}, {&GameRoom::forwardToEnd, 64}}) {
        room.clickSquare(knight);
        ASSERT_FALSE(room.marks().empty()) << knight;
        (room.*step)();
        room.expectIdle();
    }

    // A move after Take Back cuts the line: nothing of the old one is kept.
    room.takeBack();
    room.takeBack();
    ASSERT_NO_FATAL_FAILURE(room.play(62, 60));
    const Recorder::Shown cut = room.now();
    EXPECT_TRUE(room.halfMoves() == 4 && room.history().lastHalfMove() == 4 && !room.forwardVisible());
    EXPECT_FALSE(room.history().entry(4).status.has_value());
    EXPECT_EQ(room.history().moveText(4), "2d7 - 2d5");
    room.forward();
    EXPECT_EQ(room.now(), cut);
    room.takeBack();
    EXPECT_EQ(room.now(), room.shown[3]);
    room.forward();
    EXPECT_EQ(room.now(), cut);
}

TEST(History, PlayedMovesAreWrittenAndListed)
{
    // Pawn moves and captures, knight moves and a knight's capture, then Black's
    // double step beside White's pawn on 52 and its capture en passant.
    Recorder room;
    ASSERT_NO_FATAL_FAILURE(room.record({{41, 43}, {54, 52}, {43, 52}, {15, 21}, {8, 18}, {21, 15},
                                         {18, 12}, {15, 21}, {12, 6}, {62, 60}, {52, 61}}));
    const std::vector<std::string> expected = {
        "2b2 - 2b4",  "2c7 - 2c5",  "2b4 - bx2c5", "1b8 - N1c6", "1b1 - N1c3", "1c6 - N1b8",
        "1c3 - N1b5", "1b8 - N1c6", "1b5 - Nx1a7", "2d7 - 2d5",  "2c5 - 2d6"};
    EXPECT_EQ(room.texts, expected);
    for (int k = 1; k <= 11; ++k) EXPECT_EQ(room.history().moveText(k), expected[k - 1]) << k;
    EXPECT_EQ(room.position().squares[60], kEmpty);
    // Stepping through the record leaves the last move's text alone.
    room.takeBack();
    EXPECT_EQ(room.position().squares[60], kBlackPawn);
    EXPECT_EQ(room.statusText(), "White to Move"); // White's own move came back
    room.backToFirstMove();
    EXPECT_EQ(room.notation(), expected.back());
}

TEST(History, PromotionAsksUntilAYesAndWritesTheNewPiece)
{
    // White's pawn from 25 walks up its line, takes on 22 and then Black's rook on 31.
    Recorder room;
    ASSERT_NO_FATAL_FAILURE(
        room.record({{25, 27}, {15, 45}, {27, 28}, {45, 15}, {28, 29}, {15, 45}, {29, 22}, {45, 15}}));
    const std::vector<std::string> questions = {"Queen?", "Knight?", "Rook?"};
    // After three Noes a bishop, with no fourth question.
    const std::array<std::pair<int, const char*>, 4> results = {
        {{kWhiteQueen, "1c7 - Qx1d8"}, {kWhiteKnight, "1c7 - Nx1d8"}, {kWhiteRook, "1c7 - Rx1d8"},
         {kWhiteBishop, "1c7 - Bx1d8"}}};
    for (int noes = 0; noes < 4; ++noes) {
        room.answers.assign(noes, false);
        if (noes < 3) room.answers.push_back(true);
        room.questions.clear();
        ASSERT_NO_FATAL_FAILURE(room.play(22, 31));
        EXPECT_EQ(room.questions, std::vector(questions.begin(), questions.begin() + std::min(noes + 1, 3)));
        EXPECT_TRUE(room.answers.empty());
        EXPECT_EQ(room.position().squares[31], results[noes].first);
        EXPECT_EQ(room.position().squares[22], kEmpty);
        EXPECT_EQ(room.notation(), results[noes].second);
        EXPECT_EQ(room.history().moveText(9), results[noes].second);
        room.takeBack();
        EXPECT_EQ(room.now(), room.shown[8]);
    }
}

TEST(History, KingsideCastleOnlyWhenThePlayerSaysYesQueensideUnasked)
{
    // The knight and the bishop leave 8 and 32, where king A may land on the
    // kingside; queen B, the bishop on 104 and the knight on 64 clear its way
    // along the half-boards.
    Recorder room;
    ASSERT_NO_FATAL_FAILURE(room.record({{41, 43}, {15, 45}, {8, 18}, {45, 15}, {32, 50}, {15, 45}, {73, 75},
                                         {45, 15}, {72, 74}, {15, 45}, {104, 73}, {45, 15}, {64, 34}, {15, 45}}));
    // Landing, answer, notation, the rook's way (none when declined).
    const std::tuple<int, bool, const char*, int, int> cases[] = {
        {8, true, "2O-O1", 0, 40}, {32, true, "2O-O2", 0, 40}, {8, false, "2b1 - K1b1", 0, 0},
        {104, false, "2O-O-O4", 96, 72}};
    for (const auto& [landing, yes, text, rookFrom, rookTo] : cases) {
        room.answers = {yes};
        room.questions.clear();
        room.clickSquare(40);
        EXPECT_EQ(room.mark(landing), landing == 104 ? kQueensideCastleMark : kKingsideCastleMark);
        room.clickSquare(landing);
        EXPECT_EQ(room.questions, std::vector<std::string>(landing == 104 ? 0 : 1, "Castle?"));
        const Board& squares = room.position().squares;
        EXPECT_EQ(squares[landing], kWhiteKing) << text;
        EXPECT_EQ(squares[rookTo], kWhiteRook) << text;
        EXPECT_EQ(squares[rookFrom], rookFrom == rookTo ? kWhiteRook : kEmpty) << text;
        EXPECT_EQ(squares[40], rookTo == 40 ? kWhiteRook : kEmpty) << text;
        EXPECT_EQ(room.notation(), text);
        EXPECT_EQ(room.history().moveText(15), text);
        EXPECT_EQ(room.position().castleLost[0], 1); // the king has left home either way
        room.takeBack();
        EXPECT_EQ(room.now(), room.shown[14]);
    }
}

TEST(History, PastFourHundredHalfMovesTheOpeningStaysAndTheEndStepsBackOne)
{
    // White's knight from 8 and Black's from 15 each go round four squares:
    // nothing is taken and no position comes back four half-moves later.
    const std::array<int, 4> rounds[2] = {{42, 59, 124, 107}, {45, 60, 123, 108}};
    int at[2] = {8, 15};
    Line line;
    for (int k = 0; k < 420; ++k) {
        const int to = rounds[k % 2][(k / 2) % 4];
        line.emplace_back(std::exchange(at[k % 2], to), to);
    }
    Recorder room;
    ASSERT_NO_FATAL_FAILURE(room.record(Line(line.begin(), line.begin() + 400)));
    std::vector<HistoryEntry> opening;
    for (int k = 0; k < 400; ++k) opening.push_back(room.history().entry(k));
    for (int k = 400; k < 420; ++k) {
        ASSERT_NO_FATAL_FAILURE(room.record({line[k]}));
        ASSERT_TRUE(room.halfMoves() == 401 && room.history().lastHalfMove() == 401) << k;
    }
    for (int k = 0; k < 400; ++k) {
        ASSERT_EQ(room.history().entry(k).squares, room.shown[k].first.squares) << k;
        ASSERT_TRUE(room.history().entry(k) == opening[k]) << k;
    }
    EXPECT_EQ(room.history().entry(400).squares, room.shown[419].first.squares);
    EXPECT_EQ(room.history().moveText(400), room.texts[418]);
    EXPECT_EQ(room.history().moveText(401), room.texts[419]);
    room.takeBack();
    EXPECT_EQ(room.now(), room.shown[419]);
    EXPECT_TRUE(room.halfMoves() == 400 && room.forwardVisible());
    room.forward();
    room.forward(); // entry 401 is the newest: nothing beyond it
    EXPECT_EQ(room.now(), room.shown[420]);
    EXPECT_EQ(room.halfMoves(), 401);
    // One step before the end lies the opening's last entry; the jumps reach both ends.
    room.takeBack();
    room.takeBack();
    EXPECT_EQ(room.now(), room.shown[399]);
    room.backToFirstMove();
    EXPECT_EQ(room.now(), room.shown[0]);
    room.forwardToEnd();
    EXPECT_EQ(room.now(), room.shown[420]);
    EXPECT_TRUE(room.halfMoves() == 401 && room.history().lastHalfMove() == 401);
}

// A square keeps its name when the sides switch: Black's double step from 30
// to 28 is played from 1 to 3 on the turned board. A pawn's capture names its
// rw as the turned board names it; castles name only the half-boards, which a
// switch does not turn.
TEST(Notation, NamesStayWhenTheSidesSwitch)
{
    const std::tuple<int, int, const char*> names[] = {{30, 0, "1d7"}, {28, 0, "1d5"},   {1, 1, "1d7"},
                                                       {3, 1, "1d5"},  {127, 0, "4d8"}, {127, 1, "4a1"}};
    for (const auto& [square, sidesSwitched, name] : names) EXPECT_EQ(squareText(square, sidesSwitched), name);
    EXPECT_EQ(moveText(kBlackPawn, kEmpty, 0, 1, 3, 1), "1d7 - 1d5");
    EXPECT_EQ(moveText(kWhitePawn, kBlackKnight, 0, 41, 50, 1), "2c7 - cx2b6");
    EXPECT_EQ(moveText(kWhiteKing, kEmpty, 1, 55, 23, 1), "2O-O1");
    EXPECT_EQ(moveText(kBlackKing, kEmpty, 2, 72, 8, 1), "3O-O-O1");
}

} // namespace
} // namespace palisade
