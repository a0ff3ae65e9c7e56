#include "engine/castling.h"
#include "engine/orientation.h"
#include "engine/targets.h"
#include "test_positions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <utility>

namespace palisade {
namespace {

// One castle as the sides stand at the start; after the switch every square is
// the turned one.
struct Castle {
    int flag, king, home;
    std::array<int, 2> landing; // one for a queenside castle
    int crossed;                // none (-1) on the kingside
    std::array<int, 3> mustBeEmpty;
    int rookFrom, rookTo;
};

constexpr Castle kCastles[] = {
    {0, kWhiteKing, 40, {8, 32}, -1, {8, 32, -1}, 0, 40},
    {2, kWhiteKing, 40, {56, -1}, 48, {48, 56, 16}, 24, 48},
    {3, kWhiteKing, 40, {104, -1}, 72, {72, 64, 104}, 96, 72},
    {4, kWhiteKing, 80, {88, 112}, -1, {88, 112, -1}, 120, 80},
    {6, kWhiteKing, 80, {64, -1}, 72, {72, 64, 104}, 96, 72},
    {7, kWhiteKing, 80, {16, -1}, 48, {48, 56, 16}, 24, 48},
    {8, kBlackKing, 47, {15, 39}, -1, {15, 39, -1}, 7, 47},
    {10, kBlackKing, 47, {63, -1}, 55, {55, 63, 23}, 31, 55},
    {11, kBlackKing, 47, {111, -1}, 79, {79, 71, 111}, 103, 79},
    {12, kBlackKing, 87, {95, 119}, -1, {95, 119, -1}, 127, 87},
    {14, kBlackKing, 87, {71, -1}, 79, {79, 71, 111}, 103, 79},
    {15, kBlackKing, 87, {23, -1}, 55, {55, 63, 23}, 31, 55},
};

constexpr int kOtherKing = 124; // far from every castle square
constexpr int kSecondKing = 3;  // a castling side's second king, out of the way

int at(int square, int sw) { return square < 0 || sw == 0 ? square : turnedSquare(square); }

// The square at the other end of the square's colmn line, where an enemy rook
// attacks it and no other square of its back rank.
int across(int square) { return square - 2 * (square % 8) + 7; }

Side sideOf(const Castle& c) { return c.king == kWhiteKing ? Side::White : Side::Black; }

// Only the castling king on its home and the castle's rook, the other side's
// king far off. A lone king may move here, so the castle needs no second king.
Position setUp(const Castle& c, int sw)
{
    const Side side = sideOf(c);
    Position position = with({{at(c.home, sw), c.king},
                              {at(c.rookFrom, sw), codeOf(side, Kind::Rook)},
                              {kOtherKing, codeOf(opponent(side), Kind::King)}},
                             toMove(side));
    position.sidesSwitched = sw;
    position.loneKingFree = 1;
    return position;
}

TargetList marksOf(const Castle& c, int sw)
{
    if (c.crossed >= 0) return {{at(c.landing[0], sw), kQueensideCastleMark}};
    return {{at(c.landing[0], sw), kKingsideCastleMark},
            {at(c.landing[1], sw), kKingsideCastleMark}};
}

TargetList castles(const Position& position, int index)
{
    TargetList out;
    queencastle(position, index, out);
    return out;
}

// Runs `check(castle, sw, position, home)` for every castle in both orientations.
template <typename Check> void forEachCastle(Check check)
{
    for (int sw : {0, 1}) {
        for (const Castle& c : kCastles) {
            SCOPED_TRACE(testing::Message() << "castle " << c.flag << ", sides switched " << sw);
            check(c, sw, setUp(c, sw), at(c.home, sw));
        }
    }
}

TEST(Orientation, TurningReversesRwAndColmnWithinTheHalfBoard)
{
    Board board{};
    for (int i = 0; i < kSquareCount; ++i) board[i] = i;
    turnHalfBoards(board);
    for (int i = 0; i < kSquareCount; ++i) {
        const Coords c = coordsOf(i);
        EXPECT_EQ(coordsOf(turnedSquare(i)), (Coords{c.boards, 3 - c.rw, 7 - c.colmn})) << i;
        EXPECT_EQ(board[turnedSquare(i)], i) << i;
    }
}

TEST(Castles, EachCastleMarksItsLandingsAndMovesItsRook)
{
    forEachCastle([](const Castle& c, int sw, Position position, int home) {
        const TargetList marks = marksOf(c, sw);
        EXPECT_EQ(castles(position, home), marks);
        for (const Target& t : marks) {
            const auto rook = castleRookMove(t.square, t.mark);
            ASSERT_TRUE(rook.has_value());
            EXPECT_EQ(
                (std::array{rook->from, rook->to, rook->code}),
                (std::array{at(c.rookFrom, sw), at(c.rookTo, sw), codeOf(sideOf(c), Kind::Rook)}));
        }
        // Only the castle's own flag forbids it.
        for (int flag = 0; flag < kCastleFlagCount; ++flag)
            position.castleLost[flag] = flag != c.flag;
        EXPECT_EQ(castles(position, home), marks);
    });
    EXPECT_FALSE(castleRookMove(8, kTargetMark).has_value());
    EXPECT_FALSE(castleRookMove(40, kKingsideCastleMark).has_value());
    EXPECT_FALSE(castleRookMove(48, kQueensideCastleMark).has_value());
}

TEST(Castles, RefusedWithoutTheRightTheRoomOrTheRook)
{
    forEachCastle([](const Castle& c, int sw, const Position& position, int home) {
        const Side side = sideOf(c);
        Position lost = position;
        lost.castleLost[c.flag] = 1;
        EXPECT_TRUE(castles(lost, home).empty());
        for (int square : c.mustBeEmpty) {
            if (square < 0) continue;
            Position blocked = position;
            blocked.squares[at(square, sw)] = codeOf(side, Kind::Knight);
            EXPECT_TRUE(castles(blocked, home).empty()) << "piece on " << at(square, sw);
        }
        // The castle needs its own rook at home, whatever the flags say. (An enemy
        // rook there would attack a landing anyway.)
        for (int piece :
             {kEmpty, codeOf(side, Kind::Queen), codeOf(opponent(side), Kind::Knight)}) {
            Position noRook = position;
            noRook.squares[at(c.rookFrom, sw)] = piece;
            EXPECT_TRUE(castles(noRook, home).empty()) << "code " << piece;
        }
        Position wrongKing = position;
        wrongKing.squares[home] = codeOf(opponent(side), Kind::King);
        EXPECT_TRUE(castles(wrongKing, home).empty());
        // The king where it would stand in the other orientation, the rook at home.
        Position elsewhere = position;
        std::swap(elsewhere.squares[home], elsewhere.squares[at(c.home, 1 - sw)]);
        EXPECT_TRUE(castles(elsewhere, at(c.home, 1 - sw)).empty());
    });
}

TEST(Castles, NotOutOfCheckNorThroughOrOntoAnAttackedSquare)
{
    forEachCastle([](const Castle& c, int sw, const Position& position, int home) {
        const int enemyRook = codeOf(opponent(sideOf(c)), Kind::Rook);
        auto attacked = [&](int square) {
            Position p = position;
            p.squares[across(at(square, sw))] = enemyRook;
            return p;
        };
        EXPECT_TRUE(castles(attacked(c.home), home).empty());
        // A second king of the side in check forbids it too.
        Position twoKings = position;
        twoKings.squares[kSecondKing] = c.king;
        EXPECT_EQ(castles(twoKings, home), marksOf(c, sw));
        twoKings.squares[kSecondKing + 1] = enemyRook;
        EXPECT_TRUE(castles(twoKings, home).empty());

        if (c.crossed >= 0) {
            EXPECT_TRUE(castles(attacked(c.crossed), home).empty());
            EXPECT_TRUE(castles(attacked(c.landing[0]), home).empty());
            return;
        }
        // Each kingside landing is judged on its own.
        for (int i : {0, 1}) {
            const TargetList other{{at(c.landing[1 - i], sw), kKingsideCastleMark}};
            EXPECT_EQ(castles(attacked(c.landing[i]), home), other) << "landing " << i;
        }
    });
}

TEST(Castles, NoneInTheStartPositionInEitherOrientation)
{
    for (int sw : {0, 1}) {
        Position position = standardPosition();
        if (sw == 1) {
            turnHalfBoards(position.squares);
            position.sidesSwitched = 1;
            std::swap(position.upPawn, position.downPawn);
        }
        for (const Castle& c : kCastles) {
            position.status = toMove(sideOf(c));
            ASSERT_EQ(position.squares[at(c.home, sw)], c.king);
            EXPECT_TRUE(generateTargets(position, at(c.home, sw)).empty()) << at(c.home, sw);
        }
    }
}

// The king's plain steps come first; a kingside landing is listed again with
// the castle mark, which is the one the square keeps.
TEST(Castles, KingTargetsEndWithTheCastleMarks)
{
    for (int sw : {0, 1}) {
        Position position = setUp(kCastles[0], sw);
        position.squares[at(24, sw)] = kWhiteRook;
        const TargetList targets = generateTargets(position, at(40, sw));
        std::map<int, int> marks, expected;
        for (const Target& t : targets) marks[t.square] = t.mark;
        for (int step : {9, 33, 41, 48, 49, 72, 73}) expected[at(step, sw)] = kTargetMark;
        expected[at(8, sw)] = expected[at(32, sw)] = kKingsideCastleMark;
        expected[at(56, sw)] = kQueensideCastleMark;
        EXPECT_EQ(marks, expected);
        EXPECT_EQ(std::count(targets.begin(), targets.end(), Target{at(8, sw), kTargetMark}), 1);
        EXPECT_EQ(TargetList(targets.end() - 3, targets.end()),
                  (TargetList{{at(8, sw), kKingsideCastleMark},
                              {at(32, sw), kKingsideCastleMark},
                              {at(56, sw), kQueensideCastleMark}}));
    }
}

} // namespace
} // namespace palisade
