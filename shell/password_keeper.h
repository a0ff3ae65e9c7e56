#pragma once

#include <QString>

#include <functional>
#include <optional>

class QObject;

namespace palisade {

// The account's password in the desktop's keyring, never in a file of ours:
// where no keyring answers, nothing is kept and the player types it each time.
// The keyring answers later; each answer goes to `done` while `context` lives.
class PasswordKeeper {
public:
    // The password kept for `address`; nothing when none is kept or no keyring answers.
    static void read(const QString& address, QObject* context,
                     std::function<void(std::optional<QString>)> done);
    // False when no keyring took it.
    static void write(const QString& address, const QString& password, QObject* context,
                      std::function<void(bool)> done);
    static void forget(const QString& address);
};

} // namespace palisade
