#include "gameroom/game_file.h"
#include "gameroom/saved_game_check.h"
#include "recording_view.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <tuple>
#include <sys/stat.h>
#include <unistd.h>

namespace palisade {
namespace {
using namespace letters;

namespace fs = std::filesystem;
using Decoded = std::variant<SavedGame, FileError>;
constexpr std::size_t kHeader = 155; // text positions 1..155, counted here from 0

// Files written by hand, field by field.

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

const SavedGame* gameOf(const Decoded& decoded) { return std::get_if<SavedGame>(&decoded); }
bool refused(std::string_view bytes) { return !gameOf(decodeSavedGame(bytes)); }
std::string bytesOf(const GameRoom& room) { return encodeSavedGame(room.savedGame()); }

// Entries no position was written to carry a king count the file does not keep.
SavedGame withoutUnwrittenCounts(SavedGame game)
{
    for (HistoryEntry& e : game.entries) e.kingsStanding = e.status ? e.kingsStanding : 0;
    return game;
}

// A game with the win option on, a selection, and Forward offered after Take Back.
std::string laterFile()
{
    Room room;
    room.play({{41, 43}, {15, 45}});
    room.takeBack();
    room.toggleWinOption();
    room.clickSquare(71);
    return bytesOf(room);
}

TEST(GoldenFile, HandWrittenFileDecodesAndEncodesBack)
{
    const std::string golden = fileOf(goldenText());
    ASSERT_TRUE(header(kStart, '0', 0, 0).size() == kHeader && golden.size() == 4u + 155 + 5 + 149 + 148);
    EXPECT_EQ(golden.substr(0, 4), std::string("\x08\x00\xc9\x01", 4));
    const Decoded decoded = decodeSavedGame(golden);
    ASSERT_TRUE(gameOf(decoded)) << std::get<FileError>(decoded).reason;
    EXPECT_TRUE(*gameOf(decoded) == goldenGame());
    EXPECT_TRUE(encodeSavedGame(goldenGame()) == golden);
    Room room; // the same game played by clicks, and a game saved before its first move
    EXPECT_TRUE(bytesOf(room) == fileOf(header(kStart, '0', 0, 0) + "0;0;0" + entry(Board{}, "")));
    room.play(41, 43);
    EXPECT_TRUE(bytesOf(room) == golden);
    const std::string later = laterFile(); // the option, a selection and its square; the Forward flag
    ASSERT_EQ(later.size(), 4 + kHeader + 6 + 3 * 149);
    EXPECT_EQ(later.substr(4 + 150, 3), "11G");
    EXPECT_EQ(later.substr(4 + kHeader, 6), "2;1;-1");
}

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
            SCOPED_TRACE("game " + std::to_string(game) + " step " + std::to_string(step));
            // Save and Open. The games being equal, the reopened one saves the same bytes.
            const Decoded decoded = decodeSavedGame(bytesOf(room));
            ASSERT_TRUE(gameOf(decoded)) << std::get<FileError>(decoded).reason;
            Room reopened;
            reopened.load(*gameOf(decoded), "game.brd");
            EXPECT_TRUE(withoutUnwrittenCounts(reopened.savedGame()) == withoutUnwrittenCounts(room.savedGame()));
            EXPECT_EQ(reopened.marks(), room.marks());
            // The file keeps no "Check!": under a result the reopened game shows none.
            EXPECT_EQ(reopened.checkShown(), room.checkShown() && sideToMove(room.position().status));
        }
    }
    EXPECT_GT(reopenings, 10000);
}

// White's kings on 40 and 80, Black's on 47 and 87, less the one a name says is gone.
const Board kOneBlackKing = with({{40, K}, {80, K}, {47, k}}).squares;
const Board kOneWhiteKing = with({{40, K}, {47, k}, {87, k}}).squares;
const Board kTwoBlackKings = with({{40, K}, {80, K}, {47, k}, {87, k}}).squares;

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
    Room room;
    room.load(gameFrom(kOneBlackKing, W, {kTwoBlackKings, kOneWhiteKing, kOneBlackKing}), "kings.brd");
    const int expected[] = {2, 1, 1};
    // Stepping back shows each entry's count, and saving there writes a file the reader takes.
    for (int i = 2; i >= 0; --i) {
        room.takeBack();
        EXPECT_EQ(room.position().kingsStanding, expected[i]) << i;
        EXPECT_FALSE(refused(bytesOf(room))) << i;
    }

    // The kept king may move right after the two-king choice, and only then.
    for (const auto& [before, now, status, kingTrial] :
         {std::tuple{kTwoBlackKings, kOneBlackKing, Bl, 1}, {kOneBlackKing, kOneBlackKing, Bl, 0},
          {kTwoBlackKings, kTwoBlackKings, Bl, 0}, {kTwoBlackKings, kOneBlackKing, W, 0}}) {
        Room trial;
        trial.load(gameFrom(now, status, {before}), "trial.brd");
        EXPECT_EQ(trial.position().kingTrial, kingTrial) << statusText(status);
    }
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
    return numbers(kAfterFirstMove) + "0,2,43,0,0,\"Black to Move\",0,0,41,1,7\r\n1,1,0\n" + numbers(kStart)
           + entryCheck + ",\"" + entryStatus + "\",0,0,0\n" + numbers(Board{}) + "0,\"\",0,0,0\n";
}

std::vector<std::pair<std::string, std::string>> hostileFiles()
{
    const std::string text = goldenText(), counts = "1;1;0";
    const std::size_t at = kHeader, entry0 = kHeader + counts.size();
    auto changed = [&](std::size_t pos, std::string_view with, std::size_t count = 1) {
        return fileOf(std::string(text).replace(pos, count, with));
    };
    const std::string head = header(kAfterFirstMove, '1', 43, 41);
    std::string tooLong = head + "402;0;0";
    for (int i = 0; i < 403; ++i) tooLong += entry(kStart, "0");
    std::string longer = fileOf(text), shorter = fileOf(text);
    ++longer[2];
    --shorter[2];
    const std::string good = olderText("0", "White to Move");
    // clang-format off
    return {{"wrong tag", "\x09" + fileOf(text).substr(1)}, {"length too long", longer}, {"length too short", shorter},
            {"piece 13", changed(5, "\x0d")}, {"piece 13 in an entry", changed(entry0 + 5, "\x0d")},
            {"castle flag 2", changed(128, "\x02")}, {"kings 0", changed(145, "0")}, {"kings 3", changed(145, "3")},
            {"status 5", changed(149, "5")}, {"no status", changed(149, "", 1)}, {"pawns 7, 7", changed(153, "7")},
            {"pawns 1, 1", changed(154, "1")}, {"pawns turned, board not", changed(153, "71", 2)},
            {"pawn on colmn 0", changed(0, "\x01")}, {"pawn on colmn 7", changed(7, "\x07")},
            {"three white kings", changed(2, "\x06")}, {"en passant 128", changed(146, "\x80")},
            {"selected 200", changed(152, "\xc8")}, {"last half-move 402", fileOf(tooLong)},
            {"current beyond last", changed(at, "1;2;0", 5)}, {"count x", changed(at, "1;x;0", 5)},
            {"count +1", changed(at, "+1;1;0", 5)}, {"missing ';'", changed(at, "1;10", 5)},
            {"garbage after", fileOf(text + "garbage")}, {"one more", fileOf(text + "0")}, {"no game", "no game\n"},
            {"blank entry first", fileOf(head + counts + entry(Board{}, "") + entry(kStart, "0"))},
            {"older, cut short", good.substr(0, good.size() - 3)}, {"older, word for a number", "x" + good.substr(1)},
            {"older, unknown status", olderText("0", "Red to Move")}, {"older, one value more", good + "0\n"},
            {"older, open quote", good.substr(0, good.rfind('"'))}, {"older, blank status first", olderText("0", "")},
            {"older, check 2", olderText("2", "White to Move")}};
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
    std::set<std::string> names() const
    {
        std::set<std::string> found;
        for (const auto& e : fs::directory_iterator(path)) found.insert(e.path().filename().string());
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
    for (const std::string& bytes : {fileOf(goldenText()), laterFile()}) {
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
    const std::string originals[] = {fileOf(goldenText()), laterFile()};
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

// Saving writes the whole file beside the old one and renames it over it; a
// save that fails is told and leaves the old file as it was.
TEST(GameFile, SaveReplacesTheOldFileWholeOrNotAtAll)
{
    const TempDir dir, closed; // root writes into any folder
    const std::string path = dir.file("game.brd"), kept = dir.file("kept.brd");
    writeBytes(path, std::string(2000, '.'));
    writeBytes(kept, "old bytes");
    ASSERT_EQ(::chmod(kept.c_str(), 0444), 0);
    Room room, reopened;
    room.play(41, 43);
    ASSERT_FALSE(room.gameSaved());
    EXPECT_TRUE(room.save(path));
    EXPECT_TRUE(room.gameSaved() && room.fileName() == path && room.messages.empty());
    EXPECT_TRUE(readBytes(path) == fileOf(goldenText()));
    ASSERT_TRUE(openInto(reopened, path));
    EXPECT_TRUE(withoutUnwrittenCounts(reopened.savedGame()) == withoutUnwrittenCounts(room.savedGame()));
    EXPECT_EQ(reopened.fileName(), path);

    std::vector<std::string> targets = {kept, dir.file("missing/game.brd")};
    if (::geteuid() != 0 && ::chmod(closed.path.c_str(), 0555) == 0) targets.push_back(closed.file("game.brd"));
    for (const std::string& target : targets) {
        EXPECT_TRUE(writeSavedGame(target, goldenGame())) << target;
        Room failing;
        failing.play(8, 42);
        EXPECT_FALSE(failing.save(target)) << target;
        EXPECT_EQ(failing.messages, std::vector<std::string>{"Could Not Open File To Save " + target});
        EXPECT_TRUE(!failing.gameSaved() && failing.fileName().empty()) << target;
    }
    EXPECT_TRUE(readBytes(kept) == "old bytes");
    EXPECT_EQ(dir.names(), (std::set<std::string>{"game.brd", "kept.brd"})); // no temporary file left
    EXPECT_TRUE(closed.names().empty());
}

} // namespace
} // namespace palisade
