#pragma once

#include "network/join_code.h"

#include <QAbstractSocket>
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <string>

class QSslSocket;

namespace palisade::net {

// One game's connection on a home network: TLS keyed by the join code, one
// message a line. The host listens; the joiner connects, and may connect
// again after the connection dropped.
//
// Every join ends in connected() or disconnected(); every connection that was
// up ends in disconnected(), whoever ended it. refused() says why something was
// turned away and comes before the disconnected() it causes, if any; a
// stranger the host turns away leaves the host's own connection as it is.
// host() and join() start afresh, dropping any earlier connection silently.
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

    // Nothing while not connected. A message the peer would refuse (longer
    // than the largest game message, or other than printable ASCII) is not
    // sent, and refused() says so; the connection stays up.
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

private:
    class Listener;
    enum class State { Idle, Joining, Connected };

    bool takeCode(const JoinCode& code);
    void acceptConnection(qintptr descriptor);
    void prepare(QSslSocket* socket);
    void admit(QSslSocket* socket);
    void handshakeTimedOut(QSslSocket* socket);
    void socketFailed(QSslSocket* socket, QAbstractSocket::SocketError error);
    QString reasonOf(QSslSocket* socket, QAbstractSocket::SocketError error) const;
    void readLines();
    void handleLine(const QByteArray& line);
    void handleGreeting(const QByteArray& line);
    void refuse(const QString& reason);
    void refuseAndEnd(const QString& reason);
    void endPeer(const QString& reason);
    void closeAll();

    std::unique_ptr<Listener> listener_;
    QByteArray key_;
    QString keyedCode_; // the code key_ was derived from
    // Host: connections still in their handshake, not yet proven to know the code.
    QList<QSslSocket*> handshakes_;
    // The joiner's attempt while Joining; the one connection while Connected.
    QSslSocket* peer_ = nullptr;
    State state_ = State::Idle;
    bool keyRefused_ = false; // the host's alert said the joiner's key was wrong
    QByteArray incoming_;
    qsizetype scanned_ = 0; // bytes of incoming_ already checked for a line end
    QString error_;
};

} // namespace palisade::net
