#include "gameroom/beside_file.h"

#include "gameroom/game_file.h"
#include "gameroom/sha256.h"

#include <cstdio>
#include <variant>

namespace palisade {

namespace {

constexpr std::string_view kStampPrefix = "sha256 ";
constexpr std::size_t kDigestLength = 64;

// The fingerprint of the game file's bytes; nothing when it cannot be read.
std::optional<std::string> stampOf(const std::string& gameFile)
{
    const auto bytes = readFileBytes(gameFile);
    if (const auto* read = std::get_if<std::string>(&bytes)) return sha256Hex(*read);
    return std::nullopt;
}

std::string stamped(const std::string& stamp, const std::string& content)
{
    return std::string(kStampPrefix) + stamp + '\n' + content;
}

} // namespace

std::string besideFileName(const std::string& gameFile, std::string_view kind)
{
    return gameFile + '.' + std::string(kind);
}

BesideFile readBeside(const std::string& gameFile, std::string_view kind)
{
    const auto bytes = readFileBytes(besideFileName(gameFile, kind));
    const auto* text = std::get_if<std::string>(&bytes);
    if (!text) return {BesideFile::State::Missing, {}};
    const std::size_t lineEnd = kStampPrefix.size() + kDigestLength;
    if (text->size() <= lineEnd || text->compare(0, kStampPrefix.size(), kStampPrefix) != 0
        || (*text)[lineEnd] != '\n') {
        return {BesideFile::State::Unreadable, {}};
    }
    const std::string stamp = text->substr(kStampPrefix.size(), kDigestLength);
    std::string content = text->substr(lineEnd + 1);
    if (stampOf(gameFile) != stamp) return {BesideFile::State::Stale, std::move(content)};
    return {BesideFile::State::Belongs, std::move(content)};
}

std::optional<FileError> writeBeside(const std::string& gameFile, std::string_view kind,
                                     const std::string& content)
{
    const auto stamp = stampOf(gameFile);
    if (!stamp) return FileError{"the saved game it belongs to could not be read"};
    return writeFileWhole(besideFileName(gameFile, kind), stamped(*stamp, content));
}

std::string besideBytes(std::string_view gameBytes, const std::string& content)
{
    return stamped(sha256Hex(gameBytes), content);
}

void removeBeside(const std::string& gameFile, std::string_view kind)
{
    std::remove(besideFileName(gameFile, kind).c_str());
}

} // namespace palisade
