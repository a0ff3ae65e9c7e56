#pragma once

#include "cli/peer_script.h"
#include "network/direct_link.h"
#include "network/xmpp_account.h"

#include <QObject>
#include <QString>

#include <memory>
#include <string>
#include <variant>

namespace palisade {

// How `peer` reaches the opponent's program: one interface over an XMPP
// account and a direct connection, so the script runs the same on both.
class PeerLink : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Logs in, listens or connects; up() follows once messages can flow.
    virtual void open() = 0;
    // Drops the connection on purpose; open() brings it back.
    virtual void close() = 0;
    virtual void send(const std::string& message) = 0;
    virtual bool isUp() const = 0;
    // The opponent's program can be reached right now, as far as we know.
    virtual bool opponentPresent() const = 0;
    // The opponent's address or name, once known (the joiner's is its host).
    virtual QString opponent() const = 0;

signals:
    void up();
    void down(const QString& reason);
    void received(const std::string& message);
    // The opponent came or went.
    void presenceChanged();
    // The link cannot work at all: a login refused, a join code refused.
    void failed(const QString& reason);
    // Something from the other end was turned away; the link goes on.
    void refused(const QString& reason);
    // A host listens on `port` for the joiner.
    void listening(quint16 port);
};

// One XMPP account, talking to one opponent. With no opponent given, the
// first address that writes becomes the opponent (the side that accepts).
class XmppPeerLink : public PeerLink {
    Q_OBJECT
public:
    XmppPeerLink(net::XmppAccount::Settings settings, QString opponent, QObject* parent = nullptr);

    void open() override;
    void close() override;
    void send(const std::string& message) override;
    bool isUp() const override { return account_.isOnline(); }
    bool opponentPresent() const override;
    QString opponent() const override { return opponent_; }

private:
    void arrived(const QString& from, const std::string& message);

    net::XmppAccount account_;
    net::XmppAccount::Settings settings_;
    QString opponent_;
};

// A direct connection keyed by a join code: the host listens, the joiner
// connects and, until it is asked to drop the connection, tries again
// whenever it cannot get in or the connection drops.
class DirectPeerLink : public PeerLink {
    Q_OBJECT
public:
    // Hosting when `host` is empty.
    DirectPeerLink(QString host, quint16 port, net::JoinCode code, QObject* parent = nullptr);

    void open() override;
    void close() override;
    void send(const std::string& message) override { link_.send(message); }
    bool isUp() const override { return link_.isConnected(); }
    bool opponentPresent() const override { return link_.isConnected(); }
    QString opponent() const override { return host_.isEmpty() ? QStringLiteral("the joiner") : host_; }

private:
    void dropped(const QString& reason);
    void turnedAway(const QString& reason);

    net::DirectLink link_;
    QString host_;
    quint16 port_;
    net::JoinCode code_;
    bool everConnected_ = false;
    bool closedOnPurpose_ = false;
    bool listening_ = false;
};

// The link a script asks for, its password read or its join code checked;
// the words of the refusal otherwise.
std::variant<std::unique_ptr<PeerLink>, std::string> makePeerLink(const PeerScript& script);

} // namespace palisade
