// What the window shows beside the rules: the last move, the attacks of a
// check, why a move is refused, stepping to a move of the list, the keyboard
// cursor and the recovery file.

#include "gameroom/board_cursor.h"
#include "gameroom/game_file.h"
#include "gameroom/recovery_file.h"
#include "recording_view.h"

#include <algorithm>
#include <filesystem>
#include <unistd.h>

namespace palisade {
namespace {
using namespace letters;

// Refused clicks are told; with the player's choice the piece is not put down.
struct ExplainingRoom : Room {
    using Room::Room;
    ExplainingRoom() { setKeepSelectionOnRefusal(true); }
    explicit ExplainingRoom(const Position& start) : Room(start) { setKeepSelectionOnRefusal(true); }
    void moveRefused(std::string_view reason) override { refusals.emplace_back(reason); }
    std::vector<std::string> refusals;
};

std::optional<PlayedMove> moveOf(int from, int to) { return PlayedMove{from, to, 0}; }

TEST(LastMove, FollowsMovesTheHistorySwitchingAndReopening)
{
    Room room;
    EXPECT_FALSE(room.lastMove());
    room.play({{41, 43}, {54, 52}, {43, 52}});
    EXPECT_EQ(room.lastMove(), moveOf(43, 52));
    room.takeBack();
    EXPECT_EQ(room.lastMove(), moveOf(54, 52));
    room.backToFirstMove();
    EXPECT_FALSE(room.lastMove());
    room.forward();
    EXPECT_EQ(room.lastMove(), moveOf(41, 43));
    room.forwardToEnd();
    EXPECT_EQ(room.lastMove(), moveOf(43, 52));
    room.switchSides(); // the same move, on the turned squares
    EXPECT_EQ(room.lastMove(), moveOf(52, 43));
    room.takeBack();
    EXPECT_EQ(room.lastMove(), moveOf(41, 43));

    Room reopened;
    reopened.load(room.savedGame(), "game.brd");
    EXPECT_EQ(reopened.lastMove(), moveOf(41, 43));
    reopened.newGame();
    EXPECT_FALSE(reopened.lastMove());
}

TEST(CheckShown, MarksTheKingAndTheAttackAcrossHalfBoardsWhileCheckShows)
{
    Room room(with({{16, K}, {40, K}, {105, r}, {31, k}, {63, k}}, Bl));
    room.play(105, 104); // down the rw to colmn 0: three half-boards above stands White's king
    ASSERT_TRUE(room.checkShown());
    EXPECT_EQ(room.checkAttacks(), (std::vector<Attack>{{104, 40, {104, 72, 40}}}));
    room.takeBack();
    EXPECT_TRUE(room.checkAttacks().empty());
    room.forward();
    EXPECT_EQ(room.checkAttacks().size(), 1u);
}

// A refused click is told and changes nothing: not the game, not the
// selection, not the marks, not even a redraw.
void expectRefused(ExplainingRoom& room, int square, const std::string& reason)
{
    const SavedGame before = room.savedGame();
    const auto marks = room.marks();
    const int redraws = room.redraws, statusChanges = room.statusChanges;
    room.clickSquare(square);
    EXPECT_EQ(room.refusals.back(), reason);
    EXPECT_TRUE(room.savedGame() == before && room.marks() == marks);
    EXPECT_TRUE(room.redraws == redraws && room.statusChanges == statusChanges);
}

TEST(Refusal, EachKindIsToldAndTheSelectionStays)
{
    ExplainingRoom room;
    room.clickSquare(8);
    expectRefused(room, 43, "The knight on 1b1 does not move to 2b4.");
    room.clickSquare(0); // another piece of the side to move is picked as ever
    expectRefused(room, 3, "The rook on 1a1 is blocked by the pawn on 1a2.");
    room.clickSquare(41);
    expectRefused(room, 50, "The pawn on 2b2 goes to 2c3 only to take a piece.");
    room.clickSquare(41); // the piece itself is put down
    room.expectIdle();

    ExplainingRoom pinned(with({{8, K}, {40, K}, {72, R}, {104, r}, {31, k}, {63, k}}));
    pinned.clickSquare(72);
    expectRefused(pinned, 73,
                  "That would leave White's king on 2b1 attacked by Black's rook on 4b1.");
    pinned.clickSquare(104); // along the pin it may go
    EXPECT_TRUE(pinned.position().squares[104] == R && pinned.refusals.size() == 1);
}

// Without that choice a refused click puts the piece down as ever, and is still told.
TEST(Refusal, IsToldWhenThePieceIsPutDown)
{
    ExplainingRoom room;
    room.setKeepSelectionOnRefusal(false);
    room.clickSquare(8);
    const SavedGame before = room.savedGame();
    room.clickSquare(43);
    EXPECT_EQ(room.refusals, std::vector<std::string>{"The knight on 1b1 does not move to 2b4."});
    EXPECT_EQ(room.position(), before.position);
    EXPECT_FALSE(room.pieceSelected() && room.selectedSquare() == 8);
}

TEST(MoveList, StepsToAMoveExactlyAsTheTakeBackChain)
{
    const Line line = {{41, 43}, {54, 52}, {43, 52}, {15, 21}, {8, 18}};
    Room jumped, stepped;
    jumped.play(line);
    stepped.play(line);
    for (const int k : {2, 0, 4, 5, 1, 9, -3}) {
        jumped.goToHalfMove(k);
        while (stepped.halfMoves() > std::max(k, 0)) stepped.takeBack();
        while (stepped.halfMoves() < k && stepped.forwardVisible()) stepped.forward();
        EXPECT_EQ(jumped.savedGame(), stepped.savedGame()) << k;
        EXPECT_TRUE(jumped.checkShown() == stepped.checkShown()
                    && jumped.lastMove() == stepped.lastMove());
    }
}

TEST(BoardCursor, WalksEveryRowOfEveryHalfBoardAndStopsAtTheEdges)
{
    int square = 0;
    for (int row = 1; row < 16; ++row) {
        square = moveCursor(square, CursorMove::Down);
        EXPECT_EQ(square, 8 * row);
    }
    EXPECT_EQ(moveCursor(square, CursorMove::Down), square);
    EXPECT_EQ(moveCursor(32, CursorMove::Up), 24); // from the top rw onto the half-board above
    EXPECT_EQ(moveCursor(0, CursorMove::Up), 0);
    EXPECT_EQ(moveCursor(0, CursorMove::Left), 0);
    EXPECT_EQ(moveCursor(7, CursorMove::Right), 7);
    EXPECT_EQ(moveCursor(6, CursorMove::Right), 7);
    EXPECT_EQ(moveCursor(45, CursorMove::HalfBoardDown), 77);
    EXPECT_EQ(moveCursor(45, CursorMove::HalfBoardUp), 13);
    EXPECT_EQ(moveCursor(13, CursorMove::HalfBoardUp), 13);
    EXPECT_EQ(moveCursor(109, CursorMove::HalfBoardDown), 109);
}

TEST(RecoveryFile, WrittenAfterEachUnsavedMoveAndRemovedWhenSavedOrFinished)
{
    const auto dir = std::filesystem::temp_directory_path()
                     / ("palisade-recovery-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    RecoveryFile recovery((dir / "recovery.brd").string());
    Room room;
    EXPECT_FALSE(recovery.follow(room) || recovery.exists()); // nothing played yet

    room.play(41, 43);
    EXPECT_FALSE(recovery.follow(room));
    const auto kept = recovery.read();
    ASSERT_TRUE(std::holds_alternative<SavedGame>(kept));
    EXPECT_EQ(encodeSavedGame(std::get<SavedGame>(kept)), encodeSavedGame(room.savedGame()));

    Room resumed;
    resumed.loadRecovered(std::get<SavedGame>(kept));
    EXPECT_TRUE(resumed.position() == room.position() && !resumed.gameSaved()
                && resumed.fileName().empty());

    room.resign(); // a finished game needs no recovery
    recovery.follow(room);
    EXPECT_FALSE(recovery.exists());

    Room unwritable;
    unwritable.play(41, 43);
    RecoveryFile nowhere((dir / "missing" / "recovery.brd").string());
    EXPECT_TRUE(nowhere.follow(unwritable).has_value());
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace palisade
