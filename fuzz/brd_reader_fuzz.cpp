// Any bytes given to the saved-game reader: it must refuse them or return a
// game that passes its own checks and writes back to bytes it reads again.

#include "gameroom/saved_game.h"
#include "gameroom/saved_game_check.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace palisade;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto result = decodeSavedGame(bytes);
    if (const auto* game = std::get_if<SavedGame>(&result)) {
        if (checkSavedGame(*game)) std::abort();
        const auto again = decodeSavedGame(encodeSavedGame(*game));
        const auto* reread = std::get_if<SavedGame>(&again);
        if (!reread || !(*reread == *game)) std::abort();
    }
    return 0;
}
