#pragma once

#include "network/join_code.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <string>

namespace palisade::net {

// One game's connection on a home network: TLS keyed by the join code, one
// message a line. The host listens; the joiner connects, and may connect
// again after the connection dropped.
class DirectLink : public QObject {
    Q_OBJECT
public:
    explicit DirectLink(QObject* parent = nullptr);
    ~DirectLink() override;

    // Listens on `port` (0: any free port); false, with errorString(), when it cannot.
    bool host(quint16 port, const JoinCode& code);
    quint16 port() const;
    // This computer's addresses on the home network, to read out.
    static QStringList localAddresses();

    void join(const QString& host, quint16 port, const JoinCode& code);

    void send(const std::string& message);
    // Drops the connection; a host goes on listening.
    void disconnectFromPeer();
    bool isConnected() const;
    QString errorString() const;

signals:
    void connected();
    void disconnected(const QString& reason);
    void received(const std::string& message);
    // Something was refused: a wrong code, a message too long, a second peer.
    void refused(const QString& reason);
};

} // namespace palisade::net
