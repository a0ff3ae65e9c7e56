#pragma once

#include "engine/piece.h"
#include "gameroom/game_room.h"
#include "gameroom/saved_game.h"
#include "remote/wire_message.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace palisade::remote {

class RemoteAnswers;

// Who plays whom in one remote game; the same game id on both sides.
struct GameSetup {
    std::string gameId;
    Side localSide = Side::White;
    std::string opponent; // the opponent's address or name, as shown
    friend bool operator==(const GameSetup&, const GameSetup&) = default;
};

// An offer waiting for its answer, made at the position after `halfMove`.
struct OpenOffer {
    OfferKind kind = OfferKind::Draw;
    int halfMove = 0;
    friend bool operator==(const OpenOffer&, const OpenOffer&) = default;
};

// What a remote game keeps between runs (beside its stored file).
struct SessionState {
    std::uint32_t nextSequence = 1; // of our next message
    std::uint32_t lastReceived = 0; // the opponent's newest message handled
    int agreedHalfMove = 0;         // the newest position both sides play on
    std::deque<std::string> unacknowledged; // our encoded messages, oldest first
    std::optional<OpenOffer> ownOffer;
    std::optional<OpenOffer> opponentOffer;
    friend bool operator==(const SessionState&, const SessionState&) = default;
};

// What a remote game tells its owner: the window, the script, or the store.
// Only the messages must go somewhere; an owner hears the rest as it needs.
class RemoteListener {
public:
    virtual ~RemoteListener() = default;
    // One encoded message for the link, to the opponent.
    virtual void send(const std::string& message) = 0;
    // The turn, an offer, the connection or the agreed position changed.
    virtual void remoteChanged() {}
    // The agreed game changed (a move, a king choice, a take-back, a result):
    // store it now.
    virtual void agreedGameChanged() {}
    virtual void chatArrived(std::string_view /*text*/) {}
    // A message of the opponent was refused; the game is as it was.
    virtual void refused(std::string_view /*reason*/) {}
    // The two sides' positions differ: `proposedGame()` holds the opponent's
    // game, read and checked; nothing changes without acceptResync().
    virtual void resyncProposed() {}
    // Both agreed to a new game (colours swapped): `setup()` now names it and
    // the room holds its start.
    virtual void newGameStarted() {}
    // The opponent answered our invitation; a declined game is over.
    virtual void inviteAnswered(bool /*accepted*/) {}
};

// One side of a game played across two computers. The room is played only
// through its own entries: the opponent's moves by clickSquare with their
// answers, the opponent's king choice by answerKingChoice. Local input goes
// straight to the room inside a LocalInput guard, which sends what it made.
class RemoteGame {
public:
    RemoteGame(GameRoom& room, RemoteAnswers& answers, RemoteListener& listener, GameSetup setup,
               SessionState state = {});
    ~RemoteGame();
    RemoteGame(const RemoteGame&) = delete;
    RemoteGame& operator=(const RemoteGame&) = delete;

    // Starting a game. The inviter's room holds the proposed start and its
    // session sends the invitation as its first message. The invitee's owner
    // sets its room up from an invitation the player accepted (a saved game
    // only through the saved-game reader and its checks), makes the session,
    // and accepts, which answers the invitation. A declined invitation needs
    // no session: `declineInvite` is the whole answer.
    void sendInvite(const Invite& invite);
    void acceptInvite(std::uint32_t inviteSequence);
    static std::string declineInvite(const WireMessage& invitation);
    // Play may start: the invitation was accepted (or this side accepted it).
    bool started() const;

    const GameSetup& setup() const { return setup_; }
    const SessionState& state() const { return state_; }

    // The local player may click on the board: their side to move, at the
    // agreed position, no answer awaited from the opponent.
    bool localTurn() const;
    // "Waiting for OPPONENT" while the opponent is to move or to choose a king;
    // empty otherwise.
    std::string waitingText() const;

    // Hold one while local input reaches the room (a click, a press, a drop,
    // a king choice): network events wait meanwhile, and when it ends a move
    // or king choice it made is sent and the waiting events are applied in order.
    class LocalInput {
    public:
        explicit LocalInput(RemoteGame& game);
        ~LocalInput();
        LocalInput(const LocalInput&) = delete;
        LocalInput& operator=(const LocalInput&) = delete;

    private:
        RemoteGame& game_;
    };

    // The commands as they work in a remote game.
    void requestTakeBack();
    void offerDraw();
    void proposeNewGame();
    void resign(); // the local player loses, whoever is to move
    void answerOffer(bool accept);
    void sendChat(std::string_view text);
    void leave();

    const std::optional<SavedGame>& proposedGame() const { return proposedGame_; }
    void acceptResync();
    void declineResync();

    // From the link.
    void received(std::string_view message);
    void linkUp();
    void linkDown();
    bool linked() const { return linked_; }
    // Resends what the opponent has not acknowledged; the owner calls it every few seconds.
    void resendDue();
    // Applies the network events held while input or a question was open, once
    // none is; the owner calls it when a question it showed has closed.
    void drain();
    // The opponent closed the game for good.
    bool opponentLeft() const { return opponentLeft_; }
    // The opponent's offer waiting for the local player's answer, and ours.
    const std::optional<OpenOffer>& opponentOffer() const { return state_.opponentOffer; }
    const std::optional<OpenOffer>& ownOffer() const { return state_.ownOffer; }

private:
    bool holding() const;
    void handle(std::string_view text);
    void handleBody(const WireMessage& message);
    void post(MessageBody body);
    void acknowledge(std::uint32_t sequence);
    void acknowledged(std::uint32_t sequence);
    void refuse(std::string_view reason);

    // Moves and king choices (remote_game_moves.cpp).
    void inputBegan();
    void inputEnded();
    void sendLocalMove();
    void sendLocalKing(int kept);
    void moveArrived(const MoveMessage& move);
    void kingArrived(const KingMessage& king);
    std::optional<std::string> whyNotPlayable(const MoveMessage& move) const;
    void desync(std::string_view reason);
    void agreedMoved();
    std::optional<Side> sideToMoveAgreed() const;
    std::uint64_t agreedHash() const;

    // Offers, resignation, chat and resynchronisation (remote_game_offers.cpp).
    void offerArrived(const Offer& offer);
    void offerAnswered(const OfferAnswer& answer);
    void carryOut(const OpenOffer& offer, Side requester);
    int takeBackLength(Side requester) const;
    void startNewGame();
    void resignationArrived(const Resignation& resignation);
    void syncArrived(const Sync& sync);
    void resyncArrived(const Resync& resync);
    bool mayOffer(OfferKind kind, Side requester) const;


    GameRoom& room_;
    RemoteAnswers& answers_;
    RemoteListener& listener_;
    GameSetup setup_;
    SessionState state_;
    bool linked_ = false;
    int inputDepth_ = 0;
    std::deque<std::string> heldMessages_;
    std::optional<SavedGame> proposedGame_;
    bool applying_ = false;
    bool declined_ = false;
    bool opponentLeft_ = false;
    // The id before the last new game, so late copies of its messages are
    // recognised rather than refused as strangers.
    std::string previousGameId_;
    // The room as local input found it.
    int movesAtInput_ = 0;
    std::optional<KingChoice> choiceAtInput_;
    // Kept when input began off the local turn: a move it made anyway is undone.
    std::optional<SavedGame> roomAtInput_;
    // The agreed position our game was last proposed for.
    std::optional<std::pair<int, std::uint64_t>> resyncSentFor_;
};

} // namespace palisade::remote
