// What the window shows beside the rules: the last move, the attacks of a
// check, why a move is refused, stepping to a move of the list, the keyboard
// cursor and the recovery file.

#include "endings.h"
#include "engine/refusal.h"
#include "gameroom/board_cursor.h"
#include "gameroom/game_file.h"
#include "gameroom/recovery_file.h"

#include <algorithm>
#include <filesystem>
#include <set>
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

// Every kind of refusal, each on a position that gives it, through the click
// path: the piece is selected, the refused square clicked, and the text the
// view is given names the pieces and squares concerned. A refused click
// changes nothing: not the game, not the selection, not the marks, not even a
// redraw.
TEST(Refusal, EachKindIsToldWithItsPiecesAndTheSelectionStays)
{
    using Kind = RefusalKind;
    const Position start = standardPosition();
    Position enemyAhead = start;
    enemyAhead.squares[42] = n;
    Position ownAhead = start;
    ownAhead.squares[42] = N;
    Position knightGone = start; // the queen still stands between king and landing
    knightGone.squares[56] = kEmpty;
    // Black keeps the king on 16 after the fork and must move it: the rook
    // beside it stands on one of its squares.
    Position forkBesideRook = endings::withBothKingsToDestroy(endings::kFork);
    forkBesideRook.squares[17] = r;
    const Position pinned = with({{8, K}, {40, K}, {72, R}, {104, r}, {31, k}, {63, k}});

    const struct {
        Position position;
        Line before; // moves played first
        int pick, drop;
        Kind kind;
        std::vector<std::string> named;
    } cases[] = {
        {start, {}, 8, 43, Kind::NotAMove, {"knight on 1b1", "2b4"}},
        {start, {}, 0, 3, Kind::InTheWay, {"rook on 1a1", "pawn on 1a2"}},
        {forkBesideRook, {{4, 10}}, 16, 17, Kind::OwnPiece, {"king on 1c1", "1c2", "rook of its own side"}},
        {enemyAhead, {}, 41, 42, Kind::PawnBlocked, {"pawn on 2b2", "Black's knight on 2b3"}},
        {ownAhead, {}, 41, 43, Kind::PawnBlocked, {"pawn on 2b2", "White's knight on 2b3"}},
        {start, {}, 41, 50, Kind::OnlyCaptures, {"pawn on 2b2", "2c3"}},
        {pinned, {}, 72, 73, Kind::KingAttacked, {"leave White's king on 2b1", "Black's rook on 4b1"}},
        {with({{8, K}, {40, K}, {96, r}, {31, k}, {63, k}}), {}, 40, 32, Kind::KingAttacked,
         {"White's king would be attacked on 2a1", "Black's rook on 4a1"}},
        {knightGone, {}, 40, 56, Kind::NoCastle, {"king on 2b1", "castle to 2d1"}},
        {with({{40, K}, {100, r}, {10, P}, {31, k}, {63, k}}), {}, 40, 41, Kind::LoneKing, {"one king"}},
    };
    std::set<Kind> kinds;
    std::set<std::string> texts;
    for (const auto& c : cases) {
        ExplainingRoom room(c.position);
        room.answers = {true};
        ASSERT_NO_FATAL_FAILURE(room.play(c.before));
        room.clickSquare(c.pick);
        ASSERT_TRUE(room.pieceSelected() && room.selectedSquare() == c.pick) << c.pick;
        const SavedGame before = room.savedGame();
        const auto marks = room.marks();
        const int redraws = room.redraws, statusChanges = room.statusChanges;
        room.clickSquare(c.drop);
        ASSERT_EQ(room.refusals.size(), 1u) << c.pick << " -> " << c.drop;
        const std::string& text = room.refusals.back();
        EXPECT_EQ(whyNot(room.position(), c.pick, c.drop)->kind, c.kind) << text;
        for (const std::string& part : c.named) EXPECT_NE(text.find(part), std::string::npos) << text;
        EXPECT_TRUE(room.savedGame() == before && room.marks() == marks);
        EXPECT_TRUE(room.redraws == redraws && room.statusChanges == statusChanges);
        kinds.insert(c.kind);
        texts.insert(text);
    }
    EXPECT_EQ(kinds.size(), 8u) << "every kind of refusal";
    EXPECT_EQ(texts.size(), std::size(cases)) << "each refusal told in its own words";

    ExplainingRoom room; // another piece of the side to move is picked as ever
    room.clickSquare(8);
    room.clickSquare(0);
    room.expectSelected(0);
    room.clickSquare(0); // and the piece itself is put down
    room.expectIdle();
    EXPECT_TRUE(room.refusals.empty());

    ExplainingRoom pinnedRoom(pinned);
    pinnedRoom.clickSquare(72);
    pinnedRoom.clickSquare(104); // along the pin it may go
    EXPECT_TRUE(pinnedRoom.position().squares[104] == R && pinnedRoom.refusals.empty());
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
