#include "engine/position.h"

#include <gtest/gtest.h>

#include <map>

namespace palisade {
namespace {

TEST(StandardPosition, HoldsBothDoubleArmies)
{
    std::map<int, int> count;
    for (int code : standardPosition().squares) {
        if (code != kEmpty) ++count[code];
    }
    const std::map<int, int> expected = {
        {kWhitePawn, 16}, {kWhiteKnight, 4}, {kWhiteBishop, 4}, {kWhiteRook, 4},
        {kWhiteQueen, 2}, {kWhiteKing, 2},   {kBlackPawn, 16},  {kBlackKnight, 4},
        {kBlackBishop, 4}, {kBlackRook, 4},  {kBlackQueen, 2},  {kBlackKing, 2},
    };
    EXPECT_EQ(count, expected);
}

TEST(StandardPosition, EveryColmnHoldsWhatItShould)
{
    // White's piece on colmn 0 of each line, lines in index order; Black's
    // counterpart stands on colmn 7 of the same line.
    const int back[16] = {
        kWhiteRook,   kWhiteKnight, kWhiteBishop, kWhiteRook,   kWhiteBishop, kWhiteKing,
        kWhiteQueen,  kWhiteKnight, kWhiteKnight, kWhiteQueen,  kWhiteKing,   kWhiteBishop,
        kWhiteRook,   kWhiteBishop, kWhiteKnight, kWhiteRook,
    };
    const Board squares = standardPosition().squares;
    for (int i = 0; i < kSquareCount; ++i) {
        const int line = i / 8;
        const int expected[8] = {back[line], kWhitePawn, 0, 0, 0, 0, kBlackPawn,
                                 back[line] + kBlackOffset};
        EXPECT_EQ(squares[i], expected[coordsOf(i).colmn]) << "square " << i;
    }
    EXPECT_EQ(squares[40], kWhiteKing);
    EXPECT_EQ(squares[80], kWhiteKing);
    EXPECT_EQ(squares[47], kBlackKing);
    EXPECT_EQ(squares[87], kBlackKing);
}

TEST(StandardPosition, StartsWithFreshFlags)
{
    const Position position = standardPosition();
    EXPECT_EQ(position.status, Status::WhiteToMove);
    EXPECT_EQ(position.sidesSwitched, 0);
    EXPECT_EQ(position.upPawn, kWhitePawn);
    EXPECT_EQ(position.downPawn, kBlackPawn);
    EXPECT_EQ(position.enPassantSquare, 0);
    EXPECT_EQ(position.castleLost, decltype(position.castleLost){});
    EXPECT_EQ(position.winOption, 0);
    EXPECT_EQ(position.kingsStanding, 2);
    EXPECT_EQ(position.kingTrial, 0);
    EXPECT_EQ(position.loneKingFree, 0);
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

TEST(Coordinates, RoundTripOverTheWholeBlock)
{
    int index = 0;
    for (int boards = 0; boards < 4; ++boards) {
        for (int rw = 0; rw < 4; ++rw) {
            for (int colmn = 0; colmn < 8; ++colmn, ++index) {
                const Coords c{boards, rw, colmn};
                EXPECT_EQ(indexOf(c), index);
                EXPECT_EQ(coordsOf(index), c);
            }
        }
    }
    EXPECT_EQ(index, kSquareCount);
    EXPECT_EQ(coordsOf(43), (Coords{1, 1, 3}));
    EXPECT_EQ(indexOf(2, 2, 7), 87);
    EXPECT_FALSE(isSquare(-1));
    EXPECT_FALSE(isSquare(kSquareCount));
}

} // namespace
} // namespace palisade
