#include "gameroom/game_file.h"
#include "gameroom/game_room.h"
#include "gameroom/saved_game_check.h"
#include "recording_view.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace palisade {
namespace {

namespace fs = std::filesystem;
using Decoded = std::variant<SavedGame, FileError>;
constexpr std::size_t kHeader = 155; // text positions 1..155, counted here from 0

// ---- Files written by hand, field by field ----

Board startBoard()
{
    // White's back piece on colmn 0 of each line (4 * boards + rw), Black's opposite on colmn 7.
    const int back[16] = {4, 2, 3, 4, 3, 6, 5, 2, 2, 5, 6, 3, 4, 3, 2, 4};
    Board squares{};
    for (int line = 0; line < 16; ++line) {
        squares[8 * line] = back[line];
        squares[8 * line + 1] = 1;
        squares[8 * line + 6] = 7;
        squares[8 * line + 7] = back[line] + 6;
    }
    return squares;
}

Board afterFirstMove() // White's pawn 41 -> 43
{
    Board squares = startBoard();
    squares[41] = 0;
    squares[43] = 1;
    return squares;
}

std::string header(const Board& squares, char status, int enPassant, int selected)
{
    std::string text;
    for (int code : squares) text += static_cast<char>(code);
    text += std::string(16, '\0'); // no castling right lost
    text += "02";                  // sides not switched, two kings standing
    text += static_cast<char>(enPassant);
    text += "00"; // selection not locked, lone king not freed
    text += status;
    text += "00"; // "Standard", nothing selected
    text += static_cast<char>(selected);
    return text + "17"; // White's pawns go up, Black's down
}

// Check, status, lone king, orientation, en passant; 148 characters without a status.
std::string entry(const Board& squares, std::string_view status)
{
    std::string text;
    for (int code : squares) text += static_cast<char>(code);
    return text + std::string(16, '\0') + "0" + std::string(status) + "00" + '\0';
}

std::string fileOf(std::string_view text)
{
    return std::string{'\x08', '\0', static_cast<char>(text.size() & 0xff), static_cast<char>(text.size() >> 8)}
           + std::string(text);
}

std::string goldenText()
{
    return header(afterFirstMove(), '1', 43, 41) + "1;1;0" + entry(startBoard(), "0") + entry(Board{}, "");
}

SavedGame goldenGame()
{
    return {.position = {.squares = afterFirstMove(), .status = Status::BlackToMove, .enPassantSquare = 43},
            .selectedSquare = 41, .lastHalfMove = 1, .halfMoves = 1,
            .entries = {{.squares = startBoard(), .status = Status::WhiteToMove}, {}}};
}

// ---- Helpers ----

const SavedGame* gameOf(const Decoded& decoded) { return std::get_if<SavedGame>(&decoded); }
bool refused(std::string_view bytes) { return std::holds_alternative<FileError>(decodeSavedGame(bytes)); }
std::string bytesOf(const GameRoom& room) { return encodeSavedGame(room.savedGame()); }

// Entries no position was written to carry a king count the file does not keep.
SavedGame withoutUnwrittenCounts(SavedGame game)
{
    for (HistoryEntry& e : game.entries) e.kingsStanding = e.status ? e.kingsStanding : 0;
    return game;
}

// Everything the player sees of a room, in one line; `withCheck` false leaves out "Check!".
std::string shown(const GameRoom& room, bool withCheck = true)
{
    const Position& p = room.position();
    std::string text(statusText(p.status));
    for (int code : p.squares) text += ".PNBRQKpnbrqk"[code];
    for (int flag : p.castleLost) text += static_cast<char>('0' + flag);
    for (int value : {p.enPassantSquare, p.sidesSwitched, p.upPawn, p.kingsStanding, p.kingTrial, p.loneKingFree,
                      room.halfMoves(), room.history().lastHalfMove(), int(room.checkShown() && withCheck),
                      int(room.forwardVisible()), int(room.selectionLocked()), int(room.pieceSelected())}) {
        text += " " + std::to_string(value);
    }
    text += " " + std::string(room.winOptionText()) + " " + std::to_string(room.selectedSquare()) + ":";
    for (int s = 0; s < kSquareCount; ++s) {
        if (room.mark(s) != kNoMark) text += " " + std::to_string(s) + "=" + std::to_string(room.mark(s));
    }
    return text;
}

// A game room on a fresh game, with a screen of its own.
struct Room : RecordingView, GameRoom {
    Room() : GameRoom(static_cast<RecordingView&>(*this)) { setUp(); }
};

void play(GameRoom& room, int from, int to)
{
    room.clickSquare(from);
    ASSERT_TRUE(room.isTarget(to)) << from << " -> " << to;
    room.clickSquare(to);
}

// Save and Open: the bytes of `room`, read back into `into`.
bool reopen(const GameRoom& room, GameRoom& into)
{
    const Decoded decoded = decodeSavedGame(bytesOf(room));
    if (gameOf(decoded)) into.load(*gameOf(decoded), "game.brd");
    return gameOf(decoded) != nullptr;
}

// ---- The layout ----

TEST(GoldenFile, HandWrittenFileDecodesAndEncodesBack)
{
    ASSERT_EQ(startBoard(), standardPosition().squares);
    ASSERT_EQ(header(startBoard(), '0', 0, 0).size(), kHeader);
    const std::string golden = fileOf(goldenText());
    ASSERT_EQ(golden.size(), 4u + 155 + 5 + 149 + 148);
    EXPECT_EQ(golden.substr(0, 4), std::string("\x08\x00\xc9\x01", 4));

    const Decoded decoded = decodeSavedGame(golden);
    ASSERT_TRUE(gameOf(decoded)) << std::get<FileError>(decoded).reason;
    EXPECT_TRUE(*gameOf(decoded) == goldenGame());
    EXPECT_TRUE(encodeSavedGame(goldenGame()) == golden);

    Room room; // the same game played by clicks
    play(room, 41, 43);
    EXPECT_TRUE(bytesOf(room) == golden);
}

TEST(GoldenFile, GameSavedBeforeItsFirstMove)
{
    Room room, reopened;
    EXPECT_TRUE(bytesOf(room) == fileOf(header(startBoard(), '0', 0, 0) + "0;0;0" + entry(Board{}, "")));
    ASSERT_TRUE(reopen(room, reopened));
    EXPECT_EQ(shown(reopened), shown(room));
    EXPECT_TRUE(bytesOf(reopened) == bytesOf(room));
    play(reopened, 8, 42);
}

// ---- Random games reopen as they were saved ----

class RandomPlayer {
public:
    int below(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }

    // Mostly moves; `onlyMoves` fills the record past its 402 entries.
    void step(Room& room, bool onlyMoves)
    {
        const int roll = onlyMoves ? 100 : below(100);
        if (roll < 4) room.takeBack();
        else if (roll < 7) room.forward();
        else if (roll < 8) room.backToFirstMove();
        else if (roll < 9) room.forwardToEnd();
        else if (roll < 11) room.switchSides();
        else if (roll < 13) room.toggleWinOption();
        else if (roll < 14) below(2) ? room.resign() : room.declareDraw();
        else if (!sideToMove(room.position().status)) room.takeBack();
        else move(room);
        room.questions.clear();
    }

private:
    // A piece of the side to move, and mostly one of its marked squares.
    void move(Room& room)
    {
        std::vector<int> own, marked;
        for (int s = 0; s < kSquareCount; ++s) {
            if (belongsTo(room.position().squares[s], *sideToMove(room.position().status))) own.push_back(s);
        }
        room.clickSquare(own[below(static_cast<int>(own.size()))]);
        for (int s = 0; s < kSquareCount; ++s) {
            if (room.isTarget(s)) marked.push_back(s);
        }
        if (marked.empty() || below(5) == 0) return;
        room.answers = {below(2) == 0, below(2) == 0, below(2) == 0};
        room.clickSquare(marked[below(static_cast<int>(marked.size()))]);
    }

    std::mt19937 rng_{20240611};
};

TEST(SavedGameRoundTrip, RandomGamesReopenAsTheyWereSaved)
{
    RandomPlayer player;
    int reopenings = 0;
    for (int game = 0; game < 3000 && !HasFailure(); ++game) {
        Room room;
        const bool filling = game % 500 == 0;
        const int steps = filling ? 1000 : 1 + player.below(80);
        for (int step = 0; step < steps && !HasFailure(); ++step) {
            player.step(room, filling);
            if (step + 1 != steps && player.below(10) != 0) continue;
            ++reopenings;
            Room reopened, twice;
            SCOPED_TRACE("game " + std::to_string(game) + " step " + std::to_string(step));
            ASSERT_TRUE(reopen(room, reopened));
            // The file keeps no "Check!": under a result the reopened game shows none.
            EXPECT_EQ(shown(reopened), shown(room, sideToMove(room.position().status).has_value()));
            EXPECT_TRUE(withoutUnwrittenCounts(reopened.savedGame()) == withoutUnwrittenCounts(room.savedGame()));
            // Re-saving a reopened game writes the same bytes; reopening it again changes nothing.
            EXPECT_TRUE(bytesOf(reopened) == bytesOf(room));
            ASSERT_TRUE(reopen(reopened, twice));
            EXPECT_TRUE(twice.savedGame() == reopened.savedGame());
        }
    }
    EXPECT_GT(reopenings, 10000);
}

// ---- What a reopened game restores ----

TEST(SavedGameRestore, ForwardFlagAfterTakeBack)
{
    Room room, reopened;
    play(room, 8, 42);
    play(room, 15, 45);
    room.takeBack();
    const std::string bytes = bytesOf(room);
    ASSERT_EQ(bytes.size(), 4 + kHeader + 6 + 3 * 149);
    EXPECT_EQ(bytes.substr(4 + kHeader, 6), "2;1;-1");

    ASSERT_TRUE(reopen(room, reopened));
    EXPECT_TRUE(reopened.forwardVisible());
    EXPECT_EQ(reopened.halfMoves(), 1);
    EXPECT_EQ(reopened.history().lastHalfMove(), 2);
    for (int k = 0; k <= 2; ++k) EXPECT_TRUE(reopened.history().entry(k) == room.history().entry(k)) << k;
    for (auto step : {&GameRoom::forward, &GameRoom::backToFirstMove, &GameRoom::forwardToEnd}) {
        (room.*step)();
        (reopened.*step)();
        EXPECT_EQ(shown(reopened), shown(room));
    }
}

TEST(SavedGameRestore, SelectionAndWinOption)
{
    Room room, reopened;
    room.toggleWinOption();
    room.clickSquare(8);
    EXPECT_EQ(bytesOf(room).substr(4 + 150, 3), "11\x08");
    ASSERT_TRUE(reopen(room, reopened));
    EXPECT_TRUE(reopened.pieceSelected() && reopened.selectedSquare() == 8 && reopened.isTarget(42));
    EXPECT_EQ(reopened.winOptionText(), "Destroy Both Kings!");
    EXPECT_EQ(shown(reopened), shown(room));
}

// White's kings on 40 and 80, Black's on 47 and, when it has two, 87.
Board kingsOnly(bool twoBlackKings)
{
    Board squares{};
    squares[40] = squares[80] = kWhiteKing;
    squares[47] = kBlackKing;
    if (twoBlackKings) squares[87] = kBlackKing;
    return squares;
}

// A game at `now`, after one half-move from each of `earlier`.
SavedGame gameFrom(const Board& now, Status status, const std::vector<Board>& earlier)
{
    SavedGame game;
    game.position.squares = now;
    game.position.status = status;
    for (const Board& squares : earlier) {
        game.entries.emplace_back().squares = squares;
        game.entries.back().status = Status::WhiteToMove;
    }
    game.entries.emplace_back();
    game.lastHalfMove = game.halfMoves = static_cast<int>(earlier.size());
    return game;
}

TEST(SavedGameRestore, CheckShownWhenTheSideToMoveIsAttacked)
{
    Board squares = kingsOnly(true);
    squares[44] = kBlackRook;
    ASSERT_TRUE(kingAttacked(squares, 40, Side::White, 0));
    for (const auto& [status, check] : {std::pair{Status::WhiteToMove, true}, std::pair{Status::BlackToMove, false},
                                        std::pair{Status::BlackWins, false}}) {
        Room room;
        room.load(gameFrom(squares, status, {}), "check.brd");
        EXPECT_EQ(room.checkShown(), check) << statusText(status);
    }
}

TEST(SavedGameRestore, KingCountsOfEntriesFollowTheirPositions)
{
    Board oneWhiteKing = kingsOnly(true);
    oneWhiteKing[80] = kEmpty;
    Room room;
    room.load(gameFrom(kingsOnly(false), Status::WhiteToMove, {kingsOnly(true), oneWhiteKing, kingsOnly(false)}),
              "kings.brd");
    const int expected[] = {2, 1, 1, 1};
    for (int k = 0; k <= 3; ++k) EXPECT_EQ(room.history().entry(k).kingsStanding, expected[k]) << k;
    // Stepping back shows those counts, and saving there writes a file the reader takes.
    for (int k = 2; k >= 0; --k) {
        room.takeBack();
        EXPECT_EQ(room.position().kingsStanding, expected[k]) << k;
        EXPECT_FALSE(refused(bytesOf(room))) << k;
    }
}

TEST(SavedGameRestore, KeptKingMayMoveRightAfterTheTwoKingChoice)
{
    struct Case {
        bool twoBefore, twoNow;
        Status status;
        int kingTrial;
    };
    for (const Case& c : {Case{true, false, Status::BlackToMove, 1}, Case{false, false, Status::BlackToMove, 0},
                          Case{true, true, Status::BlackToMove, 0}, Case{true, false, Status::WhiteToMove, 0}}) {
        Room room;
        room.load(gameFrom(kingsOnly(c.twoNow), c.status, {kingsOnly(c.twoBefore)}), "trial.brd");
        EXPECT_EQ(room.position().kingTrial, c.kingTrial) << c.twoBefore << c.twoNow;
        if (c.status == Status::BlackToMove && !c.twoNow) { // a lone king moves only when freed
            room.clickSquare(47);
            EXPECT_EQ(shown(room).find('=') != std::string::npos, c.kingTrial == 1) << c.twoBefore;
        }
    }
}

// ---- Files no game could have written ----

std::string takenBackFile()
{
    Room room;
    for (auto [from, to] : {std::pair{8, 42}, {15, 45}, {42, 59}}) play(room, from, to);
    room.takeBack();
    return bytesOf(room);
}

std::vector<std::pair<std::string, std::string>> hostileFiles()
{
    const std::string text = goldenText(), counts = "1;1;0";
    const std::size_t at = kHeader, entry0 = kHeader + counts.size();
    auto changed = [&](std::size_t pos, std::string_view with, std::size_t count = 1) {
        return fileOf(std::string(text).replace(pos, count, with));
    };
    std::string tooLong = header(afterFirstMove(), '1', 43, 41) + "402;0;0";
    for (int k = 0; k < 403; ++k) tooLong += entry(startBoard(), "0");
    std::string longer = fileOf(text), shorter = fileOf(text);
    ++longer[2];
    --shorter[2];
    return {{"empty", ""}, {"one byte", "\x08"}, {"two bytes", std::string("\x08\0", 2)},
            {"three bytes", std::string("\x08\0\x01", 3)}, {"wrong tag", "\x09" + fileOf(text).substr(1)},
            {"length longer than the text", longer}, {"length shorter than the text", shorter},
            {"piece 13 in the position", changed(5, "\x0d")}, {"piece 13 in an entry", changed(entry0 + 5, "\x0d")},
            {"castle flag 2", changed(128, "\x02")}, {"kingsStanding 0", changed(145, "0")},
            {"kingsStanding 3", changed(145, "3")}, {"status 5", changed(149, "5")},
            {"status missing", changed(149, "", 1)}, {"pawns 7 and 7", changed(153, "7")},
            {"pawns 1 and 1", changed(154, "1")}, {"pawns turned, board not", changed(153, "71", 2)},
            {"pawn on colmn 0", changed(0, "\x01")}, {"pawn on colmn 7", changed(7, "\x07")},
            {"three white kings", changed(2, "\x06")}, {"en passant square 128", changed(146, "\x80")},
            {"selected square 200", changed(152, "\xc8")}, {"lastHalfMove 402", fileOf(tooLong)},
            {"halfMoves above lastHalfMove", changed(at, "1;2;0", 5)}, {"count not a number", changed(at, "1;x;0", 5)},
            {"count with a sign", changed(at, "+1;1;0", 5)}, {"missing ';'", changed(at, "1;10", 5)},
            {"trailing garbage", fileOf(text + "garbage")}, {"one character more", fileOf(text + "0")},
            {"entry without status before the last",
             fileOf(header(afterFirstMove(), '1', 43, 41) + counts + entry(Board{}, "") + entry(startBoard(), "0"))},
            {"not a game at all", "this is no game\n"}};
}

// A temporary folder, removed with everything in it.
struct TempDir {
    TempDir()
    {
        std::string pattern = (fs::temp_directory_path() / "palisade-saved-XXXXXX").string();
        path = ::mkdtemp(pattern.data()) ? pattern : "";
    }
    ~TempDir()
    {
        std::error_code ignored;
        fs::permissions(path, fs::perms::owner_all, ignored);
        fs::remove_all(path, ignored);
    }
    std::string file(const std::string& name) const { return (path / name).string(); }
    std::vector<std::string> names() const
    {
        std::vector<std::string> found;
        for (const auto& e : fs::directory_iterator(path)) found.push_back(e.path().filename().string());
        return found;
    }
    fs::path path;
};

void writeBytes(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What the window does with a chosen file: it loads only a game that was read.
bool openInto(GameRoom& room, const std::string& path)
{
    const Decoded game = readSavedGame(path);
    if (gameOf(game)) room.load(*gameOf(game), path);
    return gameOf(game) != nullptr;
}

TEST(HostileFile, RefusedAndTheOpenGameStays)
{
    ASSERT_FALSE(refused(fileOf(goldenText())));
    std::string longest = header(afterFirstMove(), '1', 43, 41) + "401;0;0";
    for (int k = 0; k < 402; ++k) longest += entry(startBoard(), "0");
    ASSERT_FALSE(refused(fileOf(longest)));

    const TempDir dir;
    Room room;
    play(room, 8, 42);
    const SavedGame before = room.savedGame();
    for (const auto& [name, bytes] : hostileFiles()) {
        const Decoded decoded = decodeSavedGame(bytes);
        ASSERT_FALSE(gameOf(decoded)) << name;
        EXPECT_FALSE(std::get<FileError>(decoded).reason.empty()) << name;
        writeBytes(dir.file("hostile.brd"), bytes);
        EXPECT_FALSE(openInto(room, dir.file("hostile.brd"))) << name;
        EXPECT_TRUE(room.savedGame() == before) << name;
    }
}

TEST(HostileFile, EveryCutIsRefused)
{
    for (const std::string& bytes : {fileOf(goldenText()), takenBackFile()}) {
        for (std::size_t cut = 0; cut < bytes.size(); ++cut) EXPECT_TRUE(refused(bytes.substr(0, cut))) << cut;
        // With the length made to fit. A last entry one character short reads as
        // one written without a status, which only an entry holding nothing is.
        const std::string text = bytes.substr(4);
        for (std::size_t cut = 0; cut < text.size(); ++cut) EXPECT_TRUE(refused(fileOf(text.substr(0, cut)))) << cut;
    }
}

TEST(HostileFile, RandomByteFlipsAreRefusedOrSound)
{
    std::mt19937 rng(7);
    const std::string originals[] = {fileOf(goldenText()), takenBackFile()};
    int accepted = 0;
    for (int round = 0; round < 4000; ++round) {
        std::string bytes = originals[round % 2];
        for (int flips = 1 + static_cast<int>(rng() % 3); flips > 0; --flips) {
            const unsigned value = rng() % 2 ? rng() % 256 : (rng() % 2 ? rng() % 13 : '0' + rng() % 10);
            bytes[rng() % bytes.size()] = static_cast<char>(value);
        }
        const Decoded decoded = decodeSavedGame(bytes);
        const SavedGame* game = gameOf(decoded);
        if (!game) continue;
        ++accepted;
        ASSERT_FALSE(checkSavedGame(*game)) << "round " << round;
        const Decoded again = decodeSavedGame(encodeSavedGame(*game));
        ASSERT_TRUE(gameOf(again) && *gameOf(again) == *game) << "round " << round;
        Room room;
        room.load(*game, "flipped.brd");
        for (int s = 0; s < kSquareCount; s += 9) room.clickSquare(s);
        room.takeBack();
        room.forwardToEnd();
    }
    EXPECT_GT(accepted, 100);
}

TEST(HostileFile, HugeFileIsRefused)
{
    const TempDir dir;
    std::string bytes = fileOf(goldenText());
    bytes.resize(2 << 20, '0');
    writeBytes(dir.file("huge.brd"), bytes);
    EXPECT_FALSE(gameOf(readSavedGame(dir.file("huge.brd"))));
}

// ---- The older plain-text layout ----

std::string numbers(const Board& squares)
{
    std::string text;
    for (int s = 0; s < kSquareCount; ++s) text += std::to_string(squares[s]) + (s % 16 == 15 ? "\n" : ",");
    return text + "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\n"; // and no castling right lost
}

std::string olderText(const std::string& entryCheck, const std::string& entryStatus)
{
    return numbers(afterFirstMove()) + "0,2,43,0,0,\"Black to Move\",0,0,41,1,7\n1,1,0\n" + numbers(startBoard())
           + entryCheck + ",\"" + entryStatus + "\",0,0,0\n" + numbers(Board{}) + "0,\"\",0,0,0\n";
}

TEST(OlderLayout, HandWrittenFileLoads)
{
    const Decoded decoded = decodeSavedGame(olderText("-1", "White to Move"));
    ASSERT_TRUE(gameOf(decoded)) << std::get<FileError>(decoded).reason;
    SavedGame expected = goldenGame();
    expected.entries[0].check = 1; // written as -1
    EXPECT_TRUE(*gameOf(decoded) == expected);
}

TEST(OlderLayout, DamagedFileIsRefused)
{
    const std::string good = olderText("0", "White to Move");
    ASSERT_FALSE(refused(good));
    for (const auto& [name, text] : std::vector<std::pair<std::string, std::string>>{
             {"cut short", good.substr(0, good.size() - 3)}, {"unknown status", olderText("0", "Red to Move")},
             {"word for a number", "x" + good.substr(1)}, {"unclosed quote", good.substr(0, good.rfind('"'))},
             {"one value too many", good + "0\n"}, {"empty status before the last", olderText("0", "")},
             {"check value 2", olderText("2", "White to Move")}}) {
        EXPECT_TRUE(refused(text)) << name;
    }
}

// ---- Writing files ----

TEST(GameFile, WrittenGameReadsBackAndReplacesTheOldFile)
{
    const TempDir dir;
    const std::string path = dir.file("game.brd");
    writeBytes(path, std::string(2000, '.'));
    ASSERT_FALSE(writeSavedGame(path, goldenGame()));
    EXPECT_TRUE(readBytes(path) == fileOf(goldenText()));
    const Decoded read = readSavedGame(path);
    ASSERT_TRUE(gameOf(read));
    EXPECT_TRUE(*gameOf(read) == goldenGame());
    EXPECT_EQ(dir.names(), std::vector<std::string>{"game.brd"}); // no temporary file left
}

TEST(GameFile, FailedSaveIsToldAndKeepsTheOldFile)
{
    const TempDir dir;
    const std::string kept = dir.file("kept.brd");
    writeBytes(kept, "old bytes");
    ASSERT_EQ(::chmod(kept.c_str(), 0444), 0);
    std::vector<std::string> targets = {kept, dir.file("missing/game.brd")};
    const TempDir closed; // root writes into any folder
    if (::geteuid() != 0 && ::chmod(closed.path.c_str(), 0555) == 0) targets.push_back(closed.file("game.brd"));
    for (const std::string& path : targets) {
        EXPECT_TRUE(writeSavedGame(path, goldenGame())) << path;
        Room room;
        play(room, 8, 42);
        EXPECT_FALSE(room.save(path)) << path;
        EXPECT_EQ(room.messages, std::vector<std::string>{"Could Not Open File To Save " + path});
        EXPECT_FALSE(room.gameSaved()) << path;
        EXPECT_EQ(room.fileName(), "") << path;
    }
    EXPECT_TRUE(readBytes(kept) == "old bytes");
    EXPECT_EQ(dir.names(), std::vector<std::string>{"kept.brd"}); // nothing else written
    EXPECT_TRUE(closed.names().empty());
}

TEST(GameFile, ControllerSaveMarksTheGameSaved)
{
    const TempDir dir;
    const std::string path = dir.file("saved.brd");
    Room room, reopened;
    play(room, 41, 43);
    ASSERT_FALSE(room.gameSaved());
    EXPECT_TRUE(room.save(path));
    EXPECT_TRUE(room.gameSaved());
    EXPECT_EQ(room.fileName(), path);
    EXPECT_TRUE(room.messages.empty());
    EXPECT_TRUE(readBytes(path) == fileOf(goldenText()));
    ASSERT_TRUE(openInto(reopened, path));
    EXPECT_EQ(shown(reopened), shown(room));
    EXPECT_EQ(reopened.fileName(), path);
}

} // namespace
} // namespace palisade
