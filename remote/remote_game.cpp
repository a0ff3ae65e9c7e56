#include "remote/remote_game.h"

#include "remote/remote_answers.h"

namespace palisade::remote {

namespace {

std::uint32_t sequenceOf(const std::string& encoded)
{
    const auto message = decode(encoded);
    return std::holds_alternative<WireMessage>(message) ? std::get<WireMessage>(message).sequence : 0;
}

} // namespace

RemoteGame::RemoteGame(GameRoom& room, RemoteAnswers& answers, RemoteListener& listener, GameSetup setup,
                       SessionState state)
    : room_(room), answers_(answers), listener_(listener), setup_(std::move(setup)), state_(std::move(state))
{
    answers_.attach(room_, setup_.localSide);
}

RemoteGame::~RemoteGame() { answers_.detach(); }

// Both sides start at the position the invitation brings: a saved game goes
// on from its own move.
void RemoteGame::sendInvite(const Invite& invite)
{
    state_.agreedHalfMove = room_.halfMoves();
    post(invite);
}

void RemoteGame::acceptInvite(std::uint32_t inviteSequence)
{
    state_.agreedHalfMove = room_.halfMoves();
    state_.lastReceived = inviteSequence;
    acknowledge(inviteSequence);
    post(InviteAnswer{true});
    listener_.remoteChanged();
}

std::string RemoteGame::declineInvite(const WireMessage& invitation)
{
    return encode({invitation.gameId, 1, InviteAnswer{false}});
}

// The inviter has its answer, or the invitee gave it: either way a message
// of the other side has been handled.
bool RemoteGame::started() const { return state_.lastReceived > 0 && !declined_; }

// While our own offer stands we do not move: an answer crossing our move on
// the way would part the two games.
bool RemoteGame::localTurn() const
{
    return started() && !opponentLeft_ && !state_.ownOffer && room_.halfMoves() == state_.agreedHalfMove
        && sideToMove(room_.position().status) == setup_.localSide;
}

std::string RemoteGame::waitingText() const
{
    if (declined_ || opponentLeft_) return {};
    if (started() && !state_.ownOffer && sideToMoveAgreed() != opponent(setup_.localSide)) return {};
    return "Waiting for " + setup_.opponent;
}

RemoteGame::LocalInput::LocalInput(RemoteGame& game) : game_(game)
{
    if (game_.inputDepth_++ == 0) game_.inputBegan();
}

RemoteGame::LocalInput::~LocalInput()
{
    if (--game_.inputDepth_ > 0) return;
    game_.inputEnded();
    game_.drain();
}

void RemoteGame::sendChat(std::string_view text)
{
    if (isChatText(text)) post(Chat{std::string(text)});
}

void RemoteGame::leave() { post(Leave{}); }

void RemoteGame::received(std::string_view message)
{
    if (holding()) {
        heldMessages_.emplace_back(message.substr(0, kMaxGameMessageBytes + 1));
        return;
    }
    handle(message);
    // What arrived while this one was being applied.
    drain();
}

void RemoteGame::linkUp()
{
    linked_ = true;
    // Resent first so that the comparison comes after everything it sums up.
    resendDue();
    // Before the invitation is answered there is nothing to compare, and the
    // invitee's first message must be its answer.
    if (started()) post(Sync{state_.agreedHalfMove, agreedHash()});
    listener_.remoteChanged();
}

void RemoteGame::linkDown()
{
    linked_ = false;
    listener_.remoteChanged();
}

void RemoteGame::resendDue()
{
    if (!linked_) return;
    for (const std::string& message : state_.unacknowledged) listener_.send(message);
}

bool RemoteGame::holding() const { return inputDepth_ > 0 || applying_ || answers_.screenWaiting(); }

void RemoteGame::drain()
{
    while (!holding() && !heldMessages_.empty()) {
        const std::string message = std::move(heldMessages_.front());
        heldMessages_.pop_front();
        handle(message);
    }
}

// In order: each message of the opponent is handled once, as the next one.
// An earlier one is acknowledged again (our acknowledgement was lost); one
// after a gap waits to be resent in order.
void RemoteGame::handle(std::string_view text)
{
    const auto decoded = decode(text);
    if (const auto* error = std::get_if<DecodeError>(&decoded)) {
        refuse(error->reason);
        return;
    }
    const WireMessage& message = std::get<WireMessage>(decoded);
    const bool ours = message.gameId == setup_.gameId;
    if (!ours && (previousGameId_.empty() || message.gameId != previousGameId_)) {
        refuse("The message belongs to another game.");
        return;
    }
    if (const auto* ack = std::get_if<Acknowledge>(&message.body)) {
        acknowledged(ack->sequence);
        return;
    }
    if (message.sequence <= state_.lastReceived) {
        acknowledge(message.sequence);
        return;
    }
    if (message.sequence != state_.lastReceived + 1) return;
    if (state_.lastReceived == 0 && !std::holds_alternative<InviteAnswer>(message.body)) {
        // Nothing counts before the invitation is answered.
        refuse("The game has not started.");
        return;
    }
    state_.lastReceived = message.sequence;
    acknowledge(message.sequence);
    if (!ours) {
        refuse("The message belongs to the game before this one.");
    } else {
        applying_ = true;
        handleBody(message);
        applying_ = false;
    }
    listener_.remoteChanged();
}

void RemoteGame::handleBody(const WireMessage& message)
{
    const MessageBody& body = message.body;
    if (const auto* answer = std::get_if<InviteAnswer>(&body)) {
        // Only the inviter waits for one, as the opponent's first message.
        if (message.sequence != 1) return refuse("The game's invitation was answered already.");
        declined_ = !answer->accepted;
        listener_.inviteAnswered(answer->accepted);
        return;
    }
    if (declined_) return refuse("The game has not started.");
    if (std::holds_alternative<Invite>(body)) return refuse("The game was proposed already.");
    if (const auto* move = std::get_if<MoveMessage>(&body)) return moveArrived(*move);
    if (const auto* king = std::get_if<KingMessage>(&body)) return kingArrived(*king);
    if (const auto* offer = std::get_if<Offer>(&body)) return offerArrived(*offer);
    if (const auto* answer = std::get_if<OfferAnswer>(&body)) return offerAnswered(*answer);
    if (const auto* resignation = std::get_if<Resignation>(&body)) return resignationArrived(*resignation);
    if (const auto* chat = std::get_if<Chat>(&body)) return listener_.chatArrived(chat->text);
    if (const auto* sync = std::get_if<Sync>(&body)) return syncArrived(*sync);
    if (const auto* resync = std::get_if<Resync>(&body)) return resyncArrived(*resync);
    if (std::holds_alternative<Leave>(body)) opponentLeft_ = true;
}

// Every message but an acknowledgement is kept until the opponent has it.
void RemoteGame::post(MessageBody body)
{
    const std::string message = encode({setup_.gameId, state_.nextSequence++, std::move(body)});
    state_.unacknowledged.push_back(message);
    listener_.send(message);
}

void RemoteGame::acknowledge(std::uint32_t sequence) { listener_.send(encode({setup_.gameId, 0, Acknowledge{sequence}})); }

// The opponent handles our messages in order, so one acknowledged means every
// one before it arrived too.
void RemoteGame::acknowledged(std::uint32_t sequence)
{
    auto& waiting = state_.unacknowledged;
    const auto before = waiting.size();
    while (!waiting.empty() && sequenceOf(waiting.front()) <= sequence) waiting.pop_front();
    if (waiting.size() != before) listener_.remoteChanged();
}

void RemoteGame::refuse(std::string_view reason) { listener_.refused(reason); }

} // namespace palisade::remote
