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

    QString text() const; // as shown and read out
    // The pre-shared key both sides derive from the code.
    QByteArray presharedKey() const;

private:
    QByteArray bits_;
};

} // namespace palisade::net
