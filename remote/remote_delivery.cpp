#include "remote/remote_store.h"

#include "gameroom/game_room.h"
#include "gameroom/result_text.h"
#include "remote/remote_answers.h"

#include <filesystem>
#include <vector>

namespace palisade::remote {

namespace {

// The screen of a game no window shows: it asks the player nothing. A king
// the local player must give up waits for them in the stored game, and any
// other question is declined, so nothing is decided in their name.
class UnseenScreen : public GameRoomView {
public:
    void boardChanged() override {}
    void statusChanged() override {}
    bool ask(Question) override { return false; }
    std::optional<bool> keepOfferedKing() override { return std::nullopt; }
    void message(std::string_view) override {}
    void beep() override {}
};

// What the game told its owner while one message was handled. What it sends
// waits until the delivery is kept.
class DeliveryListener : public RemoteListener {
public:
    void send(const std::string& message) override { outgoing.push_back(message); }
    void chatArrived(std::string_view text) override { chat = text; }
    void refused(std::string_view reason) override { refusal = reason; }
    void resyncProposed() override { resync = true; }

    std::optional<std::string> chat;
    std::optional<std::string> refusal;
    bool resync = false;
    std::vector<std::string> outgoing;
};

std::string offerName(OfferKind kind)
{
    switch (kind) {
    case OfferKind::Draw: return "draw offer";
    case OfferKind::TakeBack: return "request to take back a move";
    case OfferKind::NewGame: return "proposal of a new game";
    }
    return {};
}

// The words for a message the game took in, once it has been played.
struct NoticeOf {
    const std::string& opponent;
    const GameRoom& room;
    const DeliveryListener& heard;

    std::string operator()(const MoveMessage&) const
    {
        const auto result = room.result();
        if (result) return opponent + " moved in your game: " + resultLine(*result) + ".";
        return opponent + " moved in your game.";
    }
    std::string operator()(const KingMessage&) const { return opponent + " chose the king to keep in your game."; }
    std::string operator()(const Offer& offer) const
    {
        switch (offer.kind) {
        case OfferKind::Draw: return opponent + " offers a draw.";
        case OfferKind::TakeBack: return opponent + " asks to take back a move.";
        case OfferKind::NewGame: return opponent + " proposes a new game.";
        }
        return {};
    }
    std::string operator()(const OfferAnswer& answer) const
    {
        return opponent + (answer.accepted ? " accepted" : " declined") + " your " + offerName(answer.kind) + ".";
    }
    std::string operator()(const Resignation&) const { return opponent + " resigned."; }
    std::string operator()(const Chat& chat) const { return opponent + ": " + heard.chat.value_or(chat.text); }
    std::string operator()(const InviteAnswer& answer) const
    {
        return opponent + (answer.accepted ? " accepted" : " declined") + " your invitation.";
    }
    std::string operator()(const Resync&) const
    {
        if (!heard.resync) return {};
        return opponent + " finds your game differs and proposes their copy: open the game to compare.";
    }
    std::string operator()(const Leave&) const { return opponent + " left the game."; }
    std::string operator()(const Invite&) const { return {}; }
    std::string operator()(const Acknowledge&) const { return {}; }
    std::string operator()(const Sync&) const { return {}; }
};

bool isInvitation(std::string_view message)
{
    const auto decoded = decode(message);
    const auto* wire = std::get_if<WireMessage>(&decoded);
    return wire && std::holds_alternative<Invite>(wire->body);
}

// A stored game after one message, played in a game room no window shows.
struct Unseen {
    SavedGame game;
    RemoteRecord record;
    bool kingToChoose = false;
    std::vector<std::string> outgoing;
    std::string notice;
};

Unseen playUnseen(const StoredGame& stored, std::string_view message)
{
    UnseenScreen screen;
    RemoteAnswers answers(screen);
    GameRoom room(answers);
    room.load(stored.game, stored.file);
    DeliveryListener heard;
    RemoteGame game(room, answers, heard, stored.record.setup, stored.record.session);
    game.received(message);

    Unseen after{room.savedGame(), stored.record, room.kingChoice().has_value(), heard.outgoing, {}};
    after.record.setup = game.setup();
    after.record.session = game.state();
    const std::string& opponent = stored.record.setup.opponent;
    if (heard.refusal) {
        after.notice = "A message from " + opponent + " was refused: " + *heard.refusal;
    } else if (after.record.session.lastReceived != stored.record.session.lastReceived) {
        after.notice = std::visit(NoticeOf{opponent, room, heard}, std::get<WireMessage>(decode(message)).body);
    }
    return after;
}

} // namespace

RemoteStore::Delivery RemoteStore::deliver(std::string_view gameId, std::string_view message,
                                           const std::function<void(const std::string&)>& send)
{
    Delivery delivery;
    const std::string file = fileOf(gameId);
    delivery.known = !file.empty() && std::filesystem::is_regular_file(file);
    if (!delivery.known || isInvitation(message)) return delivery;
    const auto loaded = load(gameId);
    if (const auto* error = std::get_if<FileError>(&loaded)) {
        delivery.notice = "A message for a remote game could not be applied: " + error->reason + ".";
        return delivery;
    }
    const StoredGame& stored = std::get<StoredGame>(loaded);
    const Unseen after = playUnseen(stored, message);
    const std::string& opponent = stored.record.setup.opponent;
    if (after.kingToChoose) {
        // Half a king trial cannot be stored, and the choice is the player's: the
        // move stays unacknowledged, so it comes again once their window is open.
        delivery.notice = opponent + " moved in your game: open it to choose the king you keep.";
        return delivery;
    }
    const bool same = after.record == stored.record && encodeSavedGame(after.game) == encodeSavedGame(stored.game);
    // Acknowledged only once kept: a message not stored comes again.
    if (!same) {
        if (const auto error = store(after.game, after.record)) {
            delivery.notice = "The remote game with " + opponent + " could not be stored: " + error->reason + ".";
            return delivery;
        }
    }
    for (const std::string& answer : after.outgoing) send(answer);
    delivery.changed = !same;
    delivery.notice = after.notice;
    return delivery;
}

} // namespace palisade::remote
