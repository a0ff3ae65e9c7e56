#include "engine/castling.h"
#include "engine/orientation.h"
#include "engine/remember.h"
#include "test_positions.h"

#include <algorithm>
#include <array>
#include <map>

namespace palisade {
namespace {
using namespace letters;

// One castle as the sides stand at the start; after the switch every square is
// the turned one.
struct Castle {
    int flag, king, home;
    std::array<int, 2> landing; // one for a queenside castle
    int crossed;                // none (-1) on the kingside
    std::array<int, 3> mustBeEmpty;
    int rookFrom, rookTo;
};

// clang-format off
constexpr Castle kCastles[] = {
    {0, K, 40, {8, 32}, -1, {8, 32, -1}, 0, 40},      {2, K, 40, {56, -1}, 48, {48, 56, 16}, 24, 48},
    {3, K, 40, {104, -1}, 72, {72, 64, 104}, 96, 72}, {4, K, 80, {88, 112}, -1, {88, 112, -1}, 120, 80},
    {6, K, 80, {64, -1}, 72, {72, 64, 104}, 96, 72},  {7, K, 80, {16, -1}, 48, {48, 56, 16}, 24, 48},
    {8, k, 47, {15, 39}, -1, {15, 39, -1}, 7, 47},    {10, k, 47, {63, -1}, 55, {55, 63, 23}, 31, 55},
    {11, k, 47, {111, -1}, 79, {79, 71, 111}, 103, 79}, {12, k, 87, {95, 119}, -1, {95, 119, -1}, 127, 87},
    {14, k, 87, {71, -1}, 79, {79, 71, 111}, 103, 79}, {15, k, 87, {23, -1}, 55, {55, 63, 23}, 31, 55},
};
// clang-format on

int at(int square, int sw) { return square < 0 || sw == 0 ? square : turnedSquare(square); }
Side sideOf(const Castle& c) { return c.king == K ? Side::White : Side::Black; }

// The square at the other end of the square's colmn line, where an enemy rook
// attacks it and no other square of its back rank.
int across(int square) { return square - 2 * (square % 8) + 7; }

TargetList castles(const Position& position, int index)
{
    TargetList out;
    queencastle(position, index, out);
    return out;
}

TargetList marksOf(const Castle& c, int sw)
{
    if (c.crossed >= 0) return {{at(c.landing[0], sw), kQueensideCastleMark}};
    return {{at(c.landing[0], sw), kKingsideCastleMark}, {at(c.landing[1], sw), kKingsideCastleMark}};
}

// Runs `check(castle, sw, position, home)` for every castle in both orientations
// on a block with only the castling king, its rook and the other side's king
// far off. The lone king is freed, so the castle needs no second king.
template <typename Check> void forEachCastle(Check check)
{
    for (int sw : {0, 1}) {
        for (const Castle& c : kCastles) {
            SCOPED_TRACE(testing::Message() << "castle " << c.flag << ", sides switched " << sw);
            const Side side = sideOf(c);
            Position position = with({{at(c.home, sw), c.king}, {at(c.rookFrom, sw), codeOf(side, Kind::Rook)},
                                      {124, codeOf(opponent(side), Kind::King)}},
                                     toMove(side));
            position.sidesSwitched = sw;
            position.loneKingFree = 1;
            check(c, sw, position, at(c.home, sw));
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

// Each castle marks its landings and moves its rook; it is refused without its
// right, its room, its own rook at home whatever the flags say (an enemy rook
// there would attack a landing anyway) or its king at home, out of check, and
// through or onto an attacked square.
TEST(Castles, EachCastleAndWhatForbidsIt)
{
    forEachCastle([](const Castle& c, int sw, Position position, int home) {
        const Side side = sideOf(c);
        const int enemyRook = codeOf(opponent(side), Kind::Rook);
        auto castlesWith = [&](int square, int code, int from) {
            Position changed = position;
            changed.squares[square] = code;
            return castles(changed, from);
        };
        auto attacked = [&](int square) { return castlesWith(across(at(square, sw)), enemyRook, home); };
        const TargetList marks = marksOf(c, sw);
        EXPECT_EQ(castles(position, home), marks);
        for (const Target& t : marks) {
            const auto rook = castleRookMove(t.square, t.mark);
            ASSERT_TRUE(rook.has_value());
            EXPECT_EQ((std::array{rook->from, rook->to, rook->code}),
                      (std::array{at(c.rookFrom, sw), at(c.rookTo, sw), codeOf(side, Kind::Rook)}));
        }
        Position flags = position; // only the castle's own flag forbids it
        for (int flag = 0; flag < kCastleFlagCount; ++flag) flags.castleLost[flag] = flag != c.flag;
        EXPECT_EQ(castles(flags, home), marks);
        flags.castleLost[c.flag] = 1;
        EXPECT_TRUE(castles(flags, home).empty());

        for (int square : c.mustBeEmpty) {
            if (square < 0) continue;
            EXPECT_TRUE(castlesWith(at(square, sw), codeOf(side, Kind::Knight), home).empty()) << square;
        }
        for (int piece : {kEmpty, codeOf(side, Kind::Queen), codeOf(opponent(side), Kind::Knight)}) {
            EXPECT_TRUE(castlesWith(at(c.rookFrom, sw), piece, home).empty()) << "code " << piece;
        }
        EXPECT_TRUE(castlesWith(home, codeOf(opponent(side), Kind::King), home).empty());
        // The king where it would stand in the other orientation.
        EXPECT_TRUE(castlesWith(at(c.home, 1 - sw), c.king, at(c.home, 1 - sw)).empty());

        EXPECT_TRUE(attacked(c.home).empty());
        if (c.crossed >= 0) {
            EXPECT_TRUE(attacked(c.crossed).empty());
            EXPECT_TRUE(attacked(c.landing[0]).empty());
        } else { // each kingside landing is judged on its own
            for (int i : {0, 1}) {
                EXPECT_EQ(attacked(c.landing[i]), (TargetList{{at(c.landing[1 - i], sw), kKingsideCastleMark}}));
            }
        }
        // A second king of the side in check forbids it too.
        position.squares[3] = c.king;
        EXPECT_EQ(castles(position, home), marks);
        position.squares[4] = enemyRook;
        EXPECT_TRUE(castles(position, home).empty());
    });
    EXPECT_FALSE(castleRookMove(8, kTargetMark).has_value());
    EXPECT_FALSE(castleRookMove(40, kKingsideCastleMark).has_value());
    EXPECT_FALSE(castleRookMove(48, kQueensideCastleMark).has_value());
}

// The king's plain steps come first; a kingside landing is listed again with
// the castle mark, which is the one the square keeps.
TEST(Castles, KingTargetsEndWithTheCastleMarks)
{
    for (int sw : {0, 1}) {
        Position position = with({{at(40, sw), K}, {at(0, sw), R}, {at(24, sw), R}, {124, k}});
        position.sidesSwitched = sw;
        position.loneKingFree = 1;
        const TargetList targets = generateTargets(position, at(40, sw));
        std::map<int, int> marks, expected;
        for (const Target& t : targets) marks[t.square] = t.mark;
        for (int step : {9, 33, 41, 48, 49, 72, 73}) expected[at(step, sw)] = kTargetMark;
        expected[at(8, sw)] = expected[at(32, sw)] = kKingsideCastleMark;
        expected[at(56, sw)] = kQueensideCastleMark;
        EXPECT_EQ(marks, expected);
        EXPECT_EQ(std::count(targets.begin(), targets.end(), Target{at(8, sw), kTargetMark}), 1);
        EXPECT_EQ(TargetList(targets.end() - 3, targets.end()),
                  (TargetList{{at(8, sw), kKingsideCastleMark}, {at(32, sw), kKingsideCastleMark},
                              {at(56, sw), kQueensideCastleMark}}));
    }
}

// By the square left and the kind, whatever the colour; a king's turned home
// counts only once the sides are switched.
TEST(Castles, RightsLostByLeavingASquare)
{
    struct {
        int piece, pick;
        Squares lost[2]; // sidesSwitched 0, 1
    } cases[] = {
        // clang-format off
        {R, 0, {{0, 1}, {10, 15}}},   {R, 7, {{8, 9}, {2, 7}}},       {R, 24, {{2, 7}, {8, 9}}},
        {R, 31, {{10, 15}, {0, 1}}},  {R, 96, {{3, 6}, {12, 13}}},    {R, 103, {{11, 14}, {4, 5}}},
        {R, 120, {{4, 5}, {11, 14}}}, {R, 127, {{12, 13}, {3, 6}}},
        {K, 40, {{0, 1, 2, 3}, {0, 1, 2, 3}}},         {K, 80, {{4, 5, 6, 7}, {4, 5, 6, 7}}},
        {K, 47, {{8, 9, 10, 11}, {8, 9, 10, 11}}},     {K, 87, {{12, 13, 14, 15}, {12, 13, 14, 15}}},
        {K, 55, {{}, {0, 1, 2, 3}}},  {K, 79, {{}, {4, 5, 6, 7}}},    {K, 48, {{}, {8, 9, 10, 11}}},
        {K, 72, {{}, {12, 13, 14, 15}}}, {Q, 0, {{}, {}}}, {R, 40, {{}, {}}}, {K, 0, {{}, {}}}, {R, 8, {{}, {}}},
        // clang-format on
    };
    for (const auto& c : cases) {
        for (int sw : {0, 1}) {
            for (Side side : {Side::White, Side::Black}) {
                Position position = with({{c.pick, codeOf(side, kindOf(c.piece))}}, toMove(side));
                position.sidesSwitched = sw;
                std::array<int, kCastleFlagCount> expected{};
                for (int flag : c.lost[sw]) expected[flag] = 1;
                remember(position, c.pick % 8 == 0 ? c.pick + 1 : c.pick - 1, c.pick, Kind::Queen);
                EXPECT_EQ(position.castleLost, expected) << "from " << c.pick << ", switched " << sw;
            }
        }
    }
}

} // namespace
} // namespace palisade
