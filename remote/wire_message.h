#pragma once

#include "engine/piece.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace palisade::remote {

// What two programs say to each other about one game. Every message is one
// line of printable ASCII, the same over XMPP and over a home network.
inline constexpr int kProtocolVersion = 1;
// No message is longer, but one that carries a whole saved game.
inline constexpr std::size_t kMaxMessageBytes = 2048;
inline constexpr std::size_t kMaxGameMessageBytes = 160 * 1024;
inline constexpr std::size_t kMaxChatBytes = 300;

// The answer that completes a move: the promoted piece, a kingside castle
// taken or declined, or nothing asked. Letters on the wire: q n r b c d -.
enum class MoveAnswer { None, Queen, Knight, Rook, Bishop, CastleTaken, CastleDeclined };

enum class OfferKind { Draw, TakeBack, NewGame };

// The game a player proposes: the inviter's side, the win option, and the
// start: the standard position, or a saved game's bytes.
struct Invite {
    Side inviterSide = Side::White;
    int winOption = 0;
    std::string savedGame; // empty: the standard position
    friend bool operator==(const Invite&, const Invite&) = default;
};
struct InviteAnswer {
    bool accepted = false;
    friend bool operator==(const InviteAnswer&, const InviteAnswer&) = default;
};
// A move in orientation 0, played at the position after `halfMove` half-moves;
// `hash` is the position after it (after its questions, before a king choice).
struct MoveMessage {
    int halfMove = 0;
    int pick = 0;
    int drop = 0;
    MoveAnswer answer = MoveAnswer::None;
    std::uint64_t hash = 0;
    friend bool operator==(const MoveMessage&, const MoveMessage&) = default;
};
// The king the side that must give one up keeps (orientation 0), right after
// the move that ended at `halfMove` half-moves; `hash` is the position after.
struct KingMessage {
    int halfMove = 0;
    int kept = 0;
    std::uint64_t hash = 0;
    friend bool operator==(const KingMessage&, const KingMessage&) = default;
};
struct Offer {
    int halfMove = 0;
    OfferKind kind = OfferKind::Draw;
    friend bool operator==(const Offer&, const Offer&) = default;
};
struct OfferAnswer {
    int halfMove = 0;
    OfferKind kind = OfferKind::Draw;
    bool accepted = false;
    friend bool operator==(const OfferAnswer&, const OfferAnswer&) = default;
};
struct Resignation {
    int halfMove = 0;
    friend bool operator==(const Resignation&, const Resignation&) = default;
};
struct Chat {
    std::string text; // UTF-8, no control characters, at most kMaxChatBytes
    friend bool operator==(const Chat&, const Chat&) = default;
};
struct Acknowledge {
    std::uint32_t sequence = 0;
    friend bool operator==(const Acknowledge&, const Acknowledge&) = default;
};
// After a reconnection: the newest position this side agreed to.
struct Sync {
    int halfMove = 0;
    std::uint64_t hash = 0;
    friend bool operator==(const Sync&, const Sync&) = default;
};
// This side's game, proposed when the two sides' positions differ.
struct Resync {
    std::string savedGame;
    friend bool operator==(const Resync&, const Resync&) = default;
};
// The player left the game (closed it for good, not a dropped connection).
struct Leave {
    friend bool operator==(const Leave&, const Leave&) = default;
};

using MessageBody = std::variant<Invite, InviteAnswer, MoveMessage, KingMessage, Offer, OfferAnswer, Resignation,
                                 Chat, Acknowledge, Sync, Resync, Leave>;

struct WireMessage {
    std::string gameId;         // 16 lowercase hexadecimal digits
    std::uint32_t sequence = 0; // the sender's count of its messages in this game, from 1; 0 for Acknowledge
    MessageBody body;
    friend bool operator==(const WireMessage&, const WireMessage&) = default;
};

bool isGameId(std::string_view text);
// 64 random bits, as a game id.
std::string newGameId();
// A chat line the wire takes: valid UTF-8, not empty, no control characters,
// at most kMaxChatBytes.
bool isChatText(std::string_view text);

std::string encode(const WireMessage& message);

struct DecodeError {
    std::string reason; // for the player: why the message was refused
};
// Reads one message and checks every field; anything else is refused with
// the reason, including another protocol version.
std::variant<WireMessage, DecodeError> decode(std::string_view text);

} // namespace palisade::remote
