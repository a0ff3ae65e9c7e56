#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace palisade::net {

// The code a host reads out and a joiner types: at least 40 random bits, in
// short groups a person can read aloud. It authenticates the two programs and
// keys the encryption between them.
class JoinCode {
public:
    static JoinCode generate();
    // Tolerant of case, spaces, dashes and letters easily confused; nothing
    // when the text is not a code.
    static std::optional<JoinCode> parse(const QString& text);

    // As shown and read out: ten symbols in groups, "K7M2-9QXD-3F"; empty for
    // a default-made code, which no link accepts.
    QString text() const;
    // The pre-shared key both sides derive from the code (slow on purpose:
    // derive it once a connection, not a message).
    QByteArray presharedKey() const;

private:
    QByteArray bits_;
};

} // namespace palisade::net
