// The wire form of a message: one line of printable ASCII, fields parted by
// one space, no space at either end, no line ending:
//
//   palisade 1 GAMEID SEQ TYPE FIELDS...
//
// GAMEID is 16 lowercase hex digits; SEQ the sender's message count in the
// game, 1 to 4294967295, and 0 only for ack. Numbers are decimal without
// leading zeros; H is a half-move count 0..401; squares are 0..127 in
// orientation 0 (as if neither side had switched); HASH is 16 lowercase hex
// digits. TYPE and its fields:
//
//   invite SIDE WIN GAME   SIDE w|b the inviter's side; WIN 0|1; GAME "-" for
//                          the standard position, or the saved game's bytes in base64
//   reply yes|no           the answer to an invitation
//   move H PICK DROP A HASH  A: q n r b (promotion), c d (kingside castle
//                          taken, declined), - (nothing asked)
//   king H KEPT HASH       the king kept after the move that ended at H
//   offer H KIND           KIND: draw|takeback|new
//   answer H KIND yes|no
//   resign H
//   chat TEXT              UTF-8 in base64, at most 300 bytes, no control characters
//   ack SEQ                the sequence of the message received
//   sync H HASH            the newest agreed position
//   resync GAME            the sender's saved game in base64
//   leave
//
// A message is at most 2048 bytes; invite and resync at most 160 KiB.
// Example: "palisade 1 0123456789abcdef 7 move 12 33 41 - 5f3a09c2d4e1b687"

#include "remote/wire_message.h"

#include "remote/base64.h"

#include <charconv>
#include <random>
#include <vector>

namespace palisade::remote {

namespace {

constexpr std::string_view kMagic = "palisade";
constexpr int kMaxHalfMove = 401;
constexpr int kLastSquare = 127;

struct Refusal {
    std::string reason;
};

// Fields of one message, read front to back.
class Fields {
public:
    explicit Fields(std::vector<std::string_view> fields) : fields_(std::move(fields)) {}

    bool done() const { return next_ == fields_.size(); }
    std::string_view take(std::string_view what)
    {
        if (done()) throw Refusal{"The message ends before its " + std::string(what) + "."};
        return fields_[next_++];
    }
    std::uint64_t number(std::string_view what, std::uint64_t most)
    {
        const std::string_view text = take(what);
        std::uint64_t value = 0;
        const bool canonical = !text.empty() && (text.size() == 1 || text[0] != '0');
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (!canonical || error != std::errc{} || end != text.data() + text.size() || value > most) {
            throw Refusal{"The message's " + std::string(what) + " is out of range."};
        }
        return value;
    }
    int halfMove() { return static_cast<int>(number("half-move", kMaxHalfMove)); }
    int square(std::string_view what) { return static_cast<int>(number(what, kLastSquare)); }
    std::uint64_t hash()
    {
        const std::string_view text = take("position hash");
        if (!isGameId(text)) throw Refusal{"The message's position hash is malformed."};
        std::uint64_t value = 0;
        std::from_chars(text.data(), text.data() + text.size(), value, 16);
        return value;
    }
    bool yesNo()
    {
        const std::string_view text = take("answer");
        if (text != "yes" && text != "no") throw Refusal{"The message's answer is neither yes nor no."};
        return text == "yes";
    }
    std::string base64(std::string_view what)
    {
        auto bytes = fromBase64(take(what));
        if (!bytes) throw Refusal{"The message's " + std::string(what) + " is not base64."};
        return std::move(*bytes);
    }

private:
    std::vector<std::string_view> fields_;
    std::size_t next_ = 0;
};

constexpr std::string_view kAnswerLetters = "-qnrbcd";

char letterOf(MoveAnswer answer) { return kAnswerLetters[static_cast<std::size_t>(answer)]; }

constexpr std::string_view kOfferWords[] = {"draw", "takeback", "new"};

std::string_view wordOf(OfferKind kind) { return kOfferWords[static_cast<std::size_t>(kind)]; }

OfferKind offerKind(Fields& fields)
{
    const std::string_view word = fields.take("offer");
    for (std::size_t k = 0; k < std::size(kOfferWords); ++k) {
        if (word == kOfferWords[k]) return static_cast<OfferKind>(k);
    }
    throw Refusal{"The message offers something unknown."};
}

MoveAnswer moveAnswer(Fields& fields)
{
    const std::string_view text = fields.take("answer letter");
    const auto at = text.size() == 1 ? kAnswerLetters.find(text[0]) : std::string_view::npos;
    if (at == std::string_view::npos) throw Refusal{"The move's answer letter is unknown."};
    return static_cast<MoveAnswer>(at);
}

std::string hex16(std::uint64_t value)
{
    std::string text(16, '0');
    for (int k = 15; k >= 0; --k, value >>= 4) text[static_cast<std::size_t>(k)] = "0123456789abcdef"[value & 15];
    return text;
}

std::string yesNo(bool yes) { return yes ? "yes" : "no"; }

// The type word and fields of each body.
struct BodyWriter {
    std::string operator()(const Invite& m) const
    {
        return std::string("invite ") + (m.inviterSide == Side::White ? "w" : "b") + ' '
            + std::to_string(m.winOption) + ' ' + (m.savedGame.empty() ? "-" : toBase64(m.savedGame));
    }
    std::string operator()(const InviteAnswer& m) const { return "reply " + yesNo(m.accepted); }
    std::string operator()(const MoveMessage& m) const
    {
        return "move " + std::to_string(m.halfMove) + ' ' + std::to_string(m.pick) + ' ' + std::to_string(m.drop) + ' '
            + letterOf(m.answer) + ' ' + hex16(m.hash);
    }
    std::string operator()(const KingMessage& m) const
    {
        return "king " + std::to_string(m.halfMove) + ' ' + std::to_string(m.kept) + ' ' + hex16(m.hash);
    }
    std::string operator()(const Offer& m) const
    {
        return "offer " + std::to_string(m.halfMove) + ' ' + std::string(wordOf(m.kind));
    }
    std::string operator()(const OfferAnswer& m) const
    {
        return "answer " + std::to_string(m.halfMove) + ' ' + std::string(wordOf(m.kind)) + ' ' + yesNo(m.accepted);
    }
    std::string operator()(const Resignation& m) const { return "resign " + std::to_string(m.halfMove); }
    std::string operator()(const Chat& m) const { return "chat " + toBase64(m.text); }
    std::string operator()(const Acknowledge& m) const { return "ack " + std::to_string(m.sequence); }
    std::string operator()(const Sync& m) const
    {
        return "sync " + std::to_string(m.halfMove) + ' ' + hex16(m.hash);
    }
    std::string operator()(const Resync& m) const { return "resync " + toBase64(m.savedGame); }
    std::string operator()(const Leave&) const { return "leave"; }
};

Invite readInvite(Fields& f)
{
    Invite invite;
    const std::string_view side = f.take("side");
    if (side != "w" && side != "b") throw Refusal{"The invitation names no side."};
    invite.inviterSide = side == "w" ? Side::White : Side::Black;
    invite.winOption = static_cast<int>(f.number("win option", 1));
    const std::string_view game = f.take("game");
    if (game != "-") {
        auto bytes = fromBase64(game);
        if (!bytes || bytes->empty()) throw Refusal{"The invitation's game is not base64."};
        invite.savedGame = std::move(*bytes);
    }
    return invite;
}

MoveMessage readMove(Fields& f)
{
    MoveMessage move;
    move.halfMove = f.halfMove();
    move.pick = f.square("picked square");
    move.drop = f.square("dropped square");
    move.answer = moveAnswer(f);
    move.hash = f.hash();
    if (move.halfMove == kMaxHalfMove) throw Refusal{"The move comes after the last half-move a game may have."};
    return move;
}

Chat readChat(Fields& f)
{
    Chat chat{f.base64("chat text")};
    if (!isChatText(chat.text)) throw Refusal{"The chat line is empty, too long, not UTF-8 or holds control characters."};
    return chat;
}

MessageBody readBody(std::string_view type, Fields& f, std::uint32_t sequence)
{
    if ((type == "ack") != (sequence == 0)) throw Refusal{"The message's sequence number is out of range."};
    if (type == "invite") return readInvite(f);
    if (type == "reply") return InviteAnswer{f.yesNo()};
    if (type == "move") return readMove(f);
    if (type == "king") {
        KingMessage king;
        king.halfMove = f.halfMove();
        king.kept = f.square("kept king's square");
        king.hash = f.hash();
        return king;
    }
    if (type == "offer") {
        Offer offer;
        offer.halfMove = f.halfMove();
        offer.kind = offerKind(f);
        return offer;
    }
    if (type == "answer") {
        OfferAnswer answer;
        answer.halfMove = f.halfMove();
        answer.kind = offerKind(f);
        answer.accepted = f.yesNo();
        return answer;
    }
    if (type == "resign") return Resignation{f.halfMove()};
    if (type == "chat") return readChat(f);
    if (type == "ack") {
        const auto acknowledged = static_cast<std::uint32_t>(f.number("acknowledged sequence", UINT32_MAX));
        if (acknowledged == 0) throw Refusal{"The message acknowledges no message."};
        return Acknowledge{acknowledged};
    }
    if (type == "sync") {
        Sync sync;
        sync.halfMove = f.halfMove();
        sync.hash = f.hash();
        return sync;
    }
    if (type == "resync") return Resync{f.base64("game")};
    if (type == "leave") return Leave{};
    throw Refusal{"The message is of an unknown kind."};
}

std::vector<std::string_view> splitFields(std::string_view text)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const auto space = text.find(' ', start);
        fields.push_back(text.substr(start, space - start));
        if (space == std::string_view::npos) break;
        start = space + 1;
    }
    for (const auto field : fields) {
        if (field.empty()) throw Refusal{"The message has an empty field."};
    }
    return fields;
}

void checkVersion(Fields& f)
{
    if (f.take("name") != kMagic) throw Refusal{"The message is not a Palisade message."};
    const std::string_view version = f.take("protocol version");
    if (version == std::to_string(kProtocolVersion)) return;
    const bool readable = version.size() <= 6 && version.find_first_not_of("0123456789") == std::string_view::npos;
    throw Refusal{"The opponent's program speaks protocol version " + std::string(readable ? version : "(unknown)")
                  + "; this program speaks " + std::to_string(kProtocolVersion) + "."};
}

WireMessage decodeChecked(std::string_view text)
{
    if (text.size() > kMaxGameMessageBytes) throw Refusal{"The message is too long."};
    for (const char c : text) {
        if (c < ' ' || c > '~') throw Refusal{"The message holds characters that are not printable ASCII."};
    }
    Fields f(splitFields(text));
    checkVersion(f);
    WireMessage message;
    message.gameId = std::string(f.take("game id"));
    if (!isGameId(message.gameId)) throw Refusal{"The message's game id is malformed."};
    message.sequence = static_cast<std::uint32_t>(f.number("sequence number", UINT32_MAX));
    const std::string_view type = f.take("kind");
    const bool carriesGame = type == "invite" || type == "resync";
    if (!carriesGame && text.size() > kMaxMessageBytes) throw Refusal{"The message is too long."};
    message.body = readBody(type, f, message.sequence);
    if (!f.done()) throw Refusal{"The message has more fields than its kind takes."};
    return message;
}

// How many bytes the letter led by `lead` takes in UTF-8; 0 when no letter starts so.
std::size_t utf8Length(unsigned char lead)
{
    if (lead < 0x80) return 1;
    if (lead >= 0xc2 && lead <= 0xdf) return 2;
    if (lead >= 0xe0 && lead <= 0xef) return 3;
    if (lead >= 0xf0 && lead <= 0xf4) return 4;
    return 0;
}

} // namespace

bool isGameId(std::string_view text)
{
    return text.size() == 16 && text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

std::string newGameId()
{
    std::random_device device;
    const std::uint64_t bits = (std::uint64_t{device()} << 32) ^ device();
    return hex16(bits);
}

bool isChatText(std::string_view text)
{
    if (text.empty() || text.size() > kMaxChatBytes) return false;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = utf8Length(lead);
        if (length == 0 || i + length > text.size()) return false;
        std::uint32_t code = length == 1 ? lead : lead & (0xff >> (length + 1));
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xc0) != 0x80) return false;
            code = code << 6 | (next & 0x3f);
        }
        const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
        const bool surrogate = code >= 0xd800 && code <= 0xdfff;
        const bool control = code < 0x20 || (code >= 0x7f && code <= 0x9f);
        if (overlong || surrogate || control || code > 0x10ffff) return false;
        i += length;
    }
    return true;
}

std::string encode(const WireMessage& message)
{
    return std::string(kMagic) + ' ' + std::to_string(kProtocolVersion) + ' ' + message.gameId + ' '
        + std::to_string(message.sequence) + ' ' + std::visit(BodyWriter{}, message.body);
}

std::variant<WireMessage, DecodeError> decode(std::string_view text)
{
    try {
        return decodeChecked(text);
    } catch (const Refusal& refusal) {
        return DecodeError{refusal.reason};
    }
}

} // namespace palisade::remote
