// Any bytes given to the game text reader and played through the game room:
// a text is refused with a reason, or it gives tags and moves that write back
// to a text read the same; a game it gives is written as text again, and that
// text plays to the very same saved bytes.

#include "gameroom/game_text.h"
#include "gameroom/game_text_file.h"
#include "gameroom/saved_game.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace palisade;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto read = readGameText(text);
    if (const auto* error = std::get_if<TextError>(&read)) {
        if (error->reason.empty()) std::abort();
        return 0;
    }
    const GameText& game = std::get<GameText>(read);
    const auto reread = readGameText(writeGameText(game));
    if (!std::holds_alternative<GameText>(reread) || !(std::get<GameText>(reread) == game)) std::abort();

    const auto played = replayGameText(game);
    const auto* saved = std::get_if<SavedGame>(&played);
    if (!saved) return 0;
    const auto written = gameTextOf(*saved, {});
    if (!std::holds_alternative<GameText>(written)) std::abort();
    const auto again = importGameText(writeGameText(std::get<GameText>(written)));
    const auto* replayed = std::get_if<SavedGame>(&again);
    if (!replayed || encodeSavedGame(*replayed) != encodeSavedGame(*saved)) std::abort();
    return 0;
}
