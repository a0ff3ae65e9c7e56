#pragma once

#include "engine/piece.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace palisade {

// What `palisade-cli peer` was asked to do: how to reach the opponent, which
// side to play, and the tokens of the local player.
struct PeerScript {
    // XMPP: our account, and the opponent to invite (empty: wait for an invitation).
    std::string account;
    std::string passwordFile;
    std::string caFile;
    std::string serverHost; // empty: found from the account's domain
    int serverPort = 0;
    std::string opponent;
    // A home network: the port we listen on, or the host and port we join.
    std::optional<int> listenPort;
    std::string joinHost;
    int joinPort = 0;
    std::string code;

    bool inviter = false;
    Side side = Side::White;
    std::optional<int> winOption;
    std::string file;
    std::string answers;
    std::string save;
    int timeoutSeconds = 60;
    bool timing = false;
    std::vector<std::string> tokens;

    bool overXmpp() const { return !account.empty(); }
};

// Every option and token checked before anything starts; the words of the
// refusal otherwise.
std::variant<PeerScript, std::string> parsePeerScript(const std::vector<std::string>& arguments);

} // namespace palisade
