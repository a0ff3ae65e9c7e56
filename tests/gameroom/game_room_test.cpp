#include "engine/orientation.h"
#include "gameroom/notation.h"
#include "endings.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <tuple>
#include <utility>

namespace palisade {
namespace {
using namespace letters;
using namespace endings;

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
    EXPECT_TRUE(room.position().squares[42] == kWhiteKnight && room.position().squares[8] == kEmpty);
    EXPECT_TRUE(room.statusText() == "Black to Move" && room.moveNumberText() == "Move# 1" && !room.gameSaved());
    EXPECT_GT(room.statusChanges, statusChanges);
    room.expectIdle();
    room.clickSquare(20); // Black may not pick an empty square, nor White's king
    room.clickSquare(40);
    room.expectIdle();
    room.play(15, 45);
    EXPECT_TRUE(room.statusText() == "White to Move" && room.moveNumberText() == "Move# 2");
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
    EXPECT_TRUE(room.position().squares[42] == kWhiteKnight && room.statusText() == "Black to Move");

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
    EXPECT_TRUE(room.halfMoves() == 0 && room.gameSaved());
    room.expectIdle();
    release(room, 20); // the old drag is gone: no click
    room.expectIdle();
}

// Every half-move is written and listed, and Take Back, Forward and the jumps
// restore every recorded field. The line has pawn moves and captures, knight
// moves and a knight's capture, Black's double step beside White's pawn on 52
// and its capture en passant, and a rook leaving its corner.
TEST(History, MovesAreListedAndEveryStepRestoresWhatWasShown)
{
    Recorder room;
    room.backToFirstMove(); // nothing recorded yet: both jumps do nothing
    room.forwardToEnd();
    EXPECT_EQ(room.now(), room.shown[0]);
    ASSERT_NO_FATAL_FAILURE(room.record({{41, 43}, {54, 52}, {43, 52}, {15, 21}, {8, 18}, {21, 15}, {18, 12},
                                         {15, 21}, {12, 6}, {62, 60}, {52, 61}, {21, 15}, {0, 8}}));
    const std::vector<std::string> expected = {
        "2b2 - 2b4",  "2c7 - 2c5",   "2b4 - bx2c5", "1b8 - N1c6", "1b1 - N1c3", "1c6 - N1b8", "1c3 - N1b5",
        "1b8 - N1c6", "1b5 - Nx1a7", "2d7 - 2d5",   "2c5 - 2d6",  "1c6 - N1b8", "1a1 - R1b1"};
    EXPECT_EQ(room.texts, expected);
    for (int k = 1; k <= 13; ++k) EXPECT_EQ(room.history().moveText(k), expected[k - 1]) << k;
    ASSERT_TRUE(room.shown[10].first.enPassantSquare == 60 && room.shown[10].first.squares[60] == kBlackPawn);
    ASSERT_TRUE(room.shown[11].first.squares[60] == kEmpty && room.shown[13].first.castleLost[0] == 1);
    for (int k = 12; k >= -1; --k) { // nothing before the first position
        room.takeBack();
        EXPECT_EQ(room.now(), room.shown[std::max(k, 0)]) << "back to " << k;
        EXPECT_TRUE(room.halfMoves() == std::max(k, 0) && room.forwardVisible()) << k;
    }
    for (int k = 1; k <= 14; ++k) { // the newest position: nowhere further
        room.forward();
        EXPECT_EQ(room.now(), room.shown[std::min(k, 13)]) << "forward to " << k;
        EXPECT_EQ(room.forwardVisible(), k < 13);
    }
    room.backToFirstMove();
    EXPECT_EQ(room.now(), room.shown[0]);
    EXPECT_TRUE(room.halfMoves() == 0 && room.forwardVisible());
    EXPECT_EQ(room.notation(), expected.back()); // stepping leaves the last move's text alone
    room.forwardToEnd();
    EXPECT_EQ(room.now(), room.shown[13]);
    EXPECT_TRUE(room.halfMoves() == 13 && room.history().lastHalfMove() == 13 && !room.forwardVisible());

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
    ASSERT_NO_FATAL_FAILURE(room.play(14, 12));
    const Recorder::Shown cut = room.now();
    EXPECT_TRUE(room.halfMoves() == 12 && room.history().lastHalfMove() == 12 && !room.forwardVisible());
    EXPECT_FALSE(room.history().entry(12).status.has_value());
    EXPECT_EQ(room.history().moveText(12), "1b7 - 1b5");
    room.forward();
    EXPECT_EQ(room.now(), cut);
    room.takeBack();
    EXPECT_EQ(room.now(), room.shown[11]);
    room.forward();
    EXPECT_EQ(room.now(), cut);
}

TEST(History, PromotionAsksUntilAYesAndWritesTheNewPiece)
{
    // White's pawn from 25 walks up its line, takes on 22 and then Black's rook on 31.
    Recorder room;
    ASSERT_NO_FATAL_FAILURE(
        room.record({{25, 27}, {15, 45}, {27, 28}, {45, 15}, {28, 29}, {15, 45}, {29, 22}, {45, 15}}));
    const std::vector<std::string> questions = {"Queen?", "Knight?", "Rook?"};
    const int codes[] = {Q, N, R, B}; // after three Noes a bishop, with no fourth question
    for (int noes = 0; noes < 4; ++noes) {
        room.answers.assign(noes, false);
        if (noes < 3) room.answers.push_back(true);
        room.questions.clear();
        ASSERT_NO_FATAL_FAILURE(room.play(22, 31));
        EXPECT_EQ(room.questions, std::vector(questions.begin(), questions.begin() + std::min(noes + 1, 3)));
        EXPECT_TRUE(room.position().squares[31] == codes[noes] && room.position().squares[22] == kEmpty);
        EXPECT_EQ(room.notation(), std::string("1c7 - ") + "QNRB"[noes] + "x1d8");
        EXPECT_EQ(room.history().moveText(9), room.notation());
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
        EXPECT_TRUE(squares[landing] == kWhiteKing && squares[rookTo] == kWhiteRook) << text;
        EXPECT_EQ(squares[rookFrom], rookFrom == rookTo ? kWhiteRook : kEmpty) << text;
        EXPECT_EQ(squares[40], rookTo == 40 ? kWhiteRook : kEmpty) << text;
        EXPECT_TRUE(room.notation() == text && room.history().moveText(15) == text) << room.notation();
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
    for (int k = 0; k < 400; ++k) ASSERT_TRUE(room.history().entry(k) == opening[k]) << k;
    EXPECT_EQ(room.history().entry(400).squares, room.shown[419].first.squares);
    EXPECT_TRUE(room.history().moveText(400) == room.texts[418] && room.history().moveText(401) == room.texts[419]);
    room.takeBack();
    EXPECT_EQ(room.now(), room.shown[419]);
    EXPECT_TRUE(room.halfMoves() == 400 && room.forwardVisible());
    room.forward();
    room.forward(); // entry 401 is the newest: nothing beyond it
    EXPECT_TRUE(room.now() == room.shown[420] && room.halfMoves() == 401);
    // One step before the end lies the opening's last entry.
    room.takeBack();
    room.takeBack();
    EXPECT_EQ(room.now(), room.shown[399]);
    room.forwardToEnd();
    EXPECT_EQ(room.now(), room.shown[420]);
    EXPECT_TRUE(room.halfMoves() == 401 && room.history().lastHalfMove() == 401);
}

// A square keeps its name when the sides switch: Black's double step from 30 to 28 is
// played from 1 to 3 on the turned board. A pawn's capture names its rw as the turned
// board does; castles name only the half-boards, which a switch does not turn.
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

// A result stands: nothing is selected, and no click selects or moves anything.
void expectFrozen(Room& room)
{
    const Position before = room.position();
    room.expectIdle();
    for (int square = 0; square < kSquareCount; ++square) room.clickSquare(square);
    room.expectIdle();
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
        {kForkMate.start, kForkMate.from, kForkMate.to, "White Wins!", false, 0},
        {with({{4, n}, {16, K}, {25, K}, {110, k}, {118, k}}, Bl), 4, 10, "Black Wins!", false, 0},
        // Stalemate with both kings: nothing is freed.
        {kStalemate.start, kStalemate.from, kStalemate.to, "DRAW!", false, 0},
        // A single king, Black's only piece, may move once freed.
        {with({{0, k}, {110, K}, {118, K}}), 110, 102, "Black to Move", false, 1},
        // The queens leave the single king no square even once it is freed.
        {kLoneKingDraw.start, kLoneKingDraw.from, kLoneKingDraw.to, "DRAW!", false, 1}};
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
    // start, also with the sides switched after the 4th, as positions compare
    // as the board stands. After a pawn move the position of the 1st half-move
    // returns at the 5th and the 9th; at the 8th only the 4th matches, not the start.
    const Line knights = kKnightsOutAndBack;
    const Line afterPawn = {{41, 43}, {15, 45}, {8, 42}, {45, 15}, {42, 8}, {15, 45}, {8, 42}, {45, 15}, {42, 8}};
    for (const auto& [line, switchAfter] : {std::pair{knights, 0}, {afterPawn, 0}, {knights, 4}}) {
        Room room;
        const auto seen = [&](int square) { return room.position().sidesSwitched ? turnedSquare(square) : square; };
        for (int k = 1; k <= static_cast<int>(line.size()); ++k) {
            ASSERT_NO_FATAL_FAILURE(room.play(seen(line[k - 1].first), seen(line[k - 1].second)));
            if (k == switchAfter) room.switchSides();
            EXPECT_EQ(room.statusText() == "DRAW!", k == static_cast<int>(line.size())) << "half-move " << k;
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
    ASSERT_TRUE(room.history().entry(4).squares == room.position().squares
                && room.history().entry(0).squares == room.position().squares);
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
        EXPECT_TRUE(room.questions.empty() && room.beeps == 1);
        EXPECT_TRUE(room.position().squares[c.kept] == k && room.position().squares[c.other] == (lost ? k : kEmpty));
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
        EXPECT_TRUE(room.position().squares[lost] == kEmpty && room.position().kingsStanding == 1);
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
        room.expectSelected(kept);
        if (yes) { // a result ends the choice too
            room.resign();
            expectFrozen(room);
            continue;
        }
        room.clickSquare(marks.begin()->first);
        EXPECT_EQ(room.position().squares[marks.begin()->first], k);
        EXPECT_EQ(room.statusText(), "White to Move");
        room.expectIdle();
    }
}

// A choice answered later holds the game as the question box did: nothing
// but the answer moves it on, and it is never saved half made.
TEST(TwoKingTrial, AChoiceAnsweredLaterHoldsTheGameUntilTheAnswer)
{
    Room room(withBothKingsToDestroy(kFork));
    room.kingChoiceLater = true;
    room.play(4, 10);
    ASSERT_EQ(room.kingChoice(), (KingChoice{16, 25}));
    EXPECT_TRUE(room.questions.empty());
    EXPECT_EQ(room.position().squares[25], kEmpty);
    room.expectSelected(16);

    const Position waiting = room.position();
    for (int square = 0; square < kSquareCount; ++square) room.clickSquare(square);
    room.takeBack();
    room.backToFirstMove();
    room.switchSides();
    room.resign();
    room.declareDraw();
    room.toggleWinOption();
    room.answerKingChoice(40);
    const std::string file = testing::TempDir() + "/half-made.brd";
    EXPECT_FALSE(room.save(file));
    EXPECT_EQ(room.messages, std::vector<std::string>{"Choose the king to save first."});
    EXPECT_FALSE(std::ifstream(file).good());
    EXPECT_EQ(room.position(), waiting);
    EXPECT_EQ(room.halfMoves(), 1);
    room.expectSelected(16);

    const int statusChanges = room.statusChanges;
    room.answerKingChoice(25);
    EXPECT_FALSE(room.kingChoice());
    EXPECT_TRUE(room.position().squares[16] == kEmpty && room.position().squares[25] == k);
    EXPECT_EQ(room.position().kingsStanding, 1);
    EXPECT_TRUE(room.selectionLocked());
    room.expectSelected(25);
    EXPECT_GT(room.statusChanges, statusChanges);
}

TEST(Commands, SwitchSidesTurnsTheBoardAndDropsTheSelection)
{
    Room room;
    room.play(1, 3); // a double step: Black may take en passant
    const Position before = room.position();
    room.clickSquare(15);
    room.switchSides();
    EXPECT_EQ(room.position().enPassantSquare, turnedSquare(3));
    EXPECT_TRUE(room.position().upPawn == kBlackPawn && room.statusText() == "Black to Move");
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
    EXPECT_TRUE(room.position().squares == turned && room.position().enPassantSquare == turnedSquare(3));
    room.takeBack();
    EXPECT_TRUE(room.position().enPassantSquare == 31 && room.position().sidesSwitched == 1);
}

TEST(Commands, WinOptionIsLockedOnceAKingIsGivenUp)
{
    Position oneKingGone = standardPosition();
    oneKingGone.kingsStanding = 1;
    Room room(oneKingGone);
    room.toggleWinOption(); // turning the option on is never refused, not even with a king gone
    EXPECT_EQ(room.winOptionText(), "Destroy Both Kings!");
    room.setUp(kOneEscape);
    room.toggleWinOption();
    room.play(34, 1);
    ASSERT_EQ(room.position().kingsStanding, 1);
    room.toggleWinOption();
    EXPECT_EQ(room.messages, std::vector<std::string>{"Can't Change Now!"});
    EXPECT_EQ(room.winOptionText(), "Destroy Both Kings!");
    room.takeBack();
    room.toggleWinOption();
    EXPECT_EQ(room.winOptionText(), "Standard");
}

TEST(Commands, DrawAndResignEndPlayOnceDropTheSelectionAndStayInTheRecord)
{
    const std::tuple<void (GameRoom::*)(), bool, const char*> cases[] = {
        {&GameRoom::resign, true, "Black Wins!"}, {&GameRoom::resign, false, "White Wins!"},
        {&GameRoom::declareDraw, true, "DRAW!"}, {&GameRoom::declareDraw, false, "DRAW!"}};
    Room room;
    for (const auto& [command, whiteToMove, text] : cases) {
        room.setUp();
        if (!whiteToMove) room.play(8, 42);
        room.clickSquare(whiteToMove ? 64 : 71); // a knight of the side to move
        ASSERT_TRUE(room.pieceSelected());
        (room.*command)();
        room.resign(); // neither command changes a result that already stands
        room.declareDraw();
        EXPECT_EQ(room.statusText(), text);
        EXPECT_EQ(room.beeps, 0);
        expectFrozen(room);
    }
    // A result is no move: from the draw declared in Black's turn, Take Back
    // shows the position before White's move and Forward the draw again.
    room.takeBack();
    EXPECT_EQ(room.position(), standardPosition());
    room.forward();
    EXPECT_TRUE(room.statusText() == "DRAW!" && room.position().squares[42] == kWhiteKnight);
}

} // namespace
} // namespace palisade
