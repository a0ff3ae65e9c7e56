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

TEST(Players, KeptBesideTheGameAndRemovedForTwoPeople)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "palisade_players_test";
    std::filesystem::create_directories(dir);
    const std::string game = (dir / "game.brd").string();
    const Players players{{true, 2}, {false, 3}};
    ASSERT_TRUE(keepPlayers(game, players));
    EXPECT_EQ(readPlayers(game), players);
    ASSERT_TRUE(keepPlayers(game, Players{}));
    EXPECT_FALSE(std::filesystem::exists(playersFileName(game)));
    EXPECT_FALSE(readPlayers(game));

    std::ofstream(playersFileName(game)) << std::string(1000, 'x');
    EXPECT_FALSE(readPlayers(game));
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace palisade
