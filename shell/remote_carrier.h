#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>
#include <string>

namespace palisade {

namespace net {
class DirectLink;
class XmppAccount;
} // namespace net

// The way one remote game's messages travel to the opponent and back: a
// connection of its own on the home network, or an XMPP account shared by
// every game.
class RemoteCarrier : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual void send(const std::string& message) = 0;
    virtual bool isUp() const = 0;
    // "Connected", "Offline: REASON" and the like, for the game room.
    virtual QString stateText() const = 0;

signals:
    void up();
    void down();
    void received(const std::string& message);
};

// A game's own connection on the home network.
class DirectCarrier : public RemoteCarrier {
    Q_OBJECT
public:
    // Takes the link over, already connected or about to be.
    explicit DirectCarrier(std::unique_ptr<net::DirectLink> link, QObject* parent = nullptr);
    ~DirectCarrier() override;

    void send(const std::string& message) override;
    bool isUp() const override;
    QString stateText() const override;

private:
    std::unique_ptr<net::DirectLink> link_;
    QString lastProblem_;
};

// One contact reached through the account; the account hands this game's
// messages over by `deliver`, having read the game id.
class XmppCarrier : public RemoteCarrier {
    Q_OBJECT
public:
    XmppCarrier(net::XmppAccount& account, QString contact, QObject* parent = nullptr);

    void send(const std::string& message) override;
    bool isUp() const override;
    QString stateText() const override;
    const QString& contact() const { return contact_; }
    void deliver(const std::string& message) { emit received(message); }

private:
    QPointer<net::XmppAccount> account_;
    QString contact_;
};

} // namespace palisade
