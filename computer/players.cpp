#include "computer/players.h"

#include "gameroom/beside_file.h"

#include <sstream>

namespace palisade {

namespace {

constexpr std::string_view kKind = "players";

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

} // namespace

std::string playersFileName(const std::string& gameFileName) { return besideFileName(gameFileName, kKind); }

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

KeptPlayers readPlayers(const std::string& gameFileName)
{
    const BesideFile file = readBeside(gameFileName, kKind);
    if (file.state == BesideFile::State::Missing) return {};
    const auto players = playersOfText(file.content);
    if (file.state != BesideFile::State::Belongs || !players) return {KeptPlayers::State::NotThisGame, {}};
    return {KeptPlayers::State::Kept, *players};
}

bool keepPlayers(const std::string& gameFileName, const Players& players)
{
    if (players.anyComputer()) return !writeBeside(gameFileName, kKind, playersText(players));
    removeBeside(gameFileName, kKind);
    return true;
}

} // namespace palisade
