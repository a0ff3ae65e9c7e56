#pragma once

#include <QHash>
#include <QMap>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <cstddef>
#include <string>

// libstrophe's stanza, kept out of this header's users' way.
typedef struct _xmpp_stanza_t xmpp_stanza_t;

namespace palisade::net {

class XmppLink;

// One XMPP account, logged in over TLS (never plain text), carrying the
// messages of every remote game to and from contacts.
class XmppAccount : public QObject {
    Q_OBJECT
public:
    struct Settings {
        QString address;  // user@domain
        QString password;
        QString caFile;   // certificates to trust; empty: the system's
        QString host;     // empty: found from the address's domain
        quint16 port = 0; // 0: the standard one
    };

    // A message body longer than this is neither sent nor received.
    static constexpr std::size_t kMaxBodyBytes = 160 * 1024;

    explicit XmppAccount(QObject* parent = nullptr);
    ~XmppAccount() override;

    void logIn(const Settings& settings);
    void logOut();
    bool isOnline() const;
    QString address() const; // our bare address

    // Asks for a subscription both ways; the contact must agree.
    void addContact(const QString& address);
    void acceptContact(const QString& address);
    void declineContact(const QString& address);
    QStringList contacts() const;
    bool isContact(const QString& address) const;
    bool contactOnline(const QString& address) const;

    void send(const QString& to, const std::string& message);

signals:
    void online();
    void offline(const QString& reason);
    void loginFailed(const QString& reason);
    void contactsChanged();
    void contactRequest(const QString& from);
    void presenceChanged(const QString& address, bool online);
    // A message body from a bare address.
    void received(const QString& from, const std::string& message);

private:
    struct RosterItem {
        QString subscription; // none, to, from or both
        bool asked = false;   // our request waits for their answer
    };

    void onLoggedIn();
    void onLinkLost(const QString& reason, bool loginFailed);
    void dropLink();
    void takeStanza(xmpp_stanza_t* stanza);
    void takeMessage(xmpp_stanza_t* stanza);
    void takePresence(xmpp_stanza_t* stanza);
    void takeIq(xmpp_stanza_t* stanza);
    bool readRoster(xmpp_stanza_t* query);
    void setResourceOnline(const QString& contact, const QString& resource, bool online);
    void forgetPresences();
    void sendPresence(const QString& to, const char* type);

    XmppLink* link_ = nullptr;
    QString address_;
    QString rosterRequestId_;
    bool online_ = false;
    QMap<QString, RosterItem> roster_;
    QHash<QString, QSet<QString>> onlineResources_;
    QTimer loginTimeout_;
};

} // namespace palisade::net
