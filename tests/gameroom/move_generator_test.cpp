// The fast generator against the rules engine, on positions the game room
// reaches in seeded random games and on thinned-out copies of them.

#include "engine/check.h"
#include "engine/generator_check.h"
#include "engine/reference_moves.h"
#include "recording_view.h"

#include <random>

namespace palisade {
namespace {

struct Tally {
    int positions = 0, inCheck = 0, loneKing = 0, switched = 0, enPassant = 0, castles = 0;
};

// Same moves as the rules engine, and each plays and takes back exactly as a click does.
void compareAt(const Position& position, Tally& tally)
{
    const std::string disagreement = generatorDisagreement(position);
    ASSERT_TRUE(disagreement.empty()) << describePosition(position) << '\n' << disagreement;
    for (const Move& move : referenceMoves(position)) tally.castles += move.extra == MoveExtra::Castle;
    ++tally.positions;
    tally.inCheck += sideInCheck(position);
    tally.loneKing += kingsOf(position.squares, sideToMove(position.status).value_or(Side::White)).count < 2;
    tally.switched += position.sidesSwitched;
    tally.enPassant += position.enPassantSquare != 0;
}

// The position with most pieces taken off (kings too, now and then), and odd
// flags, so that checks, pins, lone kings and stray en passant squares come often.
Position thinnedOut(Position position, std::mt19937& rng)
{
    std::uniform_int_distribution<int> square(0, kSquareCount - 1);
    const int removals = std::uniform_int_distribution<int>(20, 60)(rng);
    for (int i = 0; i < removals; ++i) {
        const int at = square(rng);
        if (!isKing(position.squares[at]) || rng() % 4 == 0) position.squares[at] = kEmpty;
    }
    if (rng() % 3 == 0) position.enPassantSquare = square(rng);
    position.kingTrial = static_cast<int>(rng() % 2);
    position.loneKingFree = static_cast<int>(rng() % 2);
    for (int& flag : position.castleLost) flag = rng() % 4 == 0;
    return position;
}

// One random move through the game room's clicks, its questions answered at random.
void playRandomMove(Room& room, std::mt19937& rng)
{
    std::vector<Move> moves = referenceMoves(room.position());
    if (room.selectionLocked()) {
        std::erase_if(moves, [&](const Move& m) { return m.pick != room.selectedSquare(); });
    }
    ASSERT_FALSE(moves.empty()) << describePosition(room.position());
    const Move move = moves[rng() % moves.size()];
    room.answers.clear();
    for (int i = 0; i < 4; ++i) room.answers.push_back(rng() % 2 == 0);
    if (!room.pieceSelected() || room.selectedSquare() != move.pick) room.clickSquare(move.pick);
    ASSERT_TRUE(room.isTarget(move.drop)) << describePosition(room.position()) << "\nmove " << moveText(move);
    room.clickSquare(move.drop);
}

TEST(MoveGenerator, AgreesWithTheRulesThroughRandomGames)
{
    std::mt19937 rng(20261206);
    Tally tally;
    for (int game = 0; game < 60; ++game) {
        Room room;
        room.answer = true;
        if (game % 2 == 1) room.toggleWinOption();
        for (int ply = 0; ply < 160 && sideToMove(room.position().status); ++ply) {
            ASSERT_NO_FATAL_FAILURE(compareAt(room.position(), tally));
            if (ply % 3 == 0) {
                ASSERT_NO_FATAL_FAILURE(compareAt(thinnedOut(room.position(), rng), tally));
            }
            if (rng() % 25 == 0) room.switchSides();
            ASSERT_NO_FATAL_FAILURE(playRandomMove(room, rng));
        }
    }
    // The walk must have met what it is meant to test.
    EXPECT_GT(tally.positions, 5000);
    EXPECT_GT(tally.inCheck, 200);
    EXPECT_GT(tally.loneKing, 200);
    EXPECT_GT(tally.switched, 1000);
    EXPECT_GT(tally.enPassant, 500);
    EXPECT_GT(tally.castles, 50);
    std::cout << "positions " << tally.positions << ", in check " << tally.inCheck << ", lone king "
              << tally.loneKing << ", sides switched " << tally.switched << ", en passant square "
              << tally.enPassant << ", castles " << tally.castles << '\n';
}

} // namespace
} // namespace palisade
