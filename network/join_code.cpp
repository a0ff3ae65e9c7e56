#include "network/join_code.h"

#include <QCryptographicHash>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QtEndian>

namespace palisade::net {

namespace {

// Crockford's base32: digits and capitals without I, L, O and U, so nothing
// read aloud or typed from a screen is mistaken for another symbol.
constexpr char kSymbols[] = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";
constexpr int kSymbolBits = 5;
constexpr int kCodeSymbols = 10; // 50 bits
constexpr quint64 kCodeMask = (quint64{1} << (kSymbolBits * kCodeSymbols)) - 1;
constexpr int kGroupLength = 4;

// The key is slow to derive, so that trying codes one by one against a
// recorded handshake takes years, yet fast enough not to delay a connection
// (about 70 ms here).
constexpr int kKeyIterations = 50000;
constexpr int kKeyBytes = 32;
constexpr char kKeySalt[] = "Palisade Brindle direct link, version 1";

int symbolValue(QChar character)
{
    // Letters elsewhere in Unicode that upper-case to one of ours are not ours.
    if (character.unicode() > 127) return -1;
    const char upper = character.toUpper().toLatin1();
    if (upper == 'I' || upper == 'L') return 1;
    if (upper == 'O') return 0;
    for (int value = 0; value < 32; ++value) {
        if (kSymbols[value] == upper) return value;
    }
    return -1;
}

bool isSeparator(QChar character)
{
    return character.isSpace() || character == u'-';
}

QByteArray bitsOf(quint64 value)
{
    QByteArray bits(sizeof(quint64), '\0');
    qToBigEndian(value, bits.data());
    return bits;
}

} // namespace

JoinCode JoinCode::generate()
{
    JoinCode code;
    code.bits_ = bitsOf(QRandomGenerator::system()->generate64() & kCodeMask);
    return code;
}

std::optional<JoinCode> JoinCode::parse(const QString& text)
{
    quint64 value = 0;
    int symbols = 0;
    for (const QChar character : text) {
        if (isSeparator(character)) continue;
        const int symbol = symbolValue(character);
        if (symbol < 0 || ++symbols > kCodeSymbols) return std::nullopt;
        value = (value << kSymbolBits) | static_cast<quint64>(symbol);
    }
    if (symbols != kCodeSymbols) return std::nullopt;
    JoinCode code;
    code.bits_ = bitsOf(value);
    return code;
}

QString JoinCode::text() const
{
    if (bits_.isEmpty()) return {};
    const quint64 value = qFromBigEndian<quint64>(bits_.constData());
    QString shown;
    for (int index = 0; index < kCodeSymbols; ++index) {
        if (index > 0 && index % kGroupLength == 0) shown += u'-';
        const int shift = kSymbolBits * (kCodeSymbols - 1 - index);
        shown += QLatin1Char(kSymbols[(value >> shift) & 31]);
    }
    return shown;
}

QByteArray JoinCode::presharedKey() const
{
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, bits_,
                                              QByteArray(kKeySalt), kKeyIterations, kKeyBytes);
}

} // namespace palisade::net
