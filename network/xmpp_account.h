#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <string>

namespace palisade::net {

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
};

} // namespace palisade::net
