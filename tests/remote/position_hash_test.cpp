#include "remote/position_hash.h"

#include "engine/orientation.h"
#include "gameroom/game_room.h"
#include "gameroom/silent_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace palisade::remote {
namespace {

// Moves in orientation 0 that end on a double step beside an enemy pawn.
const std::vector<std::pair<int, int>> kToEnPassant = {{17, 18}, {6, 4}, {18, 19}, {4, 3}, {9, 11}};

// Plays `moves` (orientation 0) by clicks, switching sides before the moves
// whose indices `switchBefore` holds.
struct PlayedGame {
    SilentView view;
    GameRoom room{view};

    PlayedGame(const std::vector<std::pair<int, int>>& moves, const std::vector<std::size_t>& switchBefore)
    {
        for (std::size_t i = 0; i <= moves.size(); ++i) {
            if (std::find(switchBefore.begin(), switchBefore.end(), i) != switchBefore.end()) room.switchSides();
            if (i == moves.size()) break;
            const int turned = room.position().sidesSwitched;
            const int before = room.movesPlayed();
            room.clickSquare(turned ? turnedSquare(moves[i].first) : moves[i].first);
            room.clickSquare(turned ? turnedSquare(moves[i].second) : moves[i].second);
            EXPECT_EQ(room.movesPlayed(), before + 1) << "move " << i;
        }
    }
    std::uint64_t hash() const { return positionHash(room.position(), room.halfMoves()); }
};

TEST(PositionHash, SwitchingSidesAnywhereLeavesTheHash)
{
    for (std::size_t length = 0; length <= kToEnPassant.size(); ++length) {
        const std::vector moves(kToEnPassant.begin(), kToEnPassant.begin() + static_cast<long>(length));
        const PlayedGame plain(moves, {});
        for (std::size_t at = 0; at <= length; ++at) {
            const PlayedGame switched(moves, {at});
            EXPECT_EQ(switched.hash(), plain.hash()) << length << " moves, switched before " << at;
            const PlayedGame twice(moves, {0, at});
            EXPECT_EQ(twice.hash(), plain.hash()) << length << " moves, switched at 0 and " << at;
        }
    }
}

TEST(PositionHash, AnEnPassantSquareNoPawnCanUseCountsAsNone)
{
    const PlayedGame game(kToEnPassant, {});
    ASSERT_EQ(game.room.position().enPassantSquare, 11);
    Position position = game.room.position();
    const std::uint64_t usable = positionHash(position, 5);
    position.enPassantSquare = 0;
    EXPECT_NE(positionHash(position, 5), usable);
    const std::uint64_t none = positionHash(position, 5);
    position.enPassantSquare = 31;
    EXPECT_EQ(positionHash(position, 5), none);
    // The black pawn beside it gone: nobody can take, so no square counts.
    position = game.room.position();
    position.squares[3] = kEmpty;
    const std::uint64_t withoutPawn = positionHash(position, 5);
    position.enPassantSquare = 0;
    EXPECT_EQ(positionHash(position, 5), withoutPawn);
}

TEST(PositionHash, EveryAgreedFieldCounts)
{
    const Position start = standardPosition();
    const std::uint64_t base = positionHash(start, 0);
    std::vector<Position> changed(8, start);
    changed[0].squares[1] = kEmpty;
    changed[1].status = Status::BlackToMove;
    changed[2].castleLost[5] = 1;
    changed[3].winOption = 1;
    changed[4].kingsStanding = 1;
    changed[5].loneKingFree = 1;
    changed[6].status = Status::Draw;
    changed[7].squares[1] = kWhiteQueen;
    for (std::size_t k = 0; k < changed.size(); ++k) EXPECT_NE(positionHash(changed[k], 0), base) << k;
    EXPECT_NE(positionHash(start, 1), base);
    // What only the view or the moment holds does not count.
    Position viewOnly = start;
    viewOnly.kingTrial = 1;
    EXPECT_EQ(positionHash(viewOnly, 0), base);
}

} // namespace
} // namespace palisade::remote
