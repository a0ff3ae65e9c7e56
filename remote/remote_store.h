#pragma once

#include "gameroom/saved_game.h"
#include "remote/remote_game.h"
#include "remote/remote_record.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace palisade::remote {

// A stored game as the list of remote games shows it.
struct StoredGameSummary {
    std::string gameId;
    std::string opponent;
    Side localSide = Side::White;
    Carrier carrier = Carrier::Xmpp;
    // "Your move", "OPPONENT's move" or the result text.
    std::string turnText;
    bool localToMove = false;
    bool finished = false;
    std::string file; // its .brd
};

struct StoredGame {
    SavedGame game;
    RemoteRecord record;
    std::string file;
};

// Every remote game, kept in the data folder as remote-GAMEID.brd with its
// record beside it, written after each agreed change. File names come from
// the game id only, never from anything else the network sends.
class RemoteStore {
public:
    explicit RemoteStore(std::filesystem::path folder);

    const std::filesystem::path& folder() const { return folder_; }
    // Its .brd; empty when `gameId` is not a game id.
    std::string fileOf(std::string_view gameId) const;

    // Writes the game and its record, creating the folder when needed; the old
    // files stay until both new ones are whole. A record that would not read
    // back as it is (a name with a line break, ...) is refused.
    std::optional<FileError> store(const SavedGame& game, const RemoteRecord& record);
    // The game through the saved-game reader and its checks, and its record,
    // which must belong to the game file's bytes as they are.
    std::variant<StoredGame, FileError> load(std::string_view gameId) const;
    // Every game that loads, newest first; broken ones are left out.
    std::vector<StoredGameSummary> games() const;

    // A message for a stored game that no window shows: played on the stored
    // file through a game room of its own, exactly as an open game would, and
    // stored again. `send` takes what the game answers (acknowledgements).
    // Returns what the player should be told, if anything (a move arrived,
    // an offer, a refusal). An invitation is not delivered here: the owner
    // answers it, and the stored game stays as it was.
    struct Delivery {
        bool known = false;       // the game id names a stored game
        bool changed = false;     // the stored game changed
        std::string notice;       // for the player, e.g. "alice@example.org moved in your game."
    };
    Delivery deliver(std::string_view gameId, std::string_view message,
                     const std::function<void(const std::string&)>& send);

private:
    std::filesystem::path folder_;
};

} // namespace palisade::remote
