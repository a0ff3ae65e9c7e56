#include "remote/remote_game.h"

#include "remote/position_hash.h"
#include "remote/remote_answers.h"

namespace palisade::remote {

namespace {

constexpr std::uint64_t kFnvOffset = 14695981039346656037ull;
constexpr std::uint64_t kFnvPrime = 1099511628211ull;

// Both programs derive the id of the next game from the last one alike.
std::string nextGameId(const std::string& gameId)
{
    std::uint64_t hash = kFnvOffset;
    for (const char c : "next " + gameId) hash = (hash ^ static_cast<std::uint8_t>(c)) * kFnvPrime;
    std::string id(16, '0');
    for (int k = 15; k >= 0; --k, hash >>= 4) id[static_cast<std::size_t>(k)] = "0123456789abcdef"[hash & 15];
    return id;
}

} // namespace

void RemoteGame::requestTakeBack()
{
    if (!mayOffer(OfferKind::TakeBack, setup_.localSide)) return;
    state_.ownOffer = OpenOffer{OfferKind::TakeBack, state_.agreedHalfMove};
    post(Offer{state_.agreedHalfMove, OfferKind::TakeBack});
    listener_.remoteChanged();
}

void RemoteGame::offerDraw()
{
    if (!mayOffer(OfferKind::Draw, setup_.localSide)) return;
    state_.ownOffer = OpenOffer{OfferKind::Draw, state_.agreedHalfMove};
    post(Offer{state_.agreedHalfMove, OfferKind::Draw});
    listener_.remoteChanged();
}

void RemoteGame::proposeNewGame()
{
    if (!mayOffer(OfferKind::NewGame, setup_.localSide)) return;
    state_.ownOffer = OpenOffer{OfferKind::NewGame, state_.agreedHalfMove};
    post(Offer{state_.agreedHalfMove, OfferKind::NewGame});
    listener_.remoteChanged();
}

// A draw while the game goes on, a take-back of a move the requester made,
// a new game at any time; nothing while a king is being chosen.
bool RemoteGame::mayOffer(OfferKind kind, Side requester) const
{
    if (!started() || opponentLeft_ || room_.kingChoice()) return false;
    switch (kind) {
    case OfferKind::Draw: return sideToMoveAgreed().has_value();
    case OfferKind::TakeBack: return takeBackLength(requester) > 0;
    case OfferKind::NewGame: return true;
    }
    return false;
}

// The requester's last move, and the reply after it if there is one.
int RemoteGame::takeBackLength(Side requester) const
{
    const int agreed = state_.agreedHalfMove;
    for (int k = agreed - 1; k >= 0 && k >= agreed - 2; --k) {
        const auto& status = room_.history().entry(k).status;
        if (status && sideToMove(*status) == requester) return agreed - k;
    }
    return 0;
}

void RemoteGame::resign()
{
    if (!started() || !sideToMoveAgreed() || room_.kingChoice()) return;
    room_.goToHalfMove(state_.agreedHalfMove);
    room_.resignSide(setup_.localSide);
    post(Resignation{state_.agreedHalfMove});
    agreedMoved();
    listener_.remoteChanged();
}

void RemoteGame::answerOffer(bool accept)
{
    if (!state_.opponentOffer) return;
    const OpenOffer offer = *state_.opponentOffer;
    state_.opponentOffer.reset();
    post(OfferAnswer{offer.halfMove, offer.kind, accept});
    if (accept) carryOut(offer, opponent(setup_.localSide));
    listener_.remoteChanged();
}

void RemoteGame::offerArrived(const Offer& offer)
{
    if (offer.halfMove != state_.agreedHalfMove) return refuse("The opponent's offer was made at another position.");
    if (!mayOffer(offer.kind, opponent(setup_.localSide))) return refuse("The opponent's offer cannot be made now.");
    state_.opponentOffer = OpenOffer{offer.kind, offer.halfMove};
}

void RemoteGame::offerAnswered(const OfferAnswer& answer)
{
    const OpenOffer answered{answer.kind, answer.halfMove};
    if (state_.ownOffer != answered || answer.halfMove != state_.agreedHalfMove) {
        return refuse("The opponent answered an offer that no longer stands.");
    }
    state_.ownOffer.reset();
    if (answer.accepted) carryOut(answered, setup_.localSide);
}

void RemoteGame::carryOut(const OpenOffer& offer, Side requester)
{
    switch (offer.kind) {
    case OfferKind::Draw:
        room_.goToHalfMove(state_.agreedHalfMove);
        room_.declareDraw();
        agreedMoved();
        return;
    case OfferKind::TakeBack:
        state_.agreedHalfMove -= takeBackLength(requester);
        room_.goToHalfMove(state_.agreedHalfMove);
        agreedMoved();
        return;
    case OfferKind::NewGame: startNewGame(); return;
    }
}

// Colours swap; the win option stays as the invitation set it.
void RemoteGame::startNewGame()
{
    Position start = standardPosition();
    start.winOption = room_.position().winOption;
    room_.setUp(start);
    previousGameId_ = setup_.gameId;
    setup_.gameId = nextGameId(setup_.gameId);
    setup_.localSide = opponent(setup_.localSide);
    answers_.attach(room_, setup_.localSide);
    state_.agreedHalfMove = 0;
    proposedGame_.reset();
    agreedMoved();
    listener_.newGameStarted();
}

void RemoteGame::resignationArrived(const Resignation& resignation)
{
    if (resignation.halfMove > state_.agreedHalfMove) return refuse("The opponent resigned at a position not reached here.");
    if (!sideToMoveAgreed() || room_.kingChoice()) return refuse("The opponent resigned when no one could.");
    room_.goToHalfMove(state_.agreedHalfMove);
    room_.resignSide(opponent(setup_.localSide));
    agreedMoved();
}

// The opponent's newest position after a reconnection. Our own moves still on
// their way explain an older one; anything else means the games have parted.
void RemoteGame::syncArrived(const Sync& sync)
{
    if (sync.halfMove == state_.agreedHalfMove && sync.hash == agreedHash()) return;
    for (const std::string& sent : state_.unacknowledged) {
        const auto message = decode(sent);
        if (!std::holds_alternative<WireMessage>(message)) continue;
        const MessageBody& body = std::get<WireMessage>(message).body;
        const auto* move = std::get_if<MoveMessage>(&body);
        const auto* king = std::get_if<KingMessage>(&body);
        if ((move && move->halfMove == sync.halfMove) || (king && king->halfMove == sync.halfMove)) return;
    }
    room_.goToHalfMove(state_.agreedHalfMove);
    post(Resync{encodeSavedGame(room_.savedGame())});
}

void RemoteGame::resyncArrived(const Resync& resync)
{
    auto game = decodeSavedGame(resync.savedGame);
    if (const auto* error = std::get_if<FileError>(&game)) {
        return refuse("The opponent's game could not be read: " + error->reason);
    }
    proposedGame_ = std::move(std::get<SavedGame>(game));
    listener_.resyncProposed();
}

void RemoteGame::acceptResync()
{
    if (!proposedGame_) return;
    const std::string fileName = room_.fileName();
    if (fileName.empty()) {
        room_.loadRecovered(*proposedGame_);
    } else {
        room_.load(*proposedGame_, fileName);
    }
    proposedGame_.reset();
    state_.agreedHalfMove = room_.halfMoves();
    agreedMoved();
    listener_.remoteChanged();
}

void RemoteGame::declineResync()
{
    proposedGame_.reset();
    listener_.remoteChanged();
}

} // namespace palisade::remote
