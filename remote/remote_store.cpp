#include "remote/remote_store.h"

#include "gameroom/beside_file.h"
#include "gameroom/game_file.h"
#include "gameroom/game_room.h"
#include "gameroom/result_text.h"
#include "gameroom/silent_view.h"

#include <algorithm>
#include <system_error>

namespace palisade::remote {

namespace {

constexpr std::string_view kKind = "remote";
constexpr std::string_view kPrefix = "remote-";
constexpr std::string_view kSuffix = ".brd";

// The game id a stored game's file name carries; nothing for any other file.
std::optional<std::string> gameIdOfName(const std::string& name)
{
    if (name.size() <= kPrefix.size() + kSuffix.size() || !name.starts_with(kPrefix) || !name.ends_with(kSuffix)) {
        return std::nullopt;
    }
    std::string id = name.substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size());
    if (!isGameId(id)) return std::nullopt;
    return id;
}

std::string fileNameOf(const std::string& file) { return std::filesystem::path(file).filename().string(); }

// Whose turn it is at the newest position of the game, in the list's words.
void describeTurn(const StoredGame& stored, StoredGameSummary& summary)
{
    SilentView screen;
    GameRoom room(screen);
    room.load(stored.game, stored.file);
    room.forwardToEnd();
    if (const auto result = room.result()) {
        summary.finished = true;
        summary.turnText = resultLine(*result);
        return;
    }
    summary.localToMove = sideToMove(room.position().status) == stored.record.setup.localSide;
    summary.turnText = summary.localToMove ? "Your move" : stored.record.setup.opponent + "'s move";
}

} // namespace

RemoteStore::RemoteStore(std::filesystem::path folder) : folder_(std::move(folder)) {}

std::string RemoteStore::fileOf(std::string_view gameId) const
{
    if (!isGameId(gameId)) return {};
    return (folder_ / (std::string(kPrefix) + std::string(gameId) + std::string(kSuffix))).string();
}

std::optional<FileError> RemoteStore::store(const SavedGame& game, const RemoteRecord& record)
{
    const std::string file = fileOf(record.setup.gameId);
    const std::string recordText = encodeRecord(record);
    if (file.empty() || decodeRecord(recordText) != record) {
        return FileError{"the remote game's opponent or state cannot be kept as they are"};
    }
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    if (error) return FileError{"the folder " + folder_.string() + " could not be made: " + error.message()};
    const std::string gameBytes = encodeSavedGame(game);
    return writeFilesWhole({{file, gameBytes}, {besideFileName(file, kKind), besideBytes(gameBytes, recordText)}});
}

std::variant<StoredGame, FileError> RemoteStore::load(std::string_view gameId) const
{
    const std::string file = fileOf(gameId);
    if (file.empty()) return FileError{"no remote game is called " + std::string(gameId)};
    auto game = readSavedGame(file);
    if (const auto* error = std::get_if<FileError>(&game)) {
        return FileError{"the remote game " + fileNameOf(file) + " could not be opened: " + error->reason};
    }
    const BesideFile beside = readBeside(file, kKind);
    const std::string besideName = fileNameOf(besideFileName(file, kKind));
    switch (beside.state) {
    case BesideFile::State::Missing:
        return FileError{"the remote game " + fileNameOf(file) + " has no " + besideName + " naming its opponent"};
    case BesideFile::State::Stale:
        return FileError{besideName + " was kept for other bytes of " + fileNameOf(file)
                         + " (was it changed by hand?), so it is set aside"};
    case BesideFile::State::Unreadable:
    case BesideFile::State::Belongs: break;
    }
    const auto record = decodeRecord(beside.content);
    const SavedGame& saved = std::get<SavedGame>(game);
    if (beside.state == BesideFile::State::Unreadable || !record || record->setup.gameId != gameId
        || record->session.agreedHalfMove > saved.lastHalfMove) {
        return FileError{besideName + " is damaged or belongs to another game, so it is set aside"};
    }
    return StoredGame{saved, *record, file};
}

std::vector<StoredGameSummary> RemoteStore::games() const
{
    struct Dated {
        std::filesystem::file_time_type time;
        StoredGameSummary summary;
    };
    std::vector<Dated> found;
    std::error_code error;
    std::filesystem::directory_iterator entries(folder_, error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const std::filesystem::directory_entry& entry = *entries;
        const auto id = gameIdOfName(entry.path().filename().string());
        if (!id || !entry.is_regular_file(error)) continue;
        const auto loaded = load(*id);
        const auto* stored = std::get_if<StoredGame>(&loaded);
        if (!stored) continue;
        const RemoteRecord& record = stored->record;
        StoredGameSummary summary{*id, record.setup.opponent, record.setup.localSide, record.carrier, {}, false, false,
                                  stored->file};
        describeTurn(*stored, summary);
        found.push_back({entry.last_write_time(error), std::move(summary)});
    }
    std::sort(found.begin(), found.end(), [](const Dated& a, const Dated& b) {
        if (a.time != b.time) return a.time > b.time;
        return a.summary.gameId < b.summary.gameId;
    });
    std::vector<StoredGameSummary> summaries;
    for (Dated& dated : found) summaries.push_back(std::move(dated.summary));
    return summaries;
}

} // namespace palisade::remote
