// palisade-cli play as scripts use it: a game split anywhere and resumed from
// its saved file plays on the same, and a bad command line changes nothing.

#include "cli/play.h"
#include "cli/text_view.h"
#include "gameroom/game_room.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <cstdio>
#include <random>
#include <sstream>
#include <unistd.h>

namespace palisade {
namespace {

namespace fs = std::filesystem;
using Tokens = std::vector<std::string>;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome play(Tokens arguments)
{
    std::ostringstream out, err;
    const int status = runPlay(arguments, out, err);
    return {status, out.str(), err.str()};
}

std::string bytesOf(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// The fields that a reopened game must show alike: status, half, selected,
// marks and board (the last move's text is not kept in a file).
std::vector<std::string> keptFields(const std::string& output)
{
    std::vector<std::string> kept;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (line.find(" | ") == std::string::npos) continue;
        std::vector<std::string> fields;
        for (std::size_t at = 0, next; at != std::string::npos; at = next == std::string::npos ? next : next + 3) {
            next = line.find(" | ", at);
            fields.push_back(line.substr(at, next == std::string::npos ? next : next - at));
        }
        kept.push_back(fields[1] + '|' + fields[4] + '|' + fields[6] + '|' + fields[9] + '|' + fields[10]);
    }
    return kept;
}

// A random game as tokens: mostly a piece of the side to move and one of its
// marks, now and then a command. Played alongside on a room of its own.
Tokens randomScript(std::mt19937& rng, int length, bool allowNew)
{
    std::ostringstream quiet;
    TextView view(quiet, std::string(64, 'y'));
    GameRoom room(view);
    room.setUp();
    const Tokens commands = {"back", "forward", "first", "last", "switch", "option", "draw", "resign"};
    Tokens tokens;
    while (static_cast<int>(tokens.size()) < length) {
        if (rng() % 10 == 0) {
            const std::string command = allowNew && rng() % 20 == 0 ? "new" : commands[rng() % commands.size()];
            tokens.push_back(command);
            if (command == "new") break; // its question depends on the game having been saved
            continue;
        }
        const int square = static_cast<int>(rng() % kSquareCount);
        room.clickSquare(square);
        tokens.push_back(std::to_string(square));
    }
    return tokens;
}

TEST(Play, AGameSplitAnywhereResumesFromItsFile)
{
    const fs::path dir = fs::temp_directory_path() / ("play_test_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::mt19937 rng(11);
    int compared = 0;
    std::size_t tokens = 0, bytes = 0;
    for (int round = 0; round < 300; ++round) {
        const Tokens script = randomScript(rng, 20 + static_cast<int>(rng() % 120), false);
        const std::size_t cut = rng() % script.size();
        const Tokens first(script.begin(), script.begin() + static_cast<long>(cut));
        const Tokens second(script.begin() + static_cast<long>(cut), script.end());
        const std::string f = (dir / "f.brd").string(), g = (dir / "g.brd").string();
        Tokens save = {"--save", f};
        save.insert(save.end(), first.begin(), first.end());
        ASSERT_EQ(play(save).status, 0);
        ASSERT_EQ(play({"--file", f, "--save", g}).status, 0);
        ASSERT_EQ(bytesOf(f), bytesOf(g)) << "round " << round;
        tokens += script.size();
        bytes += bytesOf(f).size();

        Tokens resumed = {"--file", f};
        resumed.insert(resumed.end(), second.begin(), second.end());
        const std::vector<std::string> fromFile = keptFields(play(resumed).out);
        const std::vector<std::string> whole = keptFields(play(script).out);
        ASSERT_EQ(fromFile, std::vector<std::string>(whole.end() - static_cast<long>(fromFile.size()), whole.end()))
            << "round " << round << ", cut at " << cut;
        compared += static_cast<int>(fromFile.size());
    }
    EXPECT_GT(compared, 300 * 10);
    std::printf("300 scripts, %zu tokens, %zu saved bytes compared, %d state lines compared\n", tokens, bytes,
                compared);
    fs::remove_all(dir);
}

TEST(Play, TheWindowsSaveWritesTheBytesOfSave)
{
    const fs::path dir = fs::temp_directory_path() / ("play_save_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const Tokens moves = {"41", "43", "54", "52", "43", "52", "8"};
    Tokens save = {"--save", (dir / "cli.brd").string()};
    save.insert(save.end(), moves.begin(), moves.end());
    ASSERT_EQ(play(save).status, 0);

    std::ostringstream quiet;
    TextView view(quiet, "");
    GameRoom room(view);
    room.setUp();
    for (const std::string& square : moves) room.clickSquare(std::stoi(square));
    ASSERT_TRUE(room.save((dir / "window.brd").string()));
    EXPECT_EQ(bytesOf(dir / "cli.brd"), bytesOf(dir / "window.brd"));
    fs::remove_all(dir);
}

TEST(Play, BadCommandLinesChangeNothing)
{
    const fs::path dir = fs::temp_directory_path() / ("play_bad_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string out = (dir / "out.brd").string();
    const std::vector<Tokens> bad = {
        {"--save", out, "128"}, {"--save", out, "-1"}, {"--save", out, "08"}, {"--save", out, "+8"},
        {"--save", out, "castle"}, {"--save", out, "41", "--answers", "y"}, {"--answers", "yx", "--save", out},
        {"--file"}, {"--save", out, "--file", (dir / "missing.brd").string(), "41"},
        {"--save", out, "--file", std::string(PLAY_TEST_DATA) + "/../golden/mate.args"},
    };
    for (const Tokens& arguments : bad) {
        const Outcome run = play(arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.out.empty()) << run.out;
        EXPECT_FALSE(run.err.empty());
        EXPECT_FALSE(fs::exists(out));
    }
    // A file it cannot write: the message, and no file.
    const Outcome unwritable = play({"--save", (dir / "no" / "such" / "dir.brd").string(), "41", "43"});
    EXPECT_EQ(unwritable.status, 2);
    EXPECT_FALSE(unwritable.err.empty());
    EXPECT_FALSE(fs::exists(dir / "no"));
    fs::remove_all(dir);
}

} // namespace
} // namespace palisade
