#include "cli/play.h"

#include "cli/state_line.h"
#include "cli/text_view.h"
#include "gameroom/game_file.h"
#include "gameroom/game_room.h"

#include <map>
#include <optional>
#include <sstream>

namespace palisade {

namespace {

struct Script {
    std::string file;
    std::string answers;
    std::string save;
    std::vector<std::string> tokens;
};

const std::map<std::string, void (GameRoom::*)()>& commands()
{
    static const std::map<std::string, void (GameRoom::*)()> table = {
        {"back", &GameRoom::takeBack},    {"forward", &GameRoom::forward},
        {"first", &GameRoom::backToFirstMove}, {"last", &GameRoom::forwardToEnd},
        {"switch", &GameRoom::switchSides}, {"option", &GameRoom::toggleWinOption},
        {"draw", &GameRoom::declareDraw}, {"resign", &GameRoom::resign},
        {"new", &GameRoom::newGame},
    };
    return table;
}

// Reads the options and checks every token before anything is played.
std::optional<Script> parse(const std::vector<std::string>& arguments, std::ostream& err)
{
    Script script;
    std::size_t at = 0;
    const std::map<std::string, std::string Script::*> options = {
        {"--file", &Script::file}, {"--answers", &Script::answers}, {"--save", &Script::save}};
    for (; at < arguments.size(); at += 2) {
        const auto option = options.find(arguments[at]);
        if (option == options.end()) break;
        if (at + 1 >= arguments.size() || arguments[at + 1].empty()) {
            err << "palisade-cli play: " << arguments[at] << " needs a value\n";
            return std::nullopt;
        }
        script.*(option->second) = arguments[at + 1];
    }
    if (script.answers.find_first_not_of("yn") != std::string::npos) {
        err << "palisade-cli play: answers are letters y and n: " << script.answers << '\n';
        return std::nullopt;
    }
    for (; at < arguments.size(); ++at) {
        const std::string& token = arguments[at];
        if (!squareToken(token) && !commands().count(token)) {
            err << "palisade-cli play: not a square (0..127) or a command: " << token << '\n';
            return std::nullopt;
        }
        script.tokens.push_back(token);
    }
    return script;
}

void playToken(GameRoom& room, const std::string& token)
{
    if (const auto square = squareToken(token)) {
        room.clickSquare(*square);
    } else {
        (room.*commands().at(token))();
    }
}

} // namespace

int runPlay(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    const auto script = parse(arguments, err);
    if (!script) return 2;

    std::optional<SavedGame> saved;
    if (!script->file.empty()) {
        auto game = readSavedGame(script->file);
        if (const auto* error = std::get_if<FileError>(&game)) {
            err << "palisade-cli play: could not open the saved game " << script->file << ": " << error->reason
                << ".\n";
            return 2;
        }
        saved = std::get<SavedGame>(std::move(game));
    }

    TextView view(out, script->answers);
    GameRoom room(view);
    if (saved) {
        room.load(*saved, script->file);
    } else {
        room.setUp();
        room.activate();
    }
    writeState(out, "start", room);
    for (const std::string& token : script->tokens) {
        playToken(room, token);
        writeState(out, token, room);
    }

    if (!script->save.empty()) {
        if (const auto error = writeSavedGame(script->save, room.savedGame())) {
            err << "palisade-cli play: could not save " << script->save << ": " << error->reason << ".\n";
            return 2;
        }
    }
    return 0;
}

} // namespace palisade
