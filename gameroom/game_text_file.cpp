#include "gameroom/game_text_file.h"

#include "gameroom/game_file.h"

#include <ctime>
#include <fstream>

namespace palisade {

std::variant<SavedGame, TextError> importGameText(std::string_view text)
{
    auto read = readGameText(text);
    if (auto* error = std::get_if<TextError>(&read)) return *error;
    return replayGameText(std::get<GameText>(read));
}

std::variant<SavedGame, TextError> importGameTextFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) return TextError{"The file " + path + " could not be read."};
    // One byte more than a game text may have tells a file that is too long.
    std::string text(kMaxGameTextBytes + 1, '\0');
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (file.bad()) return TextError{"The file " + path + " could not be read."};
    text.resize(static_cast<std::size_t>(file.gcount()));
    return importGameText(text);
}

std::optional<TextError> exportGameTextFile(const std::string& path, const SavedGame& game,
                                            const GameTextHeader& header)
{
    auto text = gameTextOf(game, header);
    if (auto* error = std::get_if<TextError>(&text)) return *error;
    if (auto error = writeFileWhole(path, writeGameText(std::get<GameText>(text)))) {
        return TextError{"The file " + path + " could not be written: " + error->reason + "."};
    }
    return std::nullopt;
}

std::string todayForGameText()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y.%m.%d", &local);
    return text;
}

} // namespace palisade
