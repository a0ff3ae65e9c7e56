#include "engine/position.h"

#include <gtest/gtest.h>

#include <map>

namespace palisade {
namespace {

TEST(StandardPosition, HoldsBothDoubleArmiesFacingEachOther)
{
    const Board squares = standardPosition().squares;
    std::map<int, int> count;
    for (int code : squares) {
        if (code != kEmpty) ++count[code];
    }
    const std::map<int, int> expected = {
        {kWhitePawn, 16}, {kWhiteKnight, 4}, {kWhiteBishop, 4}, {kWhiteRook, 4},
        {kWhiteQueen, 2}, {kWhiteKing, 2},   {kBlackPawn, 16},  {kBlackKnight, 4},
        {kBlackBishop, 4}, {kBlackRook, 4},  {kBlackQueen, 2},  {kBlackKing, 2},
    };
    EXPECT_EQ(count, expected);

    for (int i = 0; i < kSquareCount; i += 8) {
        EXPECT_EQ(squares[i + 7], squares[i] + kBlackOffset) << "line from " << i;
        EXPECT_EQ(squares[i + 1], kWhitePawn);
        EXPECT_EQ(squares[i + 6], kBlackPawn);
    }
    for (int king : {40, 80}) EXPECT_EQ(squares[king], kWhiteKing);
    for (int rook : {0, 24, 96, 120}) EXPECT_EQ(squares[rook], kWhiteRook);
}

TEST(StandardPosition, LeavesEveryOtherSquareAlone)
{
    Board squares;
    squares.fill(kBlackQueen);
    standard(squares);
    const Board reference = standardPosition().squares;
    for (int i = 0; i < kSquareCount; ++i) {
        const int colmn = coordsOf(i).colmn;
        const bool home = colmn < 2 || colmn > 5;
        EXPECT_EQ(squares[i], home ? reference[i] : kBlackQueen) << "square " << i;
    }
}

} // namespace
} // namespace palisade
