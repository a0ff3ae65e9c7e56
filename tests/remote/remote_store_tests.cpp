#include "remote/remote_store.h"

#include "gameroom/beside_file.h"
#include "gameroom/game_file.h"
#include "gameroom/game_room.h"
#include "gameroom/silent_view.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace palisade::remote {
namespace {

constexpr const char* kGameId = "0123456789abcdef";

std::string messageText(std::uint32_t sequence, MessageBody body)
{
    return encode(WireMessage{kGameId, sequence, std::move(body)});
}

RemoteRecord fullRecord()
{
    RemoteRecord record;
    record.setup = {kGameId, Side::Black, "Åsa <asa@example.org>"};
    record.carrier = Carrier::Xmpp;
    record.account = "bob@example.org/palisade";
    record.session.nextSequence = 9;
    record.session.lastReceived = 4000000000u;
    record.session.agreedHalfMove = 12;
    record.session.unacknowledged = {messageText(6, Chat{"good luck"}),
                                     messageText(8, MoveMessage{12, 33, 41, MoveAnswer::Queen, 0x5f3a09c2d4e1b687})};
    record.session.ownOffer = OpenOffer{OfferKind::TakeBack, 12};
    record.session.opponentOffer = OpenOffer{OfferKind::Draw, 11};
    return record;
}

// `text` with the first `from` replaced by `to`.
std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(RemoteRecord, RoundTripsEveryFieldAndTheTextItself)
{
    const RemoteRecord record = fullRecord();
    const std::string text = encodeRecord(record);
    EXPECT_EQ(decodeRecord(text), record);
    EXPECT_EQ(encodeRecord(*decodeRecord(text)), text);

    RemoteRecord plain;
    plain.setup = {kGameId, Side::White, "192.168.1.20"};
    plain.carrier = Carrier::Direct;
    EXPECT_EQ(decodeRecord(encodeRecord(plain)), plain);
}

// Each field out of its values, and the text around them out of shape.
TEST(RemoteRecord, RefusesEveryHostileField)
{
    const std::string good = encodeRecord(fullRecord());
    const std::string move = fullRecord().session.unacknowledged[1];
    const std::vector<std::pair<std::string, std::string>> hostile = {
        {"palisade remote record 1", "palisade remote record 2"},
        {"game 0123456789abcdef", "game 0123456789ABCDEF"},
        {"game 0123456789abcdef", "game ../../../etc/x"},
        {"game 0123456789abcdef", "game 0123456789abcde"},
        {"side black", "side red"},
        {"opponent Åsa <asa@example.org>", "opponent "},
        {"opponent Åsa <asa@example.org>", "opponent a\tb"},
        {"opponent Åsa <asa@example.org>", "opponent a\rb"},
        {"opponent Åsa <asa@example.org>", "opponent \xc3("},
        {"opponent Åsa <asa@example.org>", "opponent \xed\xa0\x80"},
        {"opponent Åsa <asa@example.org>", "opponent \xc2\x85"},
        {"opponent Åsa <asa@example.org>", "opponent " + std::string(kMaxAddressBytes + 1, 'a')},
        {"carrier xmpp", "carrier smtp"},
        {"account bob@example.org/palisade", "account bob\x1b[2J"},
        {"next-sequence 9", "next-sequence 0"},
        {"next-sequence 9", "next-sequence 09"},
        {"next-sequence 9", "next-sequence +9"},
        {"next-sequence 9", "next-sequence 4294967296"},
        {"last-received 4000000000", "last-received -1"},
        {"agreed 12", "agreed 402"},
        {"agreed 12", "agreed twelve"},
        {"own-offer take-back 12", "own-offer take-back"},
        {"own-offer take-back 12", "own-offer resign 12"},
        {"opponent-offer draw 11", "opponent-offer draw 402"},
        {"opponent-offer draw 11", "opponent-offer draw 11 "},
        {"unacknowledged 2", "unacknowledged 3"},
        {"unacknowledged 2", "unacknowledged 1"},
        {"unacknowledged 2", "unacknowledged " + std::to_string(kMaxUnacknowledged + 1)},
        {move, "palisade 2 " + move.substr(11)},
        {move, move + " trailing"},
        {move, messageText(6, Chat{"again"})},           // not after the one before
        {move, messageText(9, Chat{"the next"})},        // not yet sent
        {"game 0123456789abcdef\n", "game 0123456789abcdef\r\n"},
        {"side black\n", "side black\nside white\n"},
        {"carrier xmpp\naccount", "account bob@example.org/palisade\ncarrier xmpp\naccount"},
    };
    for (const auto& [from, to] : hostile) EXPECT_FALSE(decodeRecord(replaced(good, from, to))) << to;
    EXPECT_FALSE(decodeRecord(good.substr(0, good.size() - 1))) << "no line end after the last line";
    EXPECT_FALSE(decodeRecord(good + "\n")) << "a line after the last message";
    EXPECT_FALSE(decodeRecord(""));
}

// A folder of its own in the temporary folder, gone afterwards.
struct Folder {
    Folder() { std::filesystem::remove_all(path); }
    ~Folder() { std::filesystem::remove_all(path); }
    std::filesystem::path path = std::filesystem::temp_directory_path() / "palisade_remote_store_test" / "games";
};

std::string bytesOf(const std::string& path)
{
    const auto bytes = readFileBytes(path);
    return std::holds_alternative<std::string>(bytes) ? std::get<std::string>(bytes) : "(unreadable)";
}

// Plays the first move found, scanning the squares in order.
void playSomeMove(GameRoom& room)
{
    const int before = room.movesPlayed();
    for (int pick = 0; pick < kSquareCount && room.movesPlayed() == before; ++pick) {
        room.clickSquare(pick);
        if (!room.pieceSelected()) continue;
        for (int drop = 0; drop < kSquareCount; ++drop) {
            if (!room.isTarget(drop)) continue;
            room.clickSquare(drop);
            break;
        }
        if (room.pieceSelected()) room.clickSquare(pick);
    }
    ASSERT_EQ(room.movesPlayed(), before + 1);
}

// A game of `moves` half-moves, taken back `back` of them.
SavedGame playedGame(int moves, int back = 0)
{
    SilentView screen;
    GameRoom room(screen);
    room.setUp();
    for (int i = 0; i < moves; ++i) playSomeMove(room);
    for (int i = 0; i < back; ++i) room.takeBack();
    return room.savedGame();
}

RemoteRecord recordOf(const std::string& gameId, Side local, const std::string& opponent)
{
    RemoteRecord record;
    record.setup = {gameId, local, opponent};
    return record;
}

TEST(RemoteStore, StoresAndLoadsTheGameAndItsRecordByteForByte)
{
    const Folder folder;
    RemoteStore store(folder.path);
    const SavedGame game = playedGame(7, 2);
    RemoteRecord record = fullRecord();
    record.session.agreedHalfMove = 7;
    ASSERT_FALSE(store.store(game, record));

    const std::string file = store.fileOf(kGameId);
    EXPECT_EQ(file, (folder.path / "remote-0123456789abcdef.brd").string());
    EXPECT_EQ(bytesOf(file), encodeSavedGame(game));
    const auto loaded = store.load(kGameId);
    ASSERT_TRUE(std::holds_alternative<StoredGame>(loaded)) << std::get<FileError>(loaded).reason;
    EXPECT_EQ(encodeSavedGame(std::get<StoredGame>(loaded).game), encodeSavedGame(game));
    EXPECT_EQ(std::get<StoredGame>(loaded).record, record);
    EXPECT_EQ(std::get<StoredGame>(loaded).file, file);

    // The loaded game in a room saves as the same bytes, and storing it again changes nothing.
    const std::string recordFile = besideFileName(file, "remote");
    const std::string recordBytes = bytesOf(recordFile);
    SilentView screen;
    GameRoom room(screen);
    room.load(std::get<StoredGame>(loaded).game, file);
    ASSERT_FALSE(store.store(room.savedGame(), std::get<StoredGame>(loaded).record));
    EXPECT_EQ(bytesOf(file), encodeSavedGame(game));
    EXPECT_EQ(bytesOf(recordFile), recordBytes);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path), {}), 2) << "no temporary file left";
}

// File names come from a game id only; a record that would not read back is
// not written, and nothing is left behind.
TEST(RemoteStore, NamesFilesOnlyFromGameIdsAndKeepsNoRecordItCouldNotRead)
{
    const Folder folder;
    RemoteStore store(folder.path);
    for (const char* id : {"", "../../0123456789", "0123456789abcdef/..", "0123456789ABCDEF", "0123456789abcdef0"}) {
        EXPECT_EQ(store.fileOf(id), "") << id;
        EXPECT_TRUE(std::holds_alternative<FileError>(store.load(id))) << id;
        EXPECT_TRUE(store.store(playedGame(0), recordOf(id, Side::White, "alice"))) << id;
    }
    for (const char* opponent : {"", "alice\nagreed 0", "alice\r", "\xff"}) {
        EXPECT_TRUE(store.store(playedGame(0), recordOf(kGameId, Side::White, opponent))) << opponent;
    }
    RemoteRecord unsendable = recordOf(kGameId, Side::White, "alice");
    unsendable.session.unacknowledged = {"palisade 1 0123456789abcdef 1 leave\nopponent-offer none"};
    EXPECT_TRUE(store.store(playedGame(0), unsendable));
    EXPECT_FALSE(std::filesystem::exists(folder.path) && !std::filesystem::is_empty(folder.path));
}

// A game file changed by hand, a damaged or missing record, or a record of
// another game: the game does not load, the notice names the file, and the
// list leaves it out while the sound games still show.
TEST(RemoteStore, SetsAsideARecordThatNoLongerBelongsToItsGame)
{
    const Folder folder;
    RemoteStore store(folder.path);
    const std::string other = "fedcba9876543210";
    ASSERT_FALSE(store.store(playedGame(3), recordOf(kGameId, Side::White, "alice")));
    ASSERT_FALSE(store.store(playedGame(2), recordOf(other, Side::Black, "carol")));
    const std::string file = store.fileOf(kGameId);
    const std::string recordFile = besideFileName(file, "remote");
    const std::string goodGame = bytesOf(file);
    const std::string goodRecord = bytesOf(recordFile);

    const auto expectSetAside = [&](const std::string& why) {
        const auto loaded = store.load(kGameId);
        ASSERT_TRUE(std::holds_alternative<FileError>(loaded)) << why;
        EXPECT_NE(std::get<FileError>(loaded).reason.find("remote-0123456789abcdef.brd"), std::string::npos)
            << std::get<FileError>(loaded).reason;
        const auto listed = store.games();
        ASSERT_EQ(listed.size(), 1u) << why;
        EXPECT_EQ(listed[0].gameId, other) << why;
    };
    ASSERT_FALSE(writeSavedGame(file, playedGame(4)));
    expectSetAside("game changed by hand");
    ASSERT_FALSE(writeFileWhole(file, "not a game"));
    expectSetAside("game damaged");
    ASSERT_FALSE(writeFileWhole(file, goodGame));
    ASSERT_FALSE(writeFileWhole(recordFile, besideBytes(goodGame, "palisade remote record 1\n")));
    expectSetAside("record damaged");
    ASSERT_FALSE(writeFileWhole(recordFile, besideBytes(goodGame, encodeRecord(recordOf(other, Side::White, "x")))));
    expectSetAside("record of another game");
    RemoteRecord ahead = recordOf(kGameId, Side::White, "alice");
    ahead.session.agreedHalfMove = 4;
    ASSERT_FALSE(writeFileWhole(recordFile, besideBytes(goodGame, encodeRecord(ahead))));
    expectSetAside("agreed beyond the game's moves");
    std::filesystem::remove(recordFile);
    expectSetAside("no record");
    ASSERT_FALSE(writeFileWhole(recordFile, goodRecord));
    EXPECT_TRUE(std::holds_alternative<StoredGame>(store.load(kGameId)));
}

TEST(RemoteStore, ListsEveryGameWithWhoseTurnItIsNewestFirst)
{
    const Folder folder;
    RemoteStore store(folder.path);
    EXPECT_TRUE(store.games().empty()) << "no folder yet";
    const std::string mine = "1000000000000001", theirs = "1000000000000002", over = "1000000000000003";
    ASSERT_FALSE(store.store(playedGame(2), recordOf(mine, Side::White, "alice")));
    ASSERT_FALSE(store.store(playedGame(3), recordOf(theirs, Side::White, "bob@example.org")));
    SilentView screen;
    GameRoom room(screen);
    room.setUp();
    playSomeMove(room);
    room.resign();
    RemoteRecord finished = recordOf(over, Side::Black, "carol");
    finished.carrier = Carrier::Direct;
    ASSERT_FALSE(store.store(room.savedGame(), finished));
    // A game browsed back is listed by its newest position.
    ASSERT_FALSE(store.store(playedGame(4, 3), recordOf("1000000000000004", Side::Black, "dave")));
    std::ofstream(folder.path / "notes.brd") << "not a remote game";
    std::ofstream(folder.path / "remote-123.brd") << "not a remote game";

    const auto now = std::filesystem::file_time_type::clock::now();
    int age = 0;
    for (const std::string& id : {theirs, over, mine, std::string("1000000000000004")}) {
        std::filesystem::last_write_time(store.fileOf(id), now - std::chrono::hours(++age));
    }
    const auto listed = store.games();
    ASSERT_EQ(listed.size(), 4u);
    EXPECT_EQ(listed[0].gameId, theirs);
    EXPECT_EQ(listed[0].turnText, "bob@example.org's move");
    EXPECT_FALSE(listed[0].localToMove);
    EXPECT_EQ(listed[1].gameId, over);
    EXPECT_TRUE(listed[1].finished);
    EXPECT_EQ(listed[1].turnText, "1–0");
    EXPECT_EQ(listed[1].carrier, Carrier::Direct);
    EXPECT_EQ(listed[1].localSide, Side::Black);
    EXPECT_EQ(listed[2].gameId, mine);
    EXPECT_EQ(listed[2].turnText, "Your move");
    EXPECT_TRUE(listed[2].localToMove);
    EXPECT_EQ(listed[2].opponent, "alice");
    EXPECT_EQ(listed[2].file, store.fileOf(mine));
    EXPECT_EQ(listed[3].turnText, "dave's move") << "judged at its newest position";
}

} // namespace
} // namespace palisade::remote
