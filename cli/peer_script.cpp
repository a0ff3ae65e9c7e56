#include "cli/peer_script.h"

#include "cli/state_line.h"

#include <charconv>
#include <functional>
#include <map>
#include <set>

namespace palisade {

namespace {

std::optional<int> numberIn(std::string_view text, int low, int high)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) return std::nullopt;
    return value;
}

// HOST:PORT, the port after the last colon.
bool splitHostPort(const std::string& text, std::string& host, int& port)
{
    const auto colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0) return false;
    const auto number = numberIn(std::string_view(text).substr(colon + 1), 1, 65535);
    if (!number) return false;
    host = text.substr(0, colon);
    port = *number;
    return true;
}

using Setter = std::function<std::optional<std::string>(PeerScript&, const std::string&)>;

Setter text(std::string PeerScript::*field)
{
    return [field](PeerScript& script, const std::string& value) -> std::optional<std::string> {
        script.*field = value;
        return std::nullopt;
    };
}

const std::map<std::string, Setter>& valuedOptions()
{
    static const std::map<std::string, Setter> table = {
        {"--xmpp", text(&PeerScript::account)},
        {"--password-file", text(&PeerScript::passwordFile)},
        {"--ca", text(&PeerScript::caFile)},
        {"--server",
         [](PeerScript& s, const std::string& v) -> std::optional<std::string> {
             if (splitHostPort(v, s.serverHost, s.serverPort)) return std::nullopt;
             return "--server takes HOST:PORT: " + v;
         }},
        {"--invite",
         [](PeerScript& s, const std::string& v) -> std::optional<std::string> {
             s.opponent = v;
             s.inviter = true;
             return std::nullopt;
         }},
        {"--listen",
         [](PeerScript& s, const std::string& v) -> std::optional<std::string> {
             s.listenPort = numberIn(v, 0, 65535);
             if (s.listenPort) return std::nullopt;
             return "--listen takes a port (0..65535): " + v;
         }},
        {"--connect",
         [](PeerScript& s, const std::string& v) -> std::optional<std::string> {
             if (splitHostPort(v, s.joinHost, s.joinPort)) return std::nullopt;
             return "--connect takes HOST:PORT: " + v;
         }},
        {"--code", text(&PeerScript::code)},
        {"--side",
         [](PeerScript& s, const std::string& v) -> std::optional<std::string> {
             if (v != "white" && v != "black") return "--side is white or black: " + v;
             s.side = v == "white" ? Side::White : Side::Black;
             return std::nullopt;
         }},
        {"--win-option",
         [](PeerScript& s, const std::string& v) -> std::optional<std::string> {
             s.winOption = numberIn(v, 0, 1);
             if (s.winOption) return std::nullopt;
             return "--win-option is 0 or 1: " + v;
         }},
        {"--file", text(&PeerScript::file)},
        {"--answers",
         [](PeerScript& s, const std::string& v) -> std::optional<std::string> {
             if (v.find_first_not_of("yn") != std::string::npos) return "answers are letters y and n: " + v;
             s.answers = v;
             return std::nullopt;
         }},
        {"--save", text(&PeerScript::save)},
        {"--timeout",
         [](PeerScript& s, const std::string& v) -> std::optional<std::string> {
             const auto seconds = numberIn(v, 1, 86400);
             if (!seconds) return "--timeout takes seconds (1..86400): " + v;
             s.timeoutSeconds = *seconds;
             return std::nullopt;
         }},
    };
    return table;
}

// The carrier, the role and the side must add up to one way of playing.
std::optional<std::string> incoherence(const PeerScript& s, bool accept, bool sideGiven)
{
    const bool direct = s.listenPort || !s.joinHost.empty();
    if (s.overXmpp() == direct) return "give either --xmpp ADDRESS or one of --listen PORT and --connect HOST:PORT";
    if (s.listenPort && !s.joinHost.empty()) return "give --listen or --connect, not both";
    if (!sideGiven) return "--side white|black is needed";
    if (s.overXmpp()) {
        if (s.passwordFile.empty()) return "--xmpp needs --password-file FILE";
        if (s.inviter == accept) return "--xmpp needs either --invite ADDRESS or --accept";
    } else {
        if (s.code.empty()) return "a direct connection needs --code CODE";
        if (accept || s.inviter) return "on a direct connection the listener invites and the joiner accepts";
        if (!s.account.empty() || !s.passwordFile.empty() || !s.caFile.empty() || !s.serverHost.empty())
            return "the XMPP options need --xmpp";
    }
    const bool invites = s.overXmpp() ? s.inviter : s.listenPort.has_value();
    if (!invites && (s.winOption || !s.file.empty())) return "--win-option and --file belong to the side that invites";
    return std::nullopt;
}

// The tokens a peer script may hold besides squares.
bool isPeerCommand(const std::string& token)
{
    static const std::set<std::string> commands = {
        "back",    "forward", "first",      "last",     "switch",       "offer-draw", "accept", "decline",
        "take-back", "resign", "disconnect", "reconnect", "await-offline", "pause",
    };
    return commands.count(token) > 0;
}

} // namespace

std::variant<PeerScript, std::string> parsePeerScript(const std::vector<std::string>& arguments)
{
    PeerScript script;
    bool accept = false;
    bool sideGiven = false;
    std::size_t at = 0;
    for (; at < arguments.size(); ++at) {
        const std::string& option = arguments[at];
        if (option == "--accept") {
            accept = true;
            continue;
        }
        if (option == "--timing") {
            script.timing = true;
            continue;
        }
        const auto setter = valuedOptions().find(option);
        if (setter == valuedOptions().end()) break;
        if (at + 1 >= arguments.size() || arguments[at + 1].empty()) return option + " needs a value";
        if (auto refusal = setter->second(script, arguments[++at])) return *refusal;
        sideGiven = sideGiven || option == "--side";
    }
    if (at < arguments.size() && arguments[at].rfind("--", 0) == 0) return "unknown option: " + arguments[at];
    if (auto refusal = incoherence(script, accept, sideGiven)) return *refusal;
    if (!script.overXmpp()) script.inviter = script.listenPort.has_value();
    for (; at < arguments.size(); ++at) {
        const std::string& token = arguments[at];
        if (!squareToken(token) && !isPeerCommand(token)) return "not a square (0..127) or a command: " + token;
        script.tokens.push_back(token);
    }
    return script;
}

} // namespace palisade
