#include "computer/players.h"


#include <cstdio>
#include <fstream>
#include <sstream>

namespace palisade {

namespace {

constexpr std::size_t kLongestFile = 256;

std::string playerText(const Player& player)
{
    return player.computer ? "Computer " + std::to_string(player.level) : std::string("Person");
}

std::optional<Player> playerOfText(const std::string& text)
{
    if (text == "Person") return Player{};
    const std::string computer = "Computer ";
    if (text.size() != computer.size() + 1 || text.compare(0, computer.size(), computer) != 0) return std::nullopt;
    const int level = text.back() - '0';
    if (level < 1 || level > kLevelCount) return std::nullopt;
    return Player{true, level};
}

// "NAME: VALUE" with the expected name.
std::optional<Player> playerLine(std::istream& in, const std::string& name)
{
    std::string line;
    if (!std::getline(in, line)) return std::nullopt;
    const std::string prefix = name + ": ";
    if (line.compare(0, prefix.size(), prefix) != 0) return std::nullopt;
    return playerOfText(line.substr(prefix.size()));
}

bool writePlayers(const std::string& gameFileName, const Players& players)
{
    std::ofstream out(playersFileName(gameFileName), std::ios::binary | std::ios::trunc);
    out << playersText(players);
    out.flush();
    return static_cast<bool>(out);
}

} // namespace

std::string playersFileName(const std::string& gameFileName) { return gameFileName + ".players"; }

std::string playersText(const Players& players)
{
    return "White: " + playerText(players.white) + "\nBlack: " + playerText(players.black) + "\n";
}

std::optional<Players> playersOfText(const std::string& text)
{
    std::istringstream in(text);
    const auto white = playerLine(in, "White");
    const auto black = playerLine(in, "Black");
    std::string rest;
    if (!white || !black || std::getline(in, rest)) return std::nullopt;
    return Players{*white, *black};
}

std::optional<Players> readPlayers(const std::string& gameFileName)
{
    std::ifstream in(playersFileName(gameFileName), std::ios::binary);
    if (!in) return std::nullopt;
    std::string text(kLongestFile + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (text.size() > kLongestFile) return std::nullopt;
    return playersOfText(text);
}

bool keepPlayers(const std::string& gameFileName, const Players& players)
{
    if (players.anyComputer()) return writePlayers(gameFileName, players);
    const std::string name = playersFileName(gameFileName);
    std::remove(name.c_str());
    return true;
}

} // namespace palisade
