#include "network/xmpp_account.h"

#include "network/xmpp_address.h"
#include "network/xmpp_link.h"

#include <strophe.h>

#include <QUuid>

#include <cstring>

namespace palisade::net {
namespace {

constexpr int kLoginTimeoutMilliseconds = 30000;

QString attribute(xmpp_stanza_t* stanza, const char* name) {
    const char* value = xmpp_stanza_get_attribute(stanza, name);
    return value == nullptr ? QString() : QString::fromUtf8(value);
}

QString resourceOf(const QString& fullAddress) {
    const qsizetype slash = fullAddress.indexOf(u'/');
    return slash < 0 ? QString() : fullAddress.mid(slash + 1);
}

// Text an XML stream can carry: valid UTF-8 without the control characters
// XML forbids (a stray one would make the server end the stream).
bool fitsInStream(const std::string& text) {
    for (const unsigned char c : text) {
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') {
            return false;
        }
    }
    const QByteArray bytes = QByteArray::fromStdString(text);
    return QString::fromUtf8(bytes).toUtf8() == bytes;
}

QString newStanzaId() {
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

} // namespace

XmppAccount::XmppAccount(QObject* parent) : QObject(parent) {
    loginTimeout_.setSingleShot(true);
    loginTimeout_.setInterval(kLoginTimeoutMilliseconds);
    connect(&loginTimeout_, &QTimer::timeout, this,
            [this] { onLinkLost(tr("The server did not answer in time."), true); });
}

XmppAccount::~XmppAccount() = default;

void XmppAccount::logIn(const Settings& settings) {
    if (link_ != nullptr) {
        logOut();
    }
    const QString address = bareAddress(settings.address);
    if (address.isEmpty()) {
        const QString reason = tr("\"%1\" is not an account address (name@server).").arg(settings.address);
        QMetaObject::invokeMethod(this, [this, reason] { emit loginFailed(reason); }, Qt::QueuedConnection);
        return;
    }
    address_ = address;
    link_ = new XmppLink(this);
    connect(link_, &XmppLink::loggedIn, this, &XmppAccount::onLoggedIn);
    connect(link_, &XmppLink::loginFailed, this, [this](const QString& reason) { onLinkLost(reason, true); });
    connect(link_, &XmppLink::dropped, this, [this](const QString& reason) { onLinkLost(reason, false); });
    Settings bare = settings;
    bare.address = address;
    link_->start(bare, [this](xmpp_stanza_t* stanza) { takeStanza(stanza); });
    loginTimeout_.start();
}

// Whatever is queued still goes out; the old link closes on its own.
void XmppAccount::logOut() {
    if (link_ == nullptr) {
        return;
    }
    const bool wasOnline = online_;
    if (link_->isLoggedIn()) {
        sendPresence({}, "unavailable");
    }
    XmppLink* leaving = link_;
    leaving->disconnect(this);
    connect(leaving, &XmppLink::closed, leaving, &QObject::deleteLater);
    leaving->leave();
    link_ = nullptr;
    loginTimeout_.stop();
    online_ = false;
    forgetPresences();
    if (wasOnline) {
        emit offline(tr("Logged out."));
    }
}

bool XmppAccount::isOnline() const {
    return online_;
}

QString XmppAccount::address() const {
    return address_;
}

void XmppAccount::addContact(const QString& address) {
    const QString contact = bareAddress(address);
    if (!contact.isEmpty() && contact != address_) {
        sendPresence(contact, "subscribe");
    }
}

void XmppAccount::acceptContact(const QString& address) {
    const QString contact = bareAddress(address);
    if (!contact.isEmpty() && contact != address_) {
        sendPresence(contact, "subscribed");
        sendPresence(contact, "subscribe");
    }
}

void XmppAccount::declineContact(const QString& address) {
    const QString contact = bareAddress(address);
    if (!contact.isEmpty()) {
        sendPresence(contact, "unsubscribed");
    }
}

QStringList XmppAccount::contacts() const {
    return roster_.keys();
}

bool XmppAccount::isContact(const QString& address) const {
    return roster_.contains(bareAddress(address));
}

bool XmppAccount::contactOnline(const QString& address) const {
    return !onlineResources_.value(bareAddress(address)).isEmpty();
}

void XmppAccount::send(const QString& to, const std::string& message) {
    const QString contact = bareAddress(to);
    if (!online_ || contact.isEmpty() || message.size() > kMaxBodyBytes || !fitsInStream(message)) {
        return;
    }
    xmpp_stanza_t* stanza = xmpp_message_new(link_->context(), "chat", contact.toUtf8().constData(),
                                             newStanzaId().toUtf8().constData());
    xmpp_message_set_body(stanza, message.c_str());
    link_->send(stanza);
}

void XmppAccount::onLoggedIn() {
    // The roster first, then our presence: the server then sends the
    // contacts' presences and what waited for us while we were away.
    rosterRequestId_ = newStanzaId();
    xmpp_stanza_t* iq = xmpp_iq_new(link_->context(), "get", rosterRequestId_.toUtf8().constData());
    xmpp_stanza_t* query = xmpp_stanza_new(link_->context());
    xmpp_stanza_set_name(query, "query");
    xmpp_stanza_set_ns(query, XMPP_NS_ROSTER);
    xmpp_stanza_add_child_ex(iq, query, 0);
    link_->send(iq);
    sendPresence({}, nullptr);
}

void XmppAccount::onLinkLost(const QString& reason, bool loginFailed) {
    const bool wasOnline = online_;
    dropLink();
    if (loginFailed && !wasOnline) {
        emit this->loginFailed(reason);
    } else {
        emit offline(reason);
    }
}

void XmppAccount::dropLink() {
    loginTimeout_.stop();
    online_ = false;
    forgetPresences();
    if (link_ != nullptr) {
        link_->disconnect(this);
        link_->deleteLater();
        link_ = nullptr;
    }
}

void XmppAccount::takeStanza(xmpp_stanza_t* stanza) {
    const char* name = xmpp_stanza_get_name(stanza);
    if (name == nullptr) {
        return;
    }
    if (std::strcmp(name, "message") == 0) {
        takeMessage(stanza);
    } else if (std::strcmp(name, "presence") == 0) {
        takePresence(stanza);
    } else if (std::strcmp(name, "iq") == 0) {
        takeIq(stanza);
    }
}

void XmppAccount::takeMessage(xmpp_stanza_t* stanza) {
    const char* type = xmpp_stanza_get_type(stanza);
    const QString from = bareOfFull(attribute(stanza, "from"));
    if (type == nullptr || std::strcmp(type, "chat") != 0 || from.isEmpty() || from == address_) {
        return;
    }
    xmpp_stanza_t* body = xmpp_stanza_get_child_by_name(stanza, "body");
    if (body == nullptr) {
        return;
    }
    char* text = xmpp_stanza_get_text(body);
    if (text == nullptr) {
        return;
    }
    std::string message(text);
    xmpp_free(link_->context(), text);
    if (message.size() > kMaxBodyBytes) {
        return;
    }
    link_->later([this, from, message = std::move(message)] { emit received(from, message); });
}

void XmppAccount::takePresence(xmpp_stanza_t* stanza) {
    const QString full = attribute(stanza, "from");
    const QString from = bareOfFull(full);
    if (from.isEmpty() || from == address_) {
        return;
    }
    const QString type = attribute(stanza, "type");
    if (type.isEmpty() || type == QLatin1String("unavailable")) {
        setResourceOnline(from, resourceOf(full), type.isEmpty());
    } else if (type == QLatin1String("subscribe")) {
        if (roster_.contains(from)) {
            // The answer to our own request, or a contact asking again.
            sendPresence(from, "subscribed");
        } else {
            link_->later([this, from] { emit contactRequest(from); });
        }
    }
}

void XmppAccount::takeIq(xmpp_stanza_t* stanza) {
    const QString type = attribute(stanza, "type");
    const QString id = attribute(stanza, "id");
    xmpp_stanza_t* query = xmpp_stanza_get_child_by_name_and_ns(stanza, "query", XMPP_NS_ROSTER);
    const QString from = attribute(stanza, "from");
    const bool fromServer = from.isEmpty() || bareOfFull(from) == address_;

    if (type == QLatin1String("result") || type == QLatin1String("error")) {
        if (id == rosterRequestId_ && !rosterRequestId_.isEmpty()) {
            rosterRequestId_.clear();
            roster_.clear();
            if (query != nullptr) {
                readRoster(query);
            }
            link_->later([this] {
                loginTimeout_.stop();
                online_ = true;
                emit contactsChanged();
                emit online();
            });
        }
        return;
    }
    if (type == QLatin1String("set") && query != nullptr && fromServer) {
        xmpp_stanza_t* reply = xmpp_iq_new(link_->context(), "result", id.toUtf8().constData());
        link_->send(reply);
        if (readRoster(query)) {
            link_->later([this] { emit contactsChanged(); });
        }
        return;
    }
    if (type == QLatin1String("get") || type == QLatin1String("set")) {
        // Nobody waits in vain for an answer we will not give.
        xmpp_stanza_t* reply = xmpp_stanza_reply_error(stanza, "cancel", "service-unavailable", nullptr);
        link_->send(reply);
    }
}

// Takes in each roster item of a roster result or push; true when anything changed.
bool XmppAccount::readRoster(xmpp_stanza_t* query) {
    bool changed = false;
    for (xmpp_stanza_t* item = xmpp_stanza_get_children(query); item != nullptr; item = xmpp_stanza_get_next(item)) {
        const char* name = xmpp_stanza_get_name(item);
        const QString contact = bareAddress(attribute(item, "jid"));
        if (name == nullptr || std::strcmp(name, "item") != 0 || contact.isEmpty() || contact == address_) {
            continue;
        }
        const QString subscription = attribute(item, "subscription");
        if (subscription == QLatin1String("remove")) {
            changed = roster_.remove(contact) > 0 || changed;
            continue;
        }
        RosterItem entry{subscription.isEmpty() ? QStringLiteral("none") : subscription,
                         attribute(item, "ask") == QLatin1String("subscribe")};
        auto existing = roster_.find(contact);
        if (existing == roster_.end() || existing->subscription != entry.subscription
            || existing->asked != entry.asked) {
            roster_.insert(contact, entry);
            changed = true;
        }
    }
    return changed;
}

void XmppAccount::setResourceOnline(const QString& contact, const QString& resource, bool online) {
    QSet<QString>& resources = onlineResources_[contact];
    const bool wasOnline = !resources.isEmpty();
    if (online) {
        resources.insert(resource);
    } else {
        resources.remove(resource);
    }
    const bool isOnline = !resources.isEmpty();
    if (!isOnline) {
        onlineResources_.remove(contact);
    }
    if (wasOnline != isOnline) {
        link_->later([this, contact, isOnline] { emit presenceChanged(contact, isOnline); });
    }
}

void XmppAccount::forgetPresences() {
    const QStringList wereOnline = onlineResources_.keys();
    onlineResources_.clear();
    for (const QString& contact : wereOnline) {
        emit presenceChanged(contact, false);
    }
}

// `to` empty: to the server, for all our contacts; `type` null: available.
void XmppAccount::sendPresence(const QString& to, const char* type) {
    if (link_ == nullptr || !link_->isLoggedIn()) {
        return;
    }
    xmpp_stanza_t* presence = xmpp_presence_new(link_->context());
    if (!to.isEmpty()) {
        xmpp_stanza_set_to(presence, to.toUtf8().constData());
    }
    if (type != nullptr) {
        xmpp_stanza_set_type(presence, type);
    }
    link_->send(presence);
}

} // namespace palisade::net
