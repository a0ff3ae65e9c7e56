#include "cli/text_commands.h"

#include "gameroom/game_file.h"
#include "gameroom/game_text_file.h"

namespace palisade {

int runExportText(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    if (arguments.size() != 1) {
        err << "usage: palisade-cli export-text FILE.brd\n";
        return 2;
    }
    const std::string& path = arguments[0];
    const auto game = readSavedGame(path);
    if (const auto* error = std::get_if<FileError>(&game)) {
        err << "palisade-cli: " << path << ": " << error->reason << '\n';
        return 1;
    }
    GameTextHeader header;
    header.date = todayForGameText();
    const auto text = gameTextOf(std::get<SavedGame>(game), header);
    if (const auto* error = std::get_if<TextError>(&text)) {
        err << "palisade-cli: " << path << ": " << error->reason << '\n';
        return 1;
    }
    out << writeGameText(std::get<GameText>(text));
    return 0;
}

int runImportText(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    if (arguments.size() != 3 || arguments[1] != "--save") {
        err << "usage: palisade-cli import-text FILE.txt --save OUT.brd\n";
        return 2;
    }
    const std::string& path = arguments[0];
    const std::string& saveTo = arguments[2];
    const auto game = importGameTextFile(path);
    if (const auto* error = std::get_if<TextError>(&game)) {
        err << "palisade-cli: " << path << ": " << error->reason << '\n';
        return 1;
    }
    if (const auto error = writeSavedGame(saveTo, std::get<SavedGame>(game))) {
        err << "palisade-cli: " << saveTo << ": " << error->reason << '\n';
        return 1;
    }
    out << "saved " << saveTo << '\n';
    return 0;
}

} // namespace palisade
