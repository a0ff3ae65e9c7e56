#include "gameroom/game_file.h"
#include "gameroom/saved_game_check.h"
#include "recording_view.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace palisade {
namespace {
using namespace letters;

namespace fs = std::filesystem;
using Decoded = std::variant<SavedGame, FileError>;
constexpr std::size_t kHeader = 155; // text positions 1..155, counted here from 0

// ---- Files written by hand, field by field ----

const Board kStart = standardPosition().squares;
const Board kAfterFirstMove = [] { // White's pawn 41 -> 43
    Board squares = kStart;
    std::swap(squares[41], squares[43]);
    return squares;
}();

// The board, no castling right lost, sides not switched, two kings standing,
// the en passant square, selection not locked, lone king not freed, the
// status, "Standard", nothing selected, the selected square, White's pawns
// going up and Black's down.
std::string header(const Board& squares, char status, int enPassant, int selected)
{
    return std::string(squares.begin(), squares.end()) + std::string(16, '\0') + "02" + char(enPassant) + "00" + status
           + "00" + char(selected) + "17";
}

// Check, status, lone king, orientation, en passant; 148 characters without a status.
std::string entry(const Board& squares, std::string_view status)
{
    return std::string(squares.begin(), squares.end()) + std::string(16, '\0') + "0" + std::string(status) + "00"
           + '\0';
}

std::string fileOf(std::string_view text)
{
    return std::string{'\x08', '\0', static_cast<char>(text.size() & 0xff), static_cast<char>(text.size() >> 8)}
           + std::string(text);
}

std::string goldenText()
{
    return header(kAfterFirstMove, '1', 43, 41) + "1;1;0" + entry(kStart, "0") + entry(Board{}, "");
}

SavedGame goldenGame()
{
    return {.position = {.squares = kAfterFirstMove, .status = Bl, .enPassantSquare = 43},
            .selectedSquare = 41, .lastHalfMove = 1, .halfMoves = 1,
            .entries = {{.squares = kStart, .status = W}, {}}};
}

// ---- Helpers ----

const SavedGame* gameOf(const Decoded& decoded) { return std::get_if<SavedGame>(&decoded); }
bool refused(std::string_view bytes) { return !gameOf(decodeSavedGame(bytes)); }
std::string bytesOf(const GameRoom& room) { return encodeSavedGame(room.savedGame()); }

// Entries no position was written to carry a king count the file does not keep.
SavedGame withoutUnwrittenCounts(SavedGame game)
{
    for (HistoryEntry& e : game.entries) e.kingsStanding = e.status ? e.kingsStanding : 0;
    return game;
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
    ASSERT_EQ(header(kStart, '0', 0, 0).size(), kHeader);
    const std::string golden = fileOf(goldenText());
    ASSERT_EQ(golden.size(), 4u + 155 + 5 + 149 + 148);
    EXPECT_EQ(golden.substr(0, 4), std::string("\x08\x00\xc9\x01", 4));
    const Decoded decoded = decodeSavedGame(golden);
    ASSERT_TRUE(gameOf(decoded)) << std::get<FileError>(decoded).reason;
    EXPECT_TRUE(*gameOf(decoded) == goldenGame());
    EXPECT_TRUE(encodeSavedGame(goldenGame()) == golden);
    Room room; // the same game played by clicks, and a game saved before its first move
    EXPECT_TRUE(bytesOf(room) == fileOf(header(kStart, '0', 0, 0) + "0;0;0" + entry(Board{}, "")));
    room.play(41, 43);
    EXPECT_TRUE(bytesOf(room) == golden);
    // The win option, a selection and its square; Forward offered after Take Back.
    room.play(15, 45);
    room.takeBack();
    room.toggleWinOption();
    room.clickSquare(71);
    const std::string bytes = bytesOf(room);
    ASSERT_EQ(bytes.size(), 4 + kHeader + 6 + 3 * 149);
    EXPECT_EQ(bytes.substr(4 + 150, 3), "11G");
    EXPECT_EQ(bytes.substr(4 + kHeader, 6), "2;1;-1");
}

// ---- Random games reopen as they were saved ----

// Mostly moves: a piece of the side to move, and mostly one of its marked
// squares; now and then a command. A game over is taken back.
void randomStep(Room& room, std::mt19937& rng, bool onlyMoves)
{
    auto below = [&](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
    using Command = void (GameRoom::*)();
    // clang-format off
    static constexpr Command kCommands[] = {
        &GameRoom::takeBack, &GameRoom::takeBack, &GameRoom::takeBack, &GameRoom::takeBack,
        &GameRoom::forward, &GameRoom::forward, &GameRoom::forward, &GameRoom::backToFirstMove,
        &GameRoom::forwardToEnd, &GameRoom::switchSides, &GameRoom::switchSides, &GameRoom::toggleWinOption,
        &GameRoom::toggleWinOption, &GameRoom::resign, &GameRoom::declareDraw};
    // clang-format on
    const std::size_t roll = onlyMoves ? 100 : below(100);
    const auto side = sideToMove(room.position().status);
    if (roll < std::size(kCommands)) return (room.*kCommands[roll])();
    if (!side) return room.takeBack();
    std::vector<int> own, marked;
    for (int s = 0; s < kSquareCount; ++s) {
        if (belongsTo(room.position().squares[s], *side)) own.push_back(s);
    }
    room.clickSquare(own[below(own.size())]);
    for (int s = 0; s < kSquareCount; ++s) {
        if (room.isTarget(s)) marked.push_back(s);
    }
    if (marked.empty() || below(5) == 0) return;
    room.answers = {below(2) == 0, below(2) == 0, below(2) == 0};
    room.clickSquare(marked[below(marked.size())]);
}

// Filling games play on past the 402 entries of the record.
TEST(SavedGameRoundTrip, RandomGamesReopenAsTheyWereSaved)
{
    std::mt19937 rng(20240611);
    int reopenings = 0;
    for (int game = 0; game < 3000 && !HasFailure(); ++game) {
        Room room;
        const bool filling = game % 500 == 0;
        const int steps = filling ? 1000 : 1 + static_cast<int>(rng() % 80);
        for (int step = 0; step < steps && !HasFailure(); ++step) {
            randomStep(room, rng, filling);
            if (step + 1 != steps && rng() % 10 != 0) continue;
            ++reopenings;
            Room reopened, twice;
            SCOPED_TRACE("game " + std::to_string(game) + " step " + std::to_string(step));
            ASSERT_TRUE(reopen(room, reopened));
            EXPECT_TRUE(withoutUnwrittenCounts(reopened.savedGame()) == withoutUnwrittenCounts(room.savedGame()));
            EXPECT_EQ(reopened.marks(), room.marks());
            // The file keeps no "Check!": under a result the reopened game shows none.
            EXPECT_EQ(reopened.checkShown(), room.checkShown() && sideToMove(room.position().status));
            // Re-saving a reopened game writes the same bytes; reopening it again changes nothing.
            EXPECT_TRUE(bytesOf(reopened) == bytesOf(room));
            ASSERT_TRUE(reopen(reopened, twice));
            EXPECT_TRUE(twice.savedGame() == reopened.savedGame());
        }
    }
    EXPECT_GT(reopenings, 10000);
}

// ---- What a reopened game restores ----

// White's kings on 40 and 80, Black's on 47 and, when it has two, 87.
Board kingsOnly(bool twoBlackKings)
{
    Board squares = with({{40, K}, {80, K}, {47, k}}).squares;
    if (twoBlackKings) squares[87] = k;
    return squares;
}

// A game at `now`, after one half-move from each of `earlier`.
SavedGame gameFrom(const Board& now, Status status, const std::vector<Board>& earlier)
{
    SavedGame game{.position = {.squares = now, .status = status}, .entries = {}};
    for (const Board& squares : earlier) game.entries.push_back({.squares = squares, .status = W});
    game.entries.emplace_back();
    game.lastHalfMove = game.halfMoves = static_cast<int>(earlier.size());
    return game;
}

// The file keeps no count of kings standing and no two-king trial: loading
// works them out from the positions.
TEST(SavedGameRestore, WhatTheFileDoesNotKeep)
{
    Board oneWhiteKing = kingsOnly(true);
    oneWhiteKing[80] = kEmpty;
    Room room;
    room.load(gameFrom(kingsOnly(false), W, {kingsOnly(true), oneWhiteKing, kingsOnly(false)}), "kings.brd");
    const int expected[] = {2, 1, 1, 1};
    for (int i = 0; i <= 3; ++i) EXPECT_EQ(room.history().entry(i).kingsStanding, expected[i]) << i;
    // Stepping back shows those counts, and saving there writes a file the reader takes.
    for (int i = 2; i >= 0; --i) {
        room.takeBack();
        EXPECT_EQ(room.position().kingsStanding, expected[i]) << i;
        EXPECT_FALSE(refused(bytesOf(room))) << i;
    }

    // The kept king may move right after the two-king choice, and only then.
    struct {
        bool twoBefore, twoNow;
        Status status;
        int kingTrial;
    } cases[] = {{true, false, Bl, 1}, {false, false, Bl, 0}, {true, true, Bl, 0}, {true, false, W, 0}};
    for (const auto& c : cases) {
        Room trial;
        trial.load(gameFrom(kingsOnly(c.twoNow), c.status, {kingsOnly(c.twoBefore)}), "trial.brd");
        EXPECT_EQ(trial.position().kingTrial, c.kingTrial) << c.twoBefore << c.twoNow;
        if (c.status == Bl && !c.twoNow) { // a lone king moves only when freed
            trial.clickSquare(47);
            EXPECT_EQ(trial.marks().empty(), c.kingTrial == 0) << c.twoBefore;
        }
    }
}

// ---- Files no game could have written ----

std::string takenBackFile()
{
    Room room;
    room.play({{8, 42}, {15, 45}, {42, 59}});
    room.takeBack();
    return bytesOf(room);
}

// The older layout: plain numbers, the status texts written out.
std::string numbers(const Board& squares)
{
    std::string text;
    for (int s = 0; s < kSquareCount; ++s) text += std::to_string(squares[s]) + (s % 16 == 15 ? "\n" : ",");
    return text + "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\n"; // and no castling right lost
}

std::string olderText(const std::string& entryCheck, const std::string& entryStatus)
{
    return numbers(kAfterFirstMove) + "0,2,43,0,0,\"Black to Move\",0,0,41,1,7\n1,1,0\n" + numbers(kStart)
           + entryCheck + ",\"" + entryStatus + "\",0,0,0\n" + numbers(Board{}) + "0,\"\",0,0,0\n";
}

std::vector<std::pair<std::string, std::string>> hostileFiles()
{
    const std::string text = goldenText(), counts = "1;1;0";
    const std::size_t at = kHeader, entry0 = kHeader + counts.size();
    auto changed = [&](std::size_t pos, std::string_view with, std::size_t count = 1) {
        return fileOf(std::string(text).replace(pos, count, with));
    };
    std::string tooLong = header(kAfterFirstMove, '1', 43, 41) + "402;0;0";
    for (int i = 0; i < 403; ++i) tooLong += entry(kStart, "0");
    std::string longer = fileOf(text), shorter = fileOf(text);
    ++longer[2];
    --shorter[2];
    const std::string good = olderText("0", "White to Move");
    // clang-format off
    return {{"wrong tag", "\x09" + fileOf(text).substr(1)}, {"length longer than the text", longer},
            {"length shorter than the text", shorter}, {"piece 13 in the position", changed(5, "\x0d")},
            {"piece 13 in an entry", changed(entry0 + 5, "\x0d")}, {"castle flag 2", changed(128, "\x02")},
            {"kingsStanding 0", changed(145, "0")}, {"kingsStanding 3", changed(145, "3")},
            {"status 5", changed(149, "5")}, {"status missing", changed(149, "", 1)},
            {"pawns 7 and 7", changed(153, "7")}, {"pawns 1 and 1", changed(154, "1")},
            {"pawns turned, board not", changed(153, "71", 2)}, {"pawn on colmn 0", changed(0, "\x01")},
            {"pawn on colmn 7", changed(7, "\x07")}, {"three white kings", changed(2, "\x06")},
            {"en passant square 128", changed(146, "\x80")}, {"selected square 200", changed(152, "\xc8")},
            {"lastHalfMove 402", fileOf(tooLong)}, {"halfMoves above lastHalfMove", changed(at, "1;2;0", 5)},
            {"count not a number", changed(at, "1;x;0", 5)}, {"count with a sign", changed(at, "+1;1;0", 5)},
            {"missing ';'", changed(at, "1;10", 5)}, {"trailing garbage", fileOf(text + "garbage")},
            {"one character more", fileOf(text + "0")}, {"not a game at all", "this is no game\n"},
            {"entry without status before the last",
             fileOf(header(kAfterFirstMove, '1', 43, 41) + counts + entry(Board{}, "") + entry(kStart, "0"))},
            {"older, cut short", good.substr(0, good.size() - 3)}, {"older, word for a number", "x" + good.substr(1)},
            {"older, unknown status", olderText("0", "Red to Move")}, {"older, one value too many", good + "0\n"},
            {"older, unclosed quote", good.substr(0, good.rfind('"'))},
            {"older, check value 2", olderText("2", "White to Move")},
            {"older, empty status before the last", olderText("0", "")}};
    // clang-format on
}

// A temporary folder, removed with everything in it.
struct TempDir {
    std::string pattern = (fs::temp_directory_path() / "palisade-saved-XXXXXX").string();
    fs::path path = ::mkdtemp(pattern.data()) ? pattern : std::string();
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

TEST(OlderLayout, HandWrittenFileLoadsAndAHugeOneIsNotEvenRead)
{
    const Decoded older = decodeSavedGame(olderText("-1", "White to Move"));
    ASSERT_TRUE(gameOf(older)) << std::get<FileError>(older).reason;
    SavedGame expected = goldenGame();
    expected.entries[0].check = 1; // written as -1
    EXPECT_TRUE(*gameOf(older) == expected);
    const TempDir dir;
    const std::string huge = olderText("0", "White to Move") + std::string(2 << 20, '\n');
    ASSERT_FALSE(refused(huge));
    writeBytes(dir.file("huge.brd"), huge);
    EXPECT_FALSE(gameOf(readSavedGame(dir.file("huge.brd"))));
}

TEST(HostileFile, RefusedAndTheOpenGameStays)
{
    std::string longest = header(kAfterFirstMove, '1', 43, 41) + "401;0;0";
    for (int i = 0; i < 402; ++i) longest += entry(kStart, "0");
    ASSERT_FALSE(refused(fileOf(longest)));
    const TempDir dir;
    Room room;
    room.play(8, 42);
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

// ---- Writing files ----

TEST(GameFile, SaveReplacesTheOldFileWholeAndReadsBack)
{
    const TempDir dir;
    const std::string path = dir.file("game.brd");
    writeBytes(path, std::string(2000, '.'));
    Room room, reopened;
    room.play(41, 43);
    ASSERT_FALSE(room.gameSaved());
    EXPECT_TRUE(room.save(path));
    EXPECT_TRUE(room.gameSaved());
    EXPECT_EQ(room.fileName(), path);
    EXPECT_TRUE(room.messages.empty());
    EXPECT_TRUE(readBytes(path) == fileOf(goldenText()));
    EXPECT_EQ(dir.names(), std::vector<std::string>{"game.brd"}); // no temporary file left
    ASSERT_TRUE(openInto(reopened, path));
    EXPECT_TRUE(reopened.savedGame() == room.savedGame());
    EXPECT_EQ(reopened.fileName(), path);
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
        room.play(8, 42);
        EXPECT_FALSE(room.save(path)) << path;
        EXPECT_EQ(room.messages, std::vector<std::string>{"Could Not Open File To Save " + path});
        EXPECT_FALSE(room.gameSaved()) << path;
        EXPECT_EQ(room.fileName(), "") << path;
    }
    EXPECT_TRUE(readBytes(kept) == "old bytes");
    EXPECT_EQ(dir.names(), std::vector<std::string>{"kept.brd"}); // nothing else written
    EXPECT_TRUE(closed.names().empty());
}

} // namespace
} // namespace palisade
