// Three thousand seeded random games played through the game room, each
// fingerprinted by a SHA-256 of everything its player was shown, in order:
// the screen after every input and command, every question with the picture
// at that moment and the answer given, beeps, notices, refused moves, and the
// bytes of every saved game. room_traces.txt keeps one line "GAME HASH" a game;
// a change in what any game shows fails here.
//
//   PALISADE_ROOM_TRACES=write build/tests/gameroom/room_trace_test
//       writes room_traces.txt anew from this run, for a change meant to alter
//       what the player sees.
//   PALISADE_ROOM_TRACE_GAME=N build/tests/gameroom/room_trace_test
//       plays game N alone, compares it, and writes all it showed, line by
//       line, to room-trace-N.txt in the working directory: the same on the
//       build before a change, and `diff` shows where the two part.

#include "random_game.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace palisade::trace {
namespace {

constexpr int kGames = 3000;
constexpr int kEnoughGames = 20;

TEST(Sha256, GivesTheStandardDigests)
{
    const auto digest = [](std::string_view bytes) {
        Sha256 sha;
        sha.add(bytes);
        return sha.hex();
    };
    EXPECT_EQ(digest(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(digest("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(digest("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    // A million bytes fed in uneven pieces.
    Sha256 sha;
    for (int fed = 0; fed < 1000000; fed += 1000) {
        sha.add(std::string(999, 'a'));
        sha.add("a");
    }
    EXPECT_EQ(sha.hex(), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

// A folder of its own for the saved games, gone afterwards.
class ScratchFolder {
public:
    ScratchFolder()
    {
        std::string name =
            (std::filesystem::temp_directory_path() / "palisade-room-trace-XXXXXX").string();
        if (!mkdtemp(name.data())) throw std::runtime_error("no scratch folder in " + name);
        path_ = name;
    }
    ~ScratchFolder() { std::filesystem::remove_all(path_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

std::map<int, std::string> expectedDigests()
{
    std::map<int, std::string> digests;
    std::ifstream in(ROOM_TRACES_FILE);
    int game = 0;
    std::string digest;
    while (in >> game >> digest) digests[game] = digest;
    return digests;
}

std::string traceFileName(int game) { return "room-trace-" + std::to_string(game) + ".txt"; }

std::string rerunHint(int game)
{
    return "PALISADE_ROOM_TRACE_GAME=" + std::to_string(game)
           + " room_trace_test writes all it showed to " + traceFileName(game)
           + ", to compare with the same from the build before";
}

// The game named by PALISADE_ROOM_TRACE_GAME, written down line by line.
void playOneGame(int game)
{
    const ScratchFolder folder;
    std::ofstream out(traceFileName(game));
    RandomGame random(static_cast<unsigned>(game), folder.path(), &out);
    const std::string digest = random.play();
    ASSERT_TRUE(out.flush()) << "could not write " << traceFileName(game);
    std::cout << "game " << game << " " << digest << ", all it showed in " << traceFileName(game)
              << '\n';
    EXPECT_EQ(digest, expectedDigests()[game]) << "game " << game;
}

void writeDigests(const std::vector<std::string>& digests)
{
    std::ofstream out(ROOM_TRACES_FILE);
    for (std::size_t game = 0; game < digests.size(); ++game)
        out << game << ' ' << digests[game] << '\n';
    ASSERT_TRUE(out.flush()) << "could not write " << ROOM_TRACES_FILE;
}

void compareDigests(const std::vector<std::string>& digests)
{
    const std::map<int, std::string> expected = expectedDigests();
    ASSERT_EQ(expected.size(), digests.size()) << "games in " << ROOM_TRACES_FILE;
    int differing = 0;
    for (int game = 0; game < kGames; ++game) {
        if (expected.at(game) == digests[game]) continue;
        if (differing++ == 0) {
            ADD_FAILURE() << "game " << game << " (seed " << game
                          << ") showed something else first; " << rerunHint(game);
        }
    }
    EXPECT_EQ(differing, 0) << "games that showed something else";
}

TEST(RoomTrace, EveryGameShowsWhatItShowedBefore)
{
    if (const char* only = std::getenv("PALISADE_ROOM_TRACE_GAME")) {
        playOneGame(std::atoi(only));
        return;
    }
    const ScratchFolder folder;
    std::vector<std::string> digests;
    std::array<int, kBranchCount> reached{};
    for (int game = 0; game < kGames; ++game) {
        RandomGame random(static_cast<unsigned>(game), folder.path(), nullptr);
        digests.push_back(random.play());
        for (int b = 0; b < kBranchCount; ++b) reached[b] += random.reached()[b] ? 1 : 0;
    }
    for (int b = 0; b < kBranchCount; ++b) {
        std::cout << "games reaching " << kBranchNames[b] << ": " << reached[b] << '\n';
        EXPECT_GE(reached[b], kEnoughGames) << kBranchNames[b];
    }
    const char* mode = std::getenv("PALISADE_ROOM_TRACES");
    if (mode && std::string_view(mode) == "write") {
        writeDigests(digests);
    } else {
        compareDigests(digests);
    }
}

} // namespace
} // namespace palisade::trace
