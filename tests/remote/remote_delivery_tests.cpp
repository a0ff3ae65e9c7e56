#include "remote/remote_store.h"

#include "../gameroom/endings.h"
#include "stored_games.h"

#include "remote/position_hash.h"
#include "remote/remote_answers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace palisade::remote {
namespace {

// What one side's session said, in order.
struct Heard : RemoteListener {
    void send(const std::string& message) override { sent.push_back(message); }
    void refused(std::string_view reason) override { refusals.emplace_back(reason); }

    std::vector<std::string> sent;
    std::vector<std::string> refusals;
};

// One side of a game at its own screen, with its session.
struct Seat {
    Seat(Side local, const std::string& opponent, const Position& start)
        : room(answers), game(room, answers, heard, GameSetup{kGameId, local, opponent})
    {
        room.setUp(start);
    }
    // The first move allowed, clicked by the local player.
    void move()
    {
        const auto [pick, drop] = firstMove(room);
        const RemoteGame::LocalInput input(game);
        room.clickSquare(pick);
        room.clickSquare(drop);
    }
    std::string lastSent() const { return heard.sent.empty() ? std::string() : heard.sent.back(); }

    SilentView screen;
    RemoteAnswers answers{screen};
    GameRoom room;
    Heard heard;
    RemoteGame game;
};

// Alice (White) at her window and Bob (Black), whose game waits in the store:
// the invitation answered, Bob's side stored, his window closed.
struct StoredGameFixture : ::testing::Test {
    explicit StoredGameFixture(const Position& start = standardPosition()) : alice(Side::White, "bob@example.org", start)
    {
        alice.game.sendInvite(Invite{Side::White, start.winOption, {}});
        Seat bob(Side::Black, "alice@example.org", start);
        bob.game.acceptInvite(1);
        alice.game.received(bob.lastSent());
        EXPECT_TRUE(alice.game.started());
        EXPECT_FALSE(store.store(bob.room.savedGame(), RemoteRecord{bob.game.setup(), Carrier::Xmpp, "bob@example.org",
                                                                    bob.game.state()}));
    }

    RemoteStore::Delivery deliver(const std::string& message) { return deliver(kGameId, message); }
    RemoteStore::Delivery deliver(const std::string& gameId, const std::string& message)
    {
        return store.deliver(gameId, message, [this](const std::string& answer) { answers.push_back(answer); });
    }
    // Every file in the folder with its bytes.
    std::map<std::string, std::string> files() const
    {
        std::map<std::string, std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path)) {
            found[entry.path().filename().string()] = bytesOf(entry.path().string());
        }
        return found;
    }
    StoredGame stored() const { return std::get<StoredGame>(store.load(kGameId)); }

    Folder folder;
    RemoteStore store{folder.path};
    Seat alice;
    std::vector<std::string> answers;
};

// The opponent's move reaches the stored game as if Bob's window had shown it:
// played, stored with its record, acknowledged, and told to the player.
TEST_F(StoredGameFixture, DeliversAMoveToAGameNoWindowShows)
{
    const auto start = files();
    alice.move();
    ASSERT_EQ(alice.room.halfMoves(), 1);
    const std::string move = alice.lastSent();

    const auto delivery = deliver(move);
    EXPECT_TRUE(delivery.known);
    EXPECT_TRUE(delivery.changed);
    EXPECT_EQ(delivery.notice, "alice@example.org moved in your game.");
    const StoredGame after = stored();
    EXPECT_EQ(bytesOf(after.file), encodeSavedGame(alice.room.savedGame()));
    EXPECT_EQ(positionHash(after.game.position, after.game.halfMoves),
              positionHash(alice.room.position(), alice.room.halfMoves()));
    EXPECT_EQ(after.record.session.agreedHalfMove, 1);
    EXPECT_EQ(files().size(), start.size()) << "the same two files, rewritten";

    ASSERT_FALSE(answers.empty());
    for (const std::string& answer : answers) alice.game.received(answer);
    EXPECT_TRUE(alice.game.state().unacknowledged.empty());
    EXPECT_TRUE(alice.heard.refusals.empty());

    // The same move again (a resend crossing the acknowledgement) changes nothing.
    const auto again = files();
    const auto repeat = deliver(move);
    EXPECT_FALSE(repeat.changed);
    EXPECT_EQ(repeat.notice, "");
    EXPECT_EQ(files(), again);
}

// Nothing of a hostile or mistaken message reaches the stored game, and the
// player hears why it was refused. One that cannot be read leaves both files
// as they were; one read and refused is still counted as received, so that the
// opponent's later messages are not taken for a gap.
TEST_F(StoredGameFixture, AHostileMessageLeavesTheStoredGameAsItWas)
{
    alice.move();
    const std::string move = alice.lastSent();
    const auto decoded = std::get<WireMessage>(decode(move));
    const auto expectRefused = [](const RemoteStore::Delivery& delivery, const std::string& what) {
        EXPECT_TRUE(delivery.known) << what;
        EXPECT_NE(delivery.notice.find("was refused"), std::string::npos) << what << ": " << delivery.notice;
    };

    const auto start = files();
    const std::vector<std::string> unreadable = {
        "garbage",
        move + std::string(kMaxMessageBytes, 'x'),
        "palisade 9 " + move.substr(11),
        encode(WireMessage{"fedcba9876543210", decoded.sequence, decoded.body}),
    };
    for (const std::string& message : unreadable) {
        const auto delivery = deliver(message);
        expectRefused(delivery, message.substr(0, 60));
        EXPECT_FALSE(delivery.changed) << message.substr(0, 60);
        EXPECT_EQ(files(), start) << message.substr(0, 60);
    }

    const MoveMessage played = std::get<MoveMessage>(decoded.body);
    MoveMessage wrongHash = played;
    wrongHash.hash ^= 1;
    MoveMessage offTheBoard = played;
    offTheBoard.drop = offTheBoard.pick;
    MoveMessage stale = played;
    stale.halfMove = 3;
    const StoredGame before = stored();
    for (const MessageBody& body : std::vector<MessageBody>{wrongHash, offTheBoard, stale,
                                                            OfferAnswer{0, OfferKind::Draw, true}, Invite{}}) {
        const std::uint32_t next = stored().record.session.lastReceived + 1;
        const std::string message = encode(WireMessage{kGameId, next, body});
        const auto delivery = deliver(message);
        if (std::holds_alternative<Invite>(body)) {
            EXPECT_EQ(delivery.notice, "") << "an invitation is its owner's to answer";
            EXPECT_FALSE(delivery.changed);
            continue;
        }
        expectRefused(delivery, message);
        const StoredGame after = stored();
        EXPECT_EQ(bytesOf(after.file), bytesOf(before.file)) << message;
        EXPECT_EQ(after.record.setup, before.record.setup) << message;
        EXPECT_EQ(after.record.session.agreedHalfMove, 0) << message;
        EXPECT_EQ(after.record.session.lastReceived, next) << message;
    }
}

// A chat line, an offer and a resignation each reach the stored game and the
// player, and the list shows how the game ended.
TEST_F(StoredGameFixture, TellsThePlayerWhatArrived)
{
    alice.game.sendChat("good luck");
    EXPECT_EQ(deliver(alice.lastSent()).notice, "alice@example.org: good luck");
    alice.game.offerDraw();
    const auto offer = deliver(alice.lastSent());
    EXPECT_EQ(offer.notice, "alice@example.org offers a draw.");
    EXPECT_EQ(stored().record.session.opponentOffer, (OpenOffer{OfferKind::Draw, 0}));
    alice.game.resign();
    const auto resignation = deliver(alice.lastSent());
    EXPECT_TRUE(resignation.changed);
    EXPECT_EQ(resignation.notice, "alice@example.org resigned.");
    const auto listed = store.games();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_TRUE(listed[0].finished);
    EXPECT_EQ(listed[0].turnText, "0–1");
}

// Alice's knight forks Bob's two kings under "Destroy Both Kings!": which
// king he keeps is his to choose at his window, so the stored game waits for
// it and the move stays unacknowledged until then.
struct StoredKingTrial : StoredGameFixture {
    StoredKingTrial() : StoredGameFixture(endings::withBothKingsToDestroy(endings::kFork)) {}
};

TEST_F(StoredKingTrial, AKingThePlayerMustGiveUpWaitsForTheirWindow)
{
    const auto start = files();
    {
        const RemoteGame::LocalInput input(alice.game);
        alice.room.clickSquare(endings::kForkMate.from);
        alice.room.clickSquare(endings::kForkMate.to);
    }
    ASSERT_EQ(alice.room.halfMoves(), 1);
    const auto delivery = deliver(alice.lastSent());
    EXPECT_TRUE(delivery.known);
    EXPECT_FALSE(delivery.changed);
    EXPECT_EQ(delivery.notice, "alice@example.org moved in your game: open it to choose the king you keep.");
    EXPECT_TRUE(answers.empty()) << "not acknowledged";
    EXPECT_EQ(files(), start);
}

// The file comes from the game id the message was delivered for, checked; a
// message naming another game, or an id that names no stored game, writes
// nothing anywhere.
TEST_F(StoredGameFixture, FileNamesNeverComeFromTheMessage)
{
    alice.move();
    const auto decoded = std::get<WireMessage>(decode(alice.lastSent()));
    const std::string elsewhere = encode(WireMessage{"fedcba9876543210", decoded.sequence, decoded.body});
    const auto start = files();
    for (const std::string& id : {std::string("../remote-0123456789abcdef"), std::string("fedcba9876543210")}) {
        const auto delivery = deliver(id, elsewhere);
        EXPECT_FALSE(delivery.known) << id;
        EXPECT_FALSE(delivery.changed) << id;
    }
    EXPECT_FALSE(deliver(elsewhere).changed) << "delivered for one game, it names another";
    EXPECT_EQ(files(), start);
    EXPECT_FALSE(std::filesystem::exists(folder.root / "remote-0123456789abcdef.brd"));
}

} // namespace
} // namespace palisade::remote
