#pragma once

#include "remote/remote_game.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace palisade::remote {

// How the opponent is reached.
enum class Carrier { Xmpp, Direct };

// Everything kept about a remote game beside its .brd: who plays whom, how
// they are reached, and the state of the conversation.
struct RemoteRecord {
    GameSetup setup;
    Carrier carrier = Carrier::Xmpp;
    std::string account; // our own address (XMPP) or empty
    SessionState session;
    friend bool operator==(const RemoteRecord&, const RemoteRecord&) = default;
};

// The longest address or name a record keeps, in bytes.
inline constexpr std::size_t kMaxAddressBytes = 512;
// The most messages a record keeps waiting for the opponent's acknowledgement.
inline constexpr std::size_t kMaxUnacknowledged = 256;

// The text of NAME.brd.remote (a beside file), and back; nothing on a refusal.
std::string encodeRecord(const RemoteRecord& record);
std::optional<RemoteRecord> decodeRecord(std::string_view text);

// An address or name as a record keeps it: valid UTF-8 without control
// characters or line breaks, and no longer than kMaxAddressBytes.
bool isShownName(std::string_view text);

} // namespace palisade::remote
