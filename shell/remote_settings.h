#pragma once

#include <QCoreApplication>
#include <QSettings>

namespace palisade {

// The settings of remote play (the account's address and server, the home
// network's port), kept in the program's preferences file with the others.
class RemoteSettings : public QSettings {
public:
    RemoteSettings()
        : QSettings(IniFormat, UserScope, QCoreApplication::applicationName(), "preferences")
    {}
};

} // namespace palisade
