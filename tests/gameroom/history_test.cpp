#include "gameroom/game_room.h"
#include "gameroom/notation.h"
#include "recording_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace palisade {
namespace {

using Line = std::vector<std::pair<int, int>>;

// What the game room shows of a position: everything a history entry restores.
struct Shown {
    Position position;
    bool check = false;

    friend bool operator==(const Shown&, const Shown&) = default;
};

// White's knight from 8 and Black's from 15 each go round four squares: nothing
// is ever taken and no position comes back four half-moves later.
Line knightRounds(int halfMoves)
{
    const std::array<int, 4> white = {42, 59, 124, 107};
    const std::array<int, 4> black = {45, 60, 123, 108};
    std::array<int, 2> at = {8, 15};
    Line line;
    for (int k = 0; k < halfMoves; ++k) {
        const int side = k % 2;
        const int to = (side == 0 ? white : black)[(k / 2) % 4];
        line.emplace_back(at[side], to);
        at[side] = to;
    }
    return line;
}

class HistoryTest : public testing::Test {
protected:
    HistoryTest()
    {
        room.setUp();
        shown.push_back(now());
    }

    Shown now() const { return {room.position(), room.checkShown()}; }

    bool anyMark() const
    {
        for (int i = 0; i < kSquareCount; ++i)
            if (room.mark(i) != kNoMark) return true;
        return false;
    }

    void move(int from, int to)
    {
        room.clickSquare(from);
        ASSERT_TRUE(room.isTarget(to)) << from << " -> " << to;
        room.clickSquare(to);
    }

    // Plays on from the newest position; shown[k] is the position after k
    // half-moves, texts[k] the notation of half-move k + 1.
    void play(const Line& line)
    {
        for (const auto& [from, to] : line) {
            ASSERT_NO_FATAL_FAILURE(move(from, to));
            shown.push_back(now());
            texts.push_back(room.notation());
        }
    }

    RecordingView view;
    GameRoom room{view};
    std::vector<Shown> shown;
    std::vector<std::string> texts;
};

TEST_F(HistoryTest, TakeBackForwardAndTheJumpsRestoreEveryRecordedField)
{
    room.backToFirstMove(); // nothing recorded yet: both jumps do nothing
    room.forwardToEnd();
    EXPECT_EQ(now(), shown[0]);
    // A double step, a knight, a rook leaving its corner, Black's double step, a knight.
    ASSERT_NO_FATAL_FAILURE(play({{1, 3}, {15, 45}, {0, 2}, {54, 52}, {8, 42}}));
    ASSERT_EQ(shown[1].position.enPassantSquare, 3);
    ASSERT_EQ(shown[3].position.castleLost[0], 1);
    for (int k = 4; k >= 0; --k) {
        room.takeBack();
        EXPECT_EQ(now(), shown[k]) << "back to " << k;
        EXPECT_EQ(room.halfMoves(), k);
        EXPECT_TRUE(room.forwardVisible());
    }
    EXPECT_EQ(room.moveNumberText(), "Move# 1");
    room.takeBack(); // nothing before the first position
    EXPECT_EQ(now(), shown[0]);
    for (int k = 1; k <= 5; ++k) {
        room.forward();
        EXPECT_EQ(now(), shown[k]) << "forward to " << k;
        EXPECT_EQ(room.forwardVisible(), k < 5);
    }
    room.forward(); // the newest position: nowhere further
    EXPECT_EQ(now(), shown[5]);
    EXPECT_EQ(room.halfMoves(), 5);

    room.backToFirstMove();
    EXPECT_EQ(room.position().squares, standardPosition().squares);
    EXPECT_EQ(room.position().castleLost, standardPosition().castleLost);
    EXPECT_EQ(room.statusText(), "White to Move");
    EXPECT_EQ(room.halfMoves(), 0);
    EXPECT_TRUE(room.forwardVisible());
    room.forwardToEnd();
    EXPECT_EQ(now(), shown[5]);
    EXPECT_EQ(room.halfMoves(), 5);
    EXPECT_EQ(room.history().lastHalfMove(), 5);
    EXPECT_FALSE(room.forwardVisible());
}

TEST_F(HistoryTest, EveryStepDropsTheSelectionAndItsMarks)
{
    ASSERT_NO_FATAL_FAILURE(play({{41, 43}, {15, 45}}));
    // Each step leaves a position whose side to move owns the next piece picked.
    const std::array<std::pair<void (GameRoom::*)(), int>, 4> steps = {{
        {&GameRoom::takeBack, 8},
        {&GameRoom::forward, 15},
        {&GameRoom::backToFirstMove, 8},
        {&GameRoom::forwardToEnd, 8},
    }};
    for (const auto& [step, piece] : steps) {
        room.clickSquare(piece);
        ASSERT_TRUE(room.pieceSelected() && anyMark()) << piece;
        (room.*step)();
        EXPECT_FALSE(room.pieceSelected()) << piece;
        EXPECT_FALSE(anyMark()) << piece;
    }
}

TEST_F(HistoryTest, AMoveAfterTakeBackCutsTheLine)
{
    ASSERT_NO_FATAL_FAILURE(play({{41, 43}, {15, 45}, {8, 42}, {45, 15}}));
    room.takeBack();
    room.takeBack();
    ASSERT_NO_FATAL_FAILURE(move(25, 27));
    const Shown cut = now();
    EXPECT_EQ(room.halfMoves(), 3);
    EXPECT_EQ(room.history().lastHalfMove(), 3);
    EXPECT_FALSE(room.forwardVisible());
    EXPECT_FALSE(room.history().entry(3).status.has_value()); // nothing of the old line is kept
    EXPECT_EQ(room.history().moveText(3), "1d2 - 1d4");
    room.forward();
    EXPECT_EQ(now(), cut);

    room.takeBack();
    EXPECT_EQ(now(), shown[2]);
    room.forward();
    EXPECT_EQ(now(), cut);
}

TEST_F(HistoryTest, PlayedMovesAreWrittenAndListed)
{
    // Pawn moves and captures, knight moves and a knight's capture, then Black's
    // double step beside White's pawn on 52 and its capture en passant.
    const Line line = {{41, 43}, {54, 52}, {43, 52}, {15, 21}, {8, 18}, {21, 15},
                       {18, 12}, {15, 21}, {12, 6},  {62, 60}, {52, 61}};
    ASSERT_NO_FATAL_FAILURE(play(line));
    const std::vector<std::string> expected = {
        "2b2 - 2b4",  "2c7 - 2c5",  "2b4 - bx2c5", "1b8 - N1c6", "1b1 - N1c3", "1c6 - N1b8",
        "1c3 - N1b5", "1b8 - N1c6", "1b5 - Nx1a7", "2d7 - 2d5",  "2c5 - 2d6"};
    EXPECT_EQ(texts, expected);
    for (int k = 1; k <= 11; ++k) EXPECT_EQ(room.history().moveText(k), expected[k - 1]) << k;
    EXPECT_EQ(room.position().squares[60], kEmpty);

    // Stepping through the record leaves the last move's text alone.
    room.takeBack();
    EXPECT_EQ(room.position().squares[60], kBlackPawn);
    EXPECT_EQ(room.statusText(), "White to Move"); // White's own move came back
    room.backToFirstMove();
    EXPECT_EQ(room.notation(), expected.back());
}

TEST_F(HistoryTest, PromotionAsksUntilAYesAndWritesTheNewPiece)
{
    // White's pawn from 25 walks up its line, takes on 22 and then Black's rook on 31.
    ASSERT_NO_FATAL_FAILURE(
        play({{25, 27}, {15, 45}, {27, 28}, {45, 15}, {28, 29}, {15, 45}, {29, 22}, {45, 15}}));
    const std::vector<std::string> questions = {"Queen?", "Knight?", "Rook?"};
    // After three Noes a bishop, with no fourth question.
    const std::array<int, 4> codes = {kWhiteQueen, kWhiteKnight, kWhiteRook, kWhiteBishop};
    const std::array<std::string, 4> written = {"1c7 - Qx1d8", "1c7 - Nx1d8", "1c7 - Rx1d8",
                                                "1c7 - Bx1d8"};
    for (int noes = 0; noes < 4; ++noes) {
        view.answers.assign(noes, false);
        if (noes < 3) view.answers.push_back(true);
        view.questions.clear();
        ASSERT_NO_FATAL_FAILURE(move(22, 31));
        EXPECT_EQ(view.questions,
                  std::vector(questions.begin(), questions.begin() + std::min(noes + 1, 3)));
        EXPECT_TRUE(view.answers.empty());
        EXPECT_EQ(room.position().squares[31], codes[noes]);
        EXPECT_EQ(room.position().squares[22], kEmpty);
        EXPECT_EQ(room.notation(), written[noes]);
        EXPECT_EQ(room.history().moveText(9), written[noes]);
        room.takeBack();
        EXPECT_EQ(now(), shown[8]);
    }
}

TEST_F(HistoryTest, KingsideCastleOnlyWhenThePlayerSaysYes)
{
    // The knight and the bishop leave 8 and 32, where king A may land.
    ASSERT_NO_FATAL_FAILURE(play({{41, 43}, {15, 45}, {8, 18}, {45, 15}, {32, 50}, {15, 45}}));
    struct Case {
        int landing;
        bool yes;
        const char* text;
    };
    const Case cases[] = {{8, true, "2O-O1"}, {32, true, "2O-O2"}, {8, false, "2b1 - K1b1"}};
    for (const Case& c : cases) {
        view.answers = {c.yes};
        view.questions.clear();
        room.clickSquare(40);
        EXPECT_EQ(room.mark(c.landing), kKingsideCastleMark);
        room.clickSquare(c.landing);
        EXPECT_EQ(view.questions, std::vector<std::string>{"Castle?"});
        const Board& squares = room.position().squares;
        EXPECT_EQ(squares[c.landing], kWhiteKing);
        EXPECT_EQ(squares[40], c.yes ? kWhiteRook : kEmpty) << c.text;
        EXPECT_EQ(squares[0], c.yes ? kEmpty : kWhiteRook) << c.text;
        EXPECT_EQ(room.notation(), c.text);
        EXPECT_EQ(room.position().castleLost[0], 1); // the king has left home either way
        room.takeBack();
        EXPECT_EQ(now(), shown[6]);
    }
}

TEST_F(HistoryTest, QueensideCastleAsksNothingAndTakesBackWhole)
{
    // Queen B, the bishop on 104 and the knight on 64 clear king A's way along the half-boards.
    ASSERT_NO_FATAL_FAILURE(
        play({{73, 75}, {15, 45}, {72, 74}, {45, 15}, {104, 73}, {15, 45}, {64, 34}, {45, 15}}));
    view.questions.clear();
    room.clickSquare(40);
    EXPECT_EQ(room.mark(104), kQueensideCastleMark);
    room.clickSquare(104);
    EXPECT_TRUE(view.questions.empty());
    const Board& squares = room.position().squares;
    EXPECT_EQ((std::array<int, 4>{squares[40], squares[72], squares[96], squares[104]}),
              (std::array<int, 4>{kEmpty, kWhiteRook, kEmpty, kWhiteKing}));
    EXPECT_EQ(room.notation(), "2O-O-O4");
    EXPECT_EQ(room.history().moveText(9), "2O-O-O4");
    room.takeBack();
    EXPECT_EQ(now(), shown[8]);
}

TEST_F(HistoryTest, PastFourHundredHalfMovesTheOpeningStaysAndTheEndStepsBackOne)
{
    const Line line = knightRounds(420);
    ASSERT_NO_FATAL_FAILURE(play(Line(line.begin(), line.begin() + 400)));
    std::vector<HistoryEntry> opening;
    for (int k = 0; k < 400; ++k) {
        ASSERT_EQ(room.history().entry(k).squares, shown[k].position.squares) << k;
        opening.push_back(room.history().entry(k));
    }
    const auto firstChanged = [&] {
        for (int k = 0; k < 400; ++k) {
            if (!(room.history().entry(k) == opening[k])) return k;
        }
        return -1;
    };

    for (int k = 400; k < 420; ++k) {
        ASSERT_NO_FATAL_FAILURE(play({line[k]}));
        ASSERT_EQ(room.halfMoves(), 401) << k;
        ASSERT_EQ(room.history().lastHalfMove(), 401) << k;
    }
    EXPECT_EQ(firstChanged(), -1);
    EXPECT_EQ(room.history().entry(400).squares, shown[419].position.squares);
    EXPECT_EQ(room.history().moveText(400), texts[418]);
    EXPECT_EQ(room.history().moveText(401), texts[419]);

    room.takeBack();
    EXPECT_EQ(now(), shown[419]);
    EXPECT_EQ(room.halfMoves(), 400);
    EXPECT_TRUE(room.forwardVisible());
    room.forward();
    EXPECT_EQ(now(), shown[420]);
    room.forward(); // entry 401 is the newest: nothing beyond it
    EXPECT_EQ(now(), shown[420]);
    EXPECT_EQ(room.halfMoves(), 401);

    // One step before the end lies the opening's last entry.
    room.takeBack();
    room.takeBack();
    EXPECT_EQ(now(), shown[399]);
    room.forwardToEnd();
    EXPECT_EQ(now(), shown[420]);
    room.backToFirstMove();
    EXPECT_EQ(room.position().squares, standardPosition().squares);
    room.forwardToEnd();
    EXPECT_EQ(now(), shown[420]);
    EXPECT_EQ(room.halfMoves(), 401);
    EXPECT_EQ(room.history().lastHalfMove(), 401);
    EXPECT_EQ(firstChanged(), -1);
}

TEST(Notation, SquaresMovesCastlesAndPromotions)
{
    // A square keeps its name when the sides switch: Black's double step from 30
    // to 28 is played from 1 to 3 on the turned board.
    const std::tuple<int, int, const char*> names[] = {{30, 0, "1d7"},  {28, 0, "1d5"},
                                                       {1, 1, "1d7"},   {3, 1, "1d5"},
                                                       {127, 0, "4d8"}, {127, 1, "4a1"}};
    for (const auto& [square, sidesSwitched, name] : names) {
        EXPECT_EQ(squareText(square, sidesSwitched), name);
    }
    struct Case {
        int oldpiece, newpiece, castled, oldPos, newPos, sidesSwitched;
        const char* text;
    };
    const Case cases[] = {
        {kBlackPawn, kEmpty, 0, 1, 3, 1, "1d7 - 1d5"},
        // A pawn's capture names its rw as the turned board names it.
        {kWhitePawn, kBlackKnight, 0, 41, 50, 1, "2c7 - cx2b6"},
        // Castles name only the half-boards, which a switch does not turn.
        {kWhiteKing, kEmpty, 1, 55, 23, 1, "2O-O1"},
        {kBlackKing, kEmpty, 2, 72, 8, 1, "3O-O-O1"},
        // A promoted pawn is written as the piece it became.
        {kBlackQueen, kEmpty, 0, 33, 32, 0, "2a2 - Q2a1"},
        {kBlackKnight, kWhiteBishop, 0, 97, 104, 0, "4a2 - Nx4b1"},
        {kWhiteBishop, kBlackRook, 0, 6, 15, 0, "1a7 - Bx1b8"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(moveText(c.oldpiece, c.newpiece, c.castled, c.oldPos, c.newPos, c.sidesSwitched),
                  c.text);
    }
}

} // namespace
} // namespace palisade
