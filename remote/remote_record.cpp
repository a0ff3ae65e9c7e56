// The record kept beside a stored remote game, one field a line:
//
//   palisade remote record 1
//   game 0123456789abcdef
//   side white|black
//   opponent NAME
//   carrier xmpp|direct
//   account ADDRESS            (may be empty)
//   next-sequence N            (1..4294967295)
//   last-received N            (0..4294967295)
//   agreed N                   (0..401)
//   own-offer none|draw N|take-back N|new-game N
//   opponent-offer none|draw N|take-back N|new-game N
//   unacknowledged COUNT       (0..kMaxUnacknowledged)
//   MESSAGE                    (COUNT lines, each an encoded message, oldest first)
//
// Every line ends with a line feed; nothing may follow the last message.

#include "remote/remote_record.h"

#include "gameroom/move_history.h"

#include <charconv>
#include <limits>
#include <vector>

namespace palisade::remote {

namespace {

constexpr std::string_view kHeader = "palisade remote record 1";

std::string_view sideWord(Side side) { return side == Side::White ? "white" : "black"; }
std::string_view carrierWord(Carrier carrier) { return carrier == Carrier::Xmpp ? "xmpp" : "direct"; }

std::string_view offerWord(OfferKind kind)
{
    switch (kind) {
    case OfferKind::Draw: return "draw";
    case OfferKind::TakeBack: return "take-back";
    case OfferKind::NewGame: return "new-game";
    }
    return {};
}

std::string offerText(const std::optional<OpenOffer>& offer)
{
    if (!offer) return "none";
    return std::string(offerWord(offer->kind)) + ' ' + std::to_string(offer->halfMove);
}

// The lines of a text whose every line ends with a line feed.
std::optional<std::vector<std::string_view>> linesOf(std::string_view text)
{
    if (!text.empty() && text.back() != '\n') return std::nullopt;
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end + 1);
    }
    return lines;
}

// A plain decimal number, no sign and no leading zero, within [least, most].
std::optional<std::uint64_t> numberOf(std::string_view text, std::uint64_t least, std::uint64_t most)
{
    if (text.empty() || (text.size() > 1 && text.front() == '0')) return std::nullopt;
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < least || value > most) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> halfMoveOf(std::string_view text)
{
    const auto value = numberOf(text, 0, MoveHistory::kLast);
    if (!value) return std::nullopt;
    return static_cast<int>(*value);
}

std::optional<Side> sideOf(std::string_view word)
{
    if (word == "white") return Side::White;
    if (word == "black") return Side::Black;
    return std::nullopt;
}

std::optional<Carrier> carrierOf(std::string_view word)
{
    if (word == "xmpp") return Carrier::Xmpp;
    if (word == "direct") return Carrier::Direct;
    return std::nullopt;
}

// An offer field: "none", or a kind and the half-move it was made at.
struct OfferField {
    bool open = false;
    OpenOffer offer;

    std::optional<OpenOffer> value() const { return open ? std::optional<OpenOffer>(offer) : std::nullopt; }
};

std::optional<OfferField> offerOf(std::string_view text)
{
    if (text == "none") return OfferField{};
    const std::size_t space = text.find(' ');
    if (space == std::string_view::npos) return std::nullopt;
    const std::string_view word = text.substr(0, space);
    const auto halfMove = halfMoveOf(text.substr(space + 1));
    if (!halfMove) return std::nullopt;
    for (const OfferKind kind : {OfferKind::Draw, OfferKind::TakeBack, OfferKind::NewGame}) {
        if (word == offerWord(kind)) return OfferField{true, {kind, *halfMove}};
    }
    return std::nullopt;
}

// Reads the fields in their order; any line out of place ends the reading.
class RecordReader {
public:
    explicit RecordReader(std::vector<std::string_view> lines) : lines_(std::move(lines)) {}

    // The value after "NAME ", or nothing when the next line is another field.
    std::optional<std::string_view> field(std::string_view name)
    {
        if (next_ == lines_.size()) return std::nullopt;
        std::string_view line = lines_[next_];
        if (line.size() <= name.size() || line.substr(0, name.size()) != name || line[name.size()] != ' ') {
            return std::nullopt;
        }
        ++next_;
        return line.substr(name.size() + 1);
    }

    std::optional<std::string_view> line()
    {
        if (next_ == lines_.size()) return std::nullopt;
        return lines_[next_++];
    }

    bool done() const { return next_ == lines_.size(); }

private:
    std::vector<std::string_view> lines_;
    std::size_t next_ = 0;
};

// One UTF-8 character at the start of `text`: its length, or 0 when it is not one.
std::size_t utf8Length(std::string_view text, char32_t& codePoint)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    if (lead < 0x80) length = 1, codePoint = lead;
    else if (lead >= 0xc2 && lead < 0xe0) length = 2, codePoint = lead & 0x1f;
    else if (lead >= 0xe0 && lead < 0xf0) length = 3, codePoint = lead & 0x0f;
    else if (lead >= 0xf0 && lead < 0xf5) length = 4, codePoint = lead & 0x07;
    else return 0;
    if (text.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xc0) != 0x80) return 0;
        codePoint = codePoint << 6 | (byte(i) & 0x3f);
    }
    constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool surrogate = codePoint >= 0xd800 && codePoint < 0xe000;
    if (codePoint < kLeast[length] || surrogate || codePoint > 0x10ffff) return 0;
    return length;
}

bool isControl(char32_t codePoint) { return codePoint < 0x20 || (codePoint >= 0x7f && codePoint < 0xa0); }

// The messages waiting for acknowledgement: each one this program could
// send, their sequences rising and below the next one.
bool messagesAreSound(const std::deque<std::string>& messages, std::uint32_t nextSequence)
{
    std::uint32_t previous = 0;
    for (const std::string& text : messages) {
        const auto decoded = decode(text);
        const auto* message = std::get_if<WireMessage>(&decoded);
        if (!message || message->sequence <= previous || message->sequence >= nextSequence) return false;
        previous = message->sequence;
    }
    return true;
}

template <typename Read>
auto fieldOf(RecordReader& in, std::string_view name, Read read) -> decltype(read(std::string_view{}))
{
    const auto value = in.field(name);
    if (!value) return std::nullopt;
    return read(*value);
}

std::optional<std::uint32_t> sequenceOf(std::string_view text, std::uint32_t least)
{
    const auto value = numberOf(text, least, std::numeric_limits<std::uint32_t>::max());
    if (!value) return std::nullopt;
    return static_cast<std::uint32_t>(*value);
}

std::optional<std::string_view> nameOf(std::string_view text)
{
    if (!isShownName(text)) return std::nullopt;
    return text;
}

std::optional<std::string_view> gameIdOf(std::string_view text)
{
    if (!isGameId(text)) return std::nullopt;
    return text;
}

std::optional<RemoteRecord> readRecord(RecordReader& in)
{
    const auto header = in.line();
    const auto game = fieldOf(in, "game", gameIdOf);
    const auto side = fieldOf(in, "side", sideOf);
    const auto opponent = fieldOf(in, "opponent", nameOf);
    const auto carrier = fieldOf(in, "carrier", carrierOf);
    const auto account = fieldOf(in, "account", nameOf);
    const auto next = fieldOf(in, "next-sequence", [](std::string_view text) { return sequenceOf(text, 1); });
    const auto received = fieldOf(in, "last-received", [](std::string_view text) { return sequenceOf(text, 0); });
    const auto agreed = fieldOf(in, "agreed", halfMoveOf);
    const auto ownOffer = fieldOf(in, "own-offer", offerOf);
    const auto opponentOffer = fieldOf(in, "opponent-offer", offerOf);
    const auto waiting = fieldOf(in, "unacknowledged",
                                 [](std::string_view text) { return numberOf(text, 0, kMaxUnacknowledged); });
    if (header != kHeader || !game || !side || !opponent || opponent->empty() || !carrier || !account || !next
        || !received || !agreed || !ownOffer || !opponentOffer || !waiting) {
        return std::nullopt;
    }
    RemoteRecord record;
    for (std::uint64_t i = 0; i < *waiting; ++i) {
        const auto message = in.line();
        if (!message) return std::nullopt;
        record.session.unacknowledged.emplace_back(*message);
    }
    if (!in.done() || !messagesAreSound(record.session.unacknowledged, *next)) return std::nullopt;
    record.setup = {std::string(*game), *side, std::string(*opponent)};
    record.carrier = *carrier;
    record.account = std::string(*account);
    record.session.nextSequence = *next;
    record.session.lastReceived = *received;
    record.session.agreedHalfMove = *agreed;
    record.session.ownOffer = ownOffer->value();
    record.session.opponentOffer = opponentOffer->value();
    return record;
}

} // namespace

bool isShownName(std::string_view text)
{
    if (text.size() > kMaxAddressBytes) return false;
    while (!text.empty()) {
        char32_t codePoint = 0;
        const std::size_t length = utf8Length(text, codePoint);
        if (length == 0 || isControl(codePoint)) return false;
        text.remove_prefix(length);
    }
    return true;
}

std::string encodeRecord(const RemoteRecord& record)
{
    const SessionState& session = record.session;
    std::string text = std::string(kHeader) + '\n';
    text += "game " + record.setup.gameId + '\n';
    text += "side " + std::string(sideWord(record.setup.localSide)) + '\n';
    text += "opponent " + record.setup.opponent + '\n';
    text += "carrier " + std::string(carrierWord(record.carrier)) + '\n';
    text += "account " + record.account + '\n';
    text += "next-sequence " + std::to_string(session.nextSequence) + '\n';
    text += "last-received " + std::to_string(session.lastReceived) + '\n';
    text += "agreed " + std::to_string(session.agreedHalfMove) + '\n';
    text += "own-offer " + offerText(session.ownOffer) + '\n';
    text += "opponent-offer " + offerText(session.opponentOffer) + '\n';
    text += "unacknowledged " + std::to_string(session.unacknowledged.size()) + '\n';
    for (const std::string& message : session.unacknowledged) text += message + '\n';
    return text;
}

std::optional<RemoteRecord> decodeRecord(std::string_view text)
{
    auto lines = linesOf(text);
    if (!lines) return std::nullopt;
    RecordReader in(std::move(*lines));
    return readRecord(in);
}

} // namespace palisade::remote
