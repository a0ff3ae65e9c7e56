#pragma once

#include <QString>

namespace palisade::net {

// The bare address user@domain in the form the server compares, lower case;
// empty when `text` is no such address (no resource, nothing around it).
QString bareAddress(const QString& text);

// The bare part of an address as a server writes it (user@domain/resource).
QString bareOfFull(const QString& fullAddress);

} // namespace palisade::net
