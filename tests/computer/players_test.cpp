#include "computer/players.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace palisade {
namespace {

TEST(Players, TextRoundTripsAndAnythingElseIsRefused)
{
    const Players players{{false, 3}, {true, 5}};
    EXPECT_EQ(playersText(players), "White: Person\nBlack: Computer 5\n");
    EXPECT_EQ(playersOfText(playersText(players)), players);
    for (const char* text : {"", "White: Person\n", "White: Person\nBlack: Computer 6\n",
                             "White: Person\nBlack: Computer 0\n", "Black: Person\nWhite: Person\n",
                             "White: Person\nBlack: Person\nmore\n", "White: Computer\nBlack: Person\n"}) {
        EXPECT_FALSE(playersOfText(text)) << text;
    }
}

// A folder of its own, gone afterwards.
struct Folder {
    Folder() { std::filesystem::create_directories(path); }
    ~Folder() { std::filesystem::remove_all(path); }
    std::string file(const char* name) const { return (path / name).string(); }
    std::filesystem::path path = std::filesystem::temp_directory_path() / "palisade_players_test";
};

void write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

TEST(Players, KeptBesideTheGameAndRemovedForTwoPeople)
{
    const Folder folder;
    const std::string game = folder.file("game.brd");
    write(game, "the game's bytes");
    const Players players{{true, 2}, {false, 3}};
    ASSERT_TRUE(keepPlayers(game, players));
    EXPECT_EQ(readPlayers(game).state, KeptPlayers::State::Kept);
    EXPECT_EQ(readPlayers(game).players, players);
    ASSERT_TRUE(keepPlayers(game, Players{}));
    EXPECT_FALSE(std::filesystem::exists(playersFileName(game)));
    EXPECT_EQ(readPlayers(game).state, KeptPlayers::State::None);
}

// Players kept for other bytes of the game, or a file this program did not
// write, do not count: two people play, and the reader says so.
TEST(Players, ThoseOfAnotherVersionOfTheGameOrAStrangeFileDoNotCount)
{
    const Folder folder;
    const std::string game = folder.file("game.brd");
    write(game, "the game's bytes");
    ASSERT_TRUE(keepPlayers(game, {{true, 2}, {false, 3}}));
    write(game, "the game saved again by another program");
    const auto expectNotThisGame = [&](const std::string& why) {
        const KeptPlayers kept = readPlayers(game);
        EXPECT_EQ(kept.state, KeptPlayers::State::NotThisGame) << why;
        EXPECT_EQ(kept.players, Players{}) << why;
    };
    expectNotThisGame("kept for other bytes");
    for (const std::string& strange : {std::string(), std::string(1000, 'x'), std::string("White: Person\nBlack: Computer 2\n")}) {
        write(playersFileName(game), strange);
        expectNotThisGame(strange);
    }
    // A game that cannot be read has nothing beside it that belongs to it.
    ASSERT_TRUE(keepPlayers(game, {{true, 2}, {false, 3}}));
    std::filesystem::remove(game);
    EXPECT_EQ(readPlayers(game).state, KeptPlayers::State::NotThisGame);
    EXPECT_FALSE(keepPlayers(game, {{true, 2}, {false, 3}}));
}

} // namespace
} // namespace palisade
