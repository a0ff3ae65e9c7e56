#include "remote/wire_message.h"

#include "remote/base64.h"

#include <gtest/gtest.h>

#include <string>

namespace palisade::remote {
namespace {

const std::string kId = "0123456789abcdef";

WireMessage messageOf(std::uint32_t sequence, MessageBody body) { return {kId, sequence, std::move(body)}; }

WireMessage decoded(std::string_view text)
{
    const auto result = decode(text);
    if (const auto* error = std::get_if<DecodeError>(&result)) ADD_FAILURE() << text << ": " << error->reason;
    return std::holds_alternative<WireMessage>(result) ? std::get<WireMessage>(result) : WireMessage{};
}

std::string refusal(std::string_view text)
{
    const auto result = decode(text);
    if (std::holds_alternative<WireMessage>(result)) return {};
    return std::get<DecodeError>(result).reason;
}

TEST(WireMessage, EveryKindComesBackAsItWasSent)
{
    const std::string game = std::string("White to Move\r\n") + std::string(3000, 'x') + '\0' + "\xff";
    const WireMessage messages[] = {
        messageOf(1, Invite{Side::Black, 1, game}),
        messageOf(1, Invite{Side::White, 0, ""}),
        messageOf(2, InviteAnswer{true}),
        messageOf(3, MoveMessage{0, 0, 127, MoveAnswer::None, 0}),
        messageOf(4, MoveMessage{400, 33, 41, MoveAnswer::Knight, 0xffffffffffffffffull}),
        messageOf(5, MoveMessage{12, 40, 8, MoveAnswer::CastleDeclined, 0x0123456789abcdefull}),
        messageOf(6, KingMessage{401, 80, 42}),
        messageOf(7, Offer{17, OfferKind::TakeBack}),
        messageOf(8, OfferAnswer{17, OfferKind::NewGame, false}),
        messageOf(9, Resignation{3}),
        messageOf(10, Chat{"Gut gespielt \xc3\xa4 \xe2\x82\xac \xf0\x9f\x99\x82"}),
        messageOf(0, Acknowledge{4294967295u}),
        messageOf(4294967295u, Sync{0, 7}),
        messageOf(12, Resync{game}),
        messageOf(13, Leave{}),
    };
    for (const WireMessage& message : messages) {
        const std::string text = encode(message);
        EXPECT_EQ(decoded(text), message) << text;
        for (const char c : text) EXPECT_TRUE(c >= ' ' && c <= '~') << text;
    }
}

TEST(WireMessage, AMoveIsOneShortLine)
{
    const auto text = encode(messageOf(7, MoveMessage{12, 33, 41, MoveAnswer::Queen, 0x5f3a09c2d4e1b687ull}));
    EXPECT_EQ(text, "palisade 1 0123456789abcdef 7 move 12 33 41 q 5f3a09c2d4e1b687");
    EXPECT_EQ(encode(messageOf(0, Acknowledge{7})), "palisade 1 0123456789abcdef 0 ack 7");
}

TEST(WireMessage, AnotherProtocolVersionIsNamed)
{
    EXPECT_EQ(refusal("palisade 2 0123456789abcdef 1 leave"),
              "The opponent's program speaks protocol version 2; this program speaks 1.");
    EXPECT_NE(refusal("palisade 0 0123456789abcdef 1 move 0 1 2 - 0000000000000000"), "");
}

TEST(WireMessage, EveryMalformedFieldIsRefused)
{
    const char* const cases[] = {
        "",
        "palisade",
        "chess 1 0123456789abcdef 5 leave",
        "palisade 1 0123456789ABCDEF 5 leave",
        "palisade 1 0123456789abcde 5 leave",
        "palisade 1 0123456789abcdef 05 leave",
        "palisade 1 0123456789abcdef 4294967296 leave",
        "palisade 1 0123456789abcdef -1 leave",
        "palisade 1 0123456789abcdef 0 leave",
        "palisade 1 0123456789abcdef 5 ack 4",
        "palisade 1 0123456789abcdef 0 ack 0",
        "palisade 1 0123456789abcdef 5 leave ",
        " palisade 1 0123456789abcdef 5 leave",
        "palisade 1 0123456789abcdef 5  leave",
        "palisade 1 0123456789abcdef 5 leave now",
        "palisade 1 0123456789abcdef 5 castle",
        "palisade 1 0123456789abcdef 5 move 0 1 128 - 0000000000000000",
        "palisade 1 0123456789abcdef 5 move 402 1 2 - 0000000000000000",
        "palisade 1 0123456789abcdef 5 move 401 1 2 - 0000000000000000",
        "palisade 1 0123456789abcdef 5 move 0 1 2 k 0000000000000000",
        "palisade 1 0123456789abcdef 5 move 0 1 2 qq 0000000000000000",
        "palisade 1 0123456789abcdef 5 move 0 1 2 - 000000000000000",
        "palisade 1 0123456789abcdef 5 move 0 1 2 - 000000000000000G",
        "palisade 1 0123456789abcdef 5 move 0 +1 2 - 0000000000000000",
        "palisade 1 0123456789abcdef 5 move 0 1 2 -",
        "palisade 1 0123456789abcdef 5 king 3 200 0000000000000000",
        "palisade 1 0123456789abcdef 5 offer 3 peace",
        "palisade 1 0123456789abcdef 5 answer 3 draw maybe",
        "palisade 1 0123456789abcdef 5 reply YES",
        "palisade 1 0123456789abcdef 5 invite g 0 -",
        "palisade 1 0123456789abcdef 5 invite w 2 -",
        "palisade 1 0123456789abcdef 5 invite w 0 AB=C",
        "palisade 1 0123456789abcdef 5 chat AAA",
        "palisade 1 0123456789abcdef 5 chat AR==",    // unused bits set
        "palisade 1 0123456789abcdef 5 chat Cg==",    // a line feed
        "palisade 1 0123456789abcdef 5 chat wq==",    // U+0080 spelled short: not UTF-8
        "palisade 1 0123456789abcdef 5 chat wIA=",    // U+0080, a control character
        "palisade 1 0123456789abcdef 5 chat 7aCA",    // a surrogate
        "palisade 1 0123456789abcdef 5 chat 4ICA",    // overlong
        "palisade 1 0123456789abcdef 5 resync !!!!",
        "palisade 1 0123456789abcdef 5 resign 3\n",
        "palisade 1 0123456789abcdef 5 resign 3\r",
        "palisade 1 0123456789abcdef 5 resign 3\x7f",
    };
    for (const char* text : cases) EXPECT_NE(refusal(text), "") << '"' << text << '"';
    EXPECT_NE(refusal(std::string("palisade 1 0123456789abcdef 5 resign 3\0", 40)), "");
}

TEST(WireMessage, SizeLimitsHoldForEachKind)
{
    const std::string head = "palisade 1 " + kId + " 5 ";
    EXPECT_NE(refusal(head + "chat " + toBase64(std::string(kMaxChatBytes + 1, 'a'))), "");
    EXPECT_EQ(refusal(encode(messageOf(5, Chat{std::string(kMaxChatBytes, 'a')}))), "");
    // Only an invitation or a resynchronisation may carry a whole game.
    const std::string bigGame(100 * 1024, 'g');
    EXPECT_EQ(refusal(encode(messageOf(5, Resync{bigGame}))), "");
    EXPECT_NE(refusal(encode(messageOf(5, Resync{std::string(kMaxGameMessageBytes, 'g')}))), "");
    const std::string padded = head + "sync 1 " + std::string(kMaxMessageBytes, '0');
    EXPECT_EQ(refusal(padded), "The message is too long.");
    EXPECT_EQ(refusal(std::string(10 * 1024 * 1024, 'x')), "The message is too long.");
}

TEST(WireMessage, GameIdsAreSixteenRandomHexDigits)
{
    const std::string first = newGameId();
    EXPECT_TRUE(isGameId(first));
    EXPECT_NE(newGameId(), first);
    EXPECT_FALSE(isGameId("0123456789abcdeg"));
}

} // namespace
} // namespace palisade::remote
