// Game texts written and read, and texts from outside that are not games.

#include "engine/orientation.h"
#include "gameroom/game_file.h"
#include "gameroom/game_room.h"
#include "gameroom/game_text_file.h"
#include "gameroom/silent_view.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>

namespace palisade {
namespace {

// Under "Destroy Both Kings!" White is mated with two kings after 6. 4b5 - Q4c4,
// both could escape, and the text keeps the king on 1c4.
constexpr std::string_view kKingChoice = R"([Date "2026.12.07"]
[White "Person"]
[Black "Computer level 2"]
[WinOption "Destroy Both Kings!"]
[Start "K7/K7/7k/1r6/1r6/6n1/8/8/8/8/8/3q4/4k2n/4q3/2q5/8 b 0000000000000000 - 2 0"]
[Result "*"]

1. 4c3 - Q4a1  1a1 - Kx2a2
2. 1c8 - K2c8  2a2 - K1a3
3. 2b7 - N4b8  1a3 - K1b3
4. 4a8 - N3a6  1b3 - K1c4
5. 4a1 - Q4c3  1b1 - K1c1
6. 4b5 - Q4c4 {keeps 1c4}  1c4 - K1b3
*
)";

constexpr std::string_view kOpening = R"([WinOption "Standard"]

1. 2b2 - 2b4  2c7 - 2c5
2. 2b4 - bx2c5  1b8 - N1c6
3. 3b2 - 3b4
)";

std::string reasonOf(const std::variant<SavedGame, TextError>& result)
{
    const auto* error = std::get_if<TextError>(&result);
    return error ? error->reason : "";
}

std::string replaced(std::string text, std::string_view from, std::string_view to)
{
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

TEST(GameText, TagsAndMovesComeBackAsWritten)
{
    GameText game;
    game.date = "2026.12.07";
    game.white = "Ann \"the \\ Bold\"";
    game.black = "Computer level 5";
    game.winOption = 1;
    game.winOptionChanges = {{4, 0}, {4, 1}, {9, 0}};
    Position start = standardPosition();
    start.squares[8] = kEmpty;
    start.status = Status::BlackToMove;
    start.castleLost[3] = 1;
    start.enPassantSquare = 42;
    start.kingsStanding = 2;
    start.loneKingFree = 1;
    start.winOption = 1;
    game.start = start;
    game.result = Status::BlackWins;
    game.termination = EndReason::Resignation;
    game.shownHalfMove = 3;
    game.selected = "2b2";
    game.moves = {{"2b2 - 2b4", std::nullopt, false}, {"2O-O1", std::nullopt, false},
                  {"1a5 - K1a4", std::nullopt, true}, {"2a1 - Nx2c2", std::string("1c4"), false},
                  {"2b7 - Q2b8", std::nullopt, false}};
    const auto read = readGameText(writeGameText(game));
    ASSERT_TRUE(std::holds_alternative<GameText>(read)) << std::get<TextError>(read).reason;
    EXPECT_EQ(std::get<GameText>(read), game);
}

TEST(GameText, AGameWithAKingChoiceReplaysAndComesBackTheSame)
{
    const auto game = importGameText(kKingChoice);
    ASSERT_TRUE(std::holds_alternative<SavedGame>(game)) << reasonOf(game);
    const SavedGame& saved = std::get<SavedGame>(game);
    EXPECT_EQ(saved.halfMoves, 12);
    EXPECT_EQ(saved.position.kingsStanding, 1);
    const auto text = gameTextOf(saved, {"2026.12.07", "Person", "Computer level 2"});
    ASSERT_TRUE(std::holds_alternative<GameText>(text)) << std::get<TextError>(text).reason;
    EXPECT_EQ(writeGameText(std::get<GameText>(text)), kKingChoice);
}

TEST(GameText, TheOtherKingKeptGivesAnotherGame)
{
    const std::string other = replaced(std::string(kKingChoice), "{keeps 1c4}  1c4 - K1b3", "{keeps 1c1}");
    const auto game = importGameText(other);
    ASSERT_TRUE(std::holds_alternative<SavedGame>(game)) << reasonOf(game);
    EXPECT_EQ(std::get<SavedGame>(game).position.squares[indexOf(0, 2, 0)], kWhiteKing);
    EXPECT_EQ(std::get<SavedGame>(game).position.squares[indexOf(0, 2, 3)], kEmpty);
}

TEST(GameText, AMissingOrWrongKingChoiceIsRefusedWithItsMove)
{
    EXPECT_EQ(reasonOf(importGameText(replaced(std::string(kKingChoice), " {keeps 1c4}", ""))),
              "Move 6 (4b5 - Q4c4) cannot be played: it does not say which king is kept.");
    EXPECT_EQ(reasonOf(importGameText(replaced(std::string(kKingChoice), "{keeps 1c4}", "{keeps 2a1}"))),
              "Move 6 (4b5 - Q4c4) cannot be played: the king it keeps is not one of the two that could escape.");
    EXPECT_EQ(reasonOf(importGameText(replaced(std::string(kKingChoice), "1. 4c3 - Q4a1", "1. 4c3 - Q4a1 {keeps 1a1}"))),
              "Move 1 (4c3 - Q4a1) cannot be played: no king had to be chosen after it.");
}

TEST(GameText, AnIllegalMoveNamesItsNumberAndItsText)
{
    EXPECT_EQ(reasonOf(importGameText(replaced(std::string(kOpening), "3b2 - 3b4", "2b2 - 2b9"))),
              "Move 3 (2b2 - 2b9) cannot be played: no piece of the side to move stands on 2b2.");
    EXPECT_EQ(reasonOf(importGameText(replaced(std::string(kOpening), "3b2 - 3b4", "3b2 - 3b9"))),
              "Move 3 (3b2 - 3b9) cannot be played: no piece of the side to move can make it.");
    EXPECT_EQ(reasonOf(importGameText(replaced(std::string(kOpening), "1b8 - N1c6", "1b8 - N1c7"))),
              "Move 2 (1b8 - N1c7) cannot be played: no piece of the side to move can make it.");
    EXPECT_EQ(reasonOf(importGameText(replaced(std::string(kOpening), "2b4 - bx2c5", "2b4 - 2c5"))),
              "Move 2 (2b4 - 2c5) cannot be played: no piece of the side to move can make it.");
    EXPECT_EQ(reasonOf(importGameText(replaced(std::string(kOpening), "3b2 - 3b4", "3b2 - 3b4 {no castle}"))),
              "Move 3 (3b2 - 3b4) cannot be played: the king had no castle to decline.");
    EXPECT_EQ(reasonOf(importGameText(replaced(std::string(kOpening), "3b2 - 3b4", "3b2 - 3b4 2b2"))),
              "Move 3 \"2b2\" is cut short.");
}

TEST(GameText, BadTagsAreRefusedByName)
{
    const std::string opening(kOpening);
    EXPECT_EQ(reasonOf(importGameText("[Result \"2-0\"]\n" + opening)),
              "The tag Result has a value it cannot have: \"2-0\"");
    EXPECT_EQ(reasonOf(importGameText(replaced(opening, "Standard", "Maybe"))),
              "The tag WinOption has a value it cannot have: \"Maybe\"");
    EXPECT_EQ(reasonOf(importGameText("[Date 2026.12.07]\n" + opening)), "Line 1 is not a tag: \"[Date 2026.12.07]\"");
    EXPECT_EQ(reasonOf(importGameText("[Date \"a\"]\n[Date \"b\"]\n" + opening)), "The tag Date is given twice.");
    EXPECT_EQ(reasonOf(importGameText("[Start \"K7/8 w\"]\n" + opening)).substr(0, 36),
              "The tag Start has a value it cannot ");
    EXPECT_EQ(reasonOf(importGameText("[Start \"8/8/8/8/8/8/8/8/8/8/8/8/8/8/8/8/K7 w 0000000000000000 - 2 0\"]\n"))
                  .substr(0, 36),
              "The tag Start has a value it cannot ");
    // Three white kings: a position no game reaches.
    EXPECT_EQ(reasonOf(importGameText("[Start \"KKK5/15/8/8/8/8/8/8/8/8/8/8/8/8/8/7k w 0000000000000000 - 2 0\"]\n")),
              "The tag Start has a value it cannot have: \"KKK5/15/8/8/8/8/8/8/8/8/8/8/8/8/8/7k w 0...\"");
    EXPECT_EQ(reasonOf(importGameText("[Start \"KKK5/8/8/8/8/8/8/8/8/8/8/8/8/8/8/7k w 0000000000000000 - 2 0\"]\n")),
              "The start position cannot be played: one side has more than two kings.");
    EXPECT_EQ(reasonOf(importGameText("[Result \"0-1\"]\n" + opening)), "The moves do not end the game as the text says.");
    EXPECT_EQ(reasonOf(importGameText("[Result \"*\"]\n" + opening + "1-0\n")),
              "The result after the moves is not the one the Result tag gives.");
}

TEST(GameText, GarbageAndHugeTextsAreRefusedWithoutHarm)
{
    std::mt19937 random(7);
    for (int n = 0; n < 300; ++n) {
        std::string text(random() % 400, '\0');
        for (char& c : text) c = static_cast<char>(random() % 256);
        if (n % 3 == 0) text = std::string(kOpening).substr(0, random() % kOpening.size()) + text;
        const auto result = importGameText(text);
        if (const auto* error = std::get_if<TextError>(&result)) {
            EXPECT_FALSE(error->reason.empty());
        }
    }
    EXPECT_EQ(reasonOf(importGameText(std::string(kMaxGameTextBytes + 1, ' '))), "The text is too long to be a game.");
    EXPECT_EQ(reasonOf(importGameText("1. 2b2 - 2b4 {never closed")), "A comment after move 1 is not closed.");
    EXPECT_EQ(reasonOf(importGameText("1. 2b2 - 2b4 *  2c7 - 2c5")), "The text goes on after the result: \"2c7\"");
    EXPECT_EQ(reasonOf(importGameText("hello")), "Move 1 cannot be read: \"hello\"");
}

TEST(GameText, ResignationAndDeclaredDrawEndTheGameAfterItsMoves)
{
    const auto resigned = importGameText("[Result \"1-0\"]\n[Termination \"Resignation\"]\n" + std::string(kOpening));
    ASSERT_TRUE(std::holds_alternative<SavedGame>(resigned)) << reasonOf(resigned);
    EXPECT_EQ(std::get<SavedGame>(resigned).position.status, Status::WhiteWins);
    const auto drawn = importGameText(std::string(kOpening) + "1/2-1/2");
    ASSERT_TRUE(std::holds_alternative<SavedGame>(drawn)) << reasonOf(drawn);
    EXPECT_EQ(std::get<SavedGame>(drawn).position.status, Status::Draw);
    // Black is to move after five half-moves: White cannot have resigned.
    EXPECT_EQ(reasonOf(importGameText("[Result \"0-1\"]\n" + std::string(kOpening))),
              "The moves do not end the game as the text says.");
}

TEST(GameText, FilesAreWrittenWholeAndReadBack)
{
    const auto dir = std::filesystem::temp_directory_path() / ("palisade-text-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    SilentView view;
    GameRoom room(view);
    room.setUp();
    for (const int square : {41, 43, 86, 84}) room.clickSquare(square);
    room.switchSides();
    const std::string path = (dir / "game.txt").string();
    ASSERT_FALSE(exportGameTextFile(path, room.savedGame(), {}));
    const auto read = importGameTextFile(path);
    ASSERT_TRUE(std::holds_alternative<SavedGame>(read)) << reasonOf(read);
    EXPECT_EQ(std::get<SavedGame>(read).halfMoves, 2);
    EXPECT_EQ(std::get<SavedGame>(read).position.sidesSwitched, 0);
    EXPECT_EQ(reasonOf(importGameTextFile((dir / "missing.txt").string())).substr(0, 9), "The file ");
    const auto refused = exportGameTextFile((dir / "no" / "game.txt").string(), room.savedGame(), {});
    ASSERT_TRUE(refused);
    EXPECT_NE(refused->reason.find("could not be written"), std::string::npos);
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace palisade
