#include "network/xmpp_address.h"

namespace palisade::net {
namespace {

// Each part of an address is at most 1023 bytes on the wire.
constexpr qsizetype kMaxPartBytes = 1023;

bool validUser(const QString& user) {
    if (user.isEmpty() || user.toUtf8().size() > kMaxPartBytes) {
        return false;
    }
    for (const QChar c : user) {
        if (c.isSpace() || c.category() == QChar::Other_Control || QStringLiteral("\"&'/:<>@").contains(c)) {
            return false;
        }
    }
    return true;
}

bool validDomain(const QString& domain) {
    if (domain.isEmpty() || domain.toUtf8().size() > kMaxPartBytes || domain.startsWith(u'.')
        || domain.endsWith(u'.') || domain.contains(QStringLiteral(".."))) {
        return false;
    }
    for (const QChar c : domain) {
        if (!c.isLetterOrNumber() && c != u'-' && c != u'.') {
            return false;
        }
    }
    return true;
}

} // namespace

QString bareAddress(const QString& text) {
    const qsizetype at = text.indexOf(u'@');
    if (at < 0) {
        return {};
    }
    const QString user = text.left(at);
    const QString domain = text.mid(at + 1);
    if (!validUser(user) || !validDomain(domain)) {
        return {};
    }
    return text.toLower();
}

QString bareOfFull(const QString& fullAddress) {
    const qsizetype slash = fullAddress.indexOf(u'/');
    return bareAddress(slash < 0 ? fullAddress : fullAddress.left(slash));
}

} // namespace palisade::net
