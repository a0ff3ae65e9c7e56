#include "network/join_code.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSet>

namespace palisade::net {
namespace {

TEST(JoinCode, GeneratedCodesReadBackAndSpreadOverEverySymbol)
{
    const QRegularExpression shape(QStringLiteral("^[0-9A-HJKMNP-TV-Z]{4}-[0-9A-HJKMNP-TV-Z]{4}-[0-9A-HJKMNP-TV-Z]{2}$"));
    QSet<QString> seen;
    QList<QSet<QChar>> symbolsAt(12);
    for (int round = 0; round < 400; ++round) {
        const JoinCode code = JoinCode::generate();
        const QString text = code.text();
        ASSERT_TRUE(shape.match(text).hasMatch()) << text.toStdString();
        const auto read = JoinCode::parse(text);
        ASSERT_TRUE(read.has_value());
        EXPECT_EQ(read->text(), text);
        seen.insert(text);
        for (int index = 0; index < text.size(); ++index) symbolsAt[index].insert(text[index]);
    }
    EXPECT_EQ(seen.size(), 400);
    // Ten symbols of five bits each, every one of them random: well over 40 bits.
    for (int index = 0; index < 12; ++index) {
        if (index == 4 || index == 9) continue;
        EXPECT_GE(symbolsAt[index].size(), 28) << "symbol " << index;
    }
}

TEST(JoinCode, ReadsWhatAPersonTypes)
{
    const auto shown = JoinCode::parse(QStringLiteral("K7M2-9QXD-3F"));
    ASSERT_TRUE(shown.has_value());
    for (const char* typed : {"k7m2-9qxd-3f", " K7M2 9QXD 3F ", "k7m29qxd3f", "K7M2--9QXD-\t3F"}) {
        const auto read = JoinCode::parse(QString::fromLatin1(typed));
        ASSERT_TRUE(read.has_value()) << typed;
        EXPECT_EQ(read->text(), shown->text()) << typed;
    }
    // Letters that look like digits are read as those digits.
    EXPECT_EQ(JoinCode::parse(QStringLiteral("ILOo-1100-i0"))->text(), QStringLiteral("1100-1100-10"));
}

TEST(JoinCode, RefusesWhatIsNoCode)
{
    for (const char* text : {"", "----", "K7M2-9QXD-3", "K7M2-9QXD-3F7", "K7M2-9QXD-3U", "K7M2-9QXD-3!",
                             "K7M2.9QXD.3F", "K7M2-9QXD-3F\n0"}) {
        EXPECT_FALSE(JoinCode::parse(QString::fromLatin1(text)).has_value()) << text;
    }
    // A dotless i upper-cases to I, yet is no symbol of a code.
    EXPECT_FALSE(JoinCode::parse(QStringLiteral("K7M2-9QXD-3\u0131")).has_value());
    EXPECT_FALSE(JoinCode::parse(QStringLiteral("K7M2-9QXD-3\uFF21")).has_value());
}

TEST(JoinCode, KeysFollowTheCode)
{
    const QByteArray key = JoinCode::parse(QStringLiteral("K7M2-9QXD-3F"))->presharedKey();
    EXPECT_EQ(key.size(), 32);
    EXPECT_EQ(JoinCode::parse(QStringLiteral("k7m2 9qxd 3f"))->presharedKey(), key);
    EXPECT_NE(JoinCode::parse(QStringLiteral("K7M2-9QXD-3G"))->presharedKey(), key);
    EXPECT_TRUE(JoinCode().text().isEmpty());
}

} // namespace
} // namespace palisade::net
