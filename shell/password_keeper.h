#pragma once

#include <QString>

#include <optional>

namespace palisade {

// The account's password in the desktop's keyring, never in a file of ours:
// where no keyring answers, nothing is kept and the player types it each time.
class PasswordKeeper {
public:
    // The password kept for `address`; nothing when none is kept or no keyring answers.
    static std::optional<QString> read(const QString& address);
    // False when no keyring took it.
    static bool write(const QString& address, const QString& password);
    static void forget(const QString& address);
};

} // namespace palisade
