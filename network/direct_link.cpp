#include "network/direct_link.h"

#include <QHostAddress>
#include <QNetworkInterface>
#include <QPointer>
#include <QSslCipher>
#include <QSslConfiguration>
#include <QSslPreSharedKeyAuthenticator>
#include <QSslSocket>
#include <QTcpServer>
#include <QTimer>

#include <algorithm>

namespace palisade::net {

namespace {

// A stranger gets this long to prove it knows the code, and a joiner waits
// this long for the host's greeting.
constexpr int kHandshakeTimeoutMs = 10000;
// A leaving connection gets this long to deliver what was written to it.
constexpr int kFarewellMs = 3000;
// The largest message a game sends is one that carries a whole saved game.
constexpr qsizetype kMaxLineBytes = 160 * 1024;
// Handshakes at once; a newcomer beyond them pushes out the oldest.
constexpr qsizetype kMaxHandshakes = 4;

constexpr char kIdentity[] = "palisade-brindle";
// The host's first line says whether the joiner may play: only a joiner
// that knows the code reads it, so a second player learns why it was sent away.
constexpr char kReadyGreeting[] = "palisade-direct 1 ready";
constexpr char kBusyGreeting[] = "palisade-direct 1 busy";

QSslConfiguration keyOnlyConfiguration()
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setProtocol(QSsl::TlsV1_2);
    // Only suites keyed by the code alone, each with a fresh elliptic-curve
    // exchange, so a recorded game cannot be read even by whoever learns the code.
    configuration.setCiphers({QSslCipher(QStringLiteral("ECDHE-PSK-CHACHA20-POLY1305")),
                              QSslCipher(QStringLiteral("ECDHE-PSK-AES256-CBC-SHA384"))});
    // These suites send no certificate: the code proves who the peer is.
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
    return configuration;
}

bool isPrintable(char byte)
{
    return byte >= 0x20 && byte <= 0x7e;
}

bool isKeyMismatch(QSsl::AlertType type)
{
    return type == QSsl::AlertType::DecryptError || type == QSsl::AlertType::BadRecordMac
        || type == QSsl::AlertType::HandshakeFailure || type == QSsl::AlertType::UnknownPskIdentity;
}

QByteArray lineOf(const char* text)
{
    return QByteArray(text) + '\n';
}

QString codeMismatch()
{
    return DirectLink::tr("The join code does not match.");
}

// Ends a connection without another word from it to `link`. Closed when the
// socket goes, not here: the socket may be in the middle of telling of an
// error, and a failed handshake may still have an alert to send out.
void discard(QSslSocket* socket, QObject* link)
{
    socket->disconnect(link);
    socket->deleteLater();
}

// Ends a connection once what was written to it is delivered, or after a
// while; `link` hears nothing more from it.
void letGo(QSslSocket* socket, QObject* link)
{
    socket->disconnect(link);
    QObject::connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(kFarewellMs, socket, &QObject::deleteLater);
    socket->disconnectFromHost();
}

} // namespace

class DirectLink::Listener : public QTcpServer {
public:
    explicit Listener(DirectLink* link) : link_(link) {}

protected:
    void incomingConnection(qintptr descriptor) override { link_->acceptConnection(descriptor); }

private:
    DirectLink* link_;
};

DirectLink::DirectLink(QObject* parent) : QObject(parent) {}

DirectLink::~DirectLink()
{
    // The sockets die with this object; none may call back into it meanwhile.
    for (QSslSocket* socket : findChildren<QSslSocket*>()) socket->disconnect(this);
}

bool DirectLink::host(quint16 port, const JoinCode& code)
{
    closeAll();
    if (!takeCode(code)) return false;
    listener_ = std::make_unique<Listener>(this);
    if (!listener_->listen(QHostAddress::Any, port)) {
        error_ = tr("Cannot wait for a player on port %1: %2").arg(port).arg(listener_->errorString());
        listener_.reset();
        return false;
    }
    return true;
}

quint16 DirectLink::port() const
{
    return listener_ ? listener_->serverPort() : 0;
}

QStringList DirectLink::localAddresses()
{
    QStringList version4;
    QStringList version6;
    for (const QNetworkInterface& networkInterface : QNetworkInterface::allInterfaces()) {
        const auto flags = networkInterface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || !flags.testFlag(QNetworkInterface::IsRunning)
            || flags.testFlag(QNetworkInterface::IsLoopBack)) {
            continue;
        }
        for (const QNetworkAddressEntry& entry : networkInterface.addressEntries()) {
            const QHostAddress address = entry.ip();
            if (address.isLoopback()) continue;
            if (address.protocol() == QAbstractSocket::IPv4Protocol) {
                version4 << address.toString();
            } else if (!address.isLinkLocal()) {
                // A link-local IPv6 address needs its interface named: useless read out.
                version6 << address.toString();
            }
        }
    }
    return version4 + version6;
}

void DirectLink::join(const QString& host, quint16 port, const JoinCode& code)
{
    closeAll();
    if (!takeCode(code)) {
        // The caller hears of it as of any failed join, once it is back in the event loop.
        QTimer::singleShot(0, this, [this, reason = error_] { emit disconnected(reason); });
        return;
    }
    state_ = State::Joining;
    keyRefused_ = false;
    peer_ = new QSslSocket(this);
    prepare(peer_);
    connect(peer_, &QSslSocket::readyRead, this, &DirectLink::readLines);
    peer_->connectToHostEncrypted(host, port);
}

void DirectLink::send(const std::string& message)
{
    // While the link is down the game resends what is unanswered once it is up.
    if (state_ != State::Connected) return;
    const bool fits = static_cast<qsizetype>(message.size()) <= kMaxLineBytes;
    if (!fits || !std::all_of(message.begin(), message.end(), isPrintable)) {
        refuse(tr("A message that is too long or not plain text was not sent."));
        return;
    }
    peer_->write(QByteArray(message.data(), static_cast<qsizetype>(message.size())) + '\n');
}

void DirectLink::disconnectFromPeer()
{
    if (state_ == State::Idle) return;
    QSslSocket* leaving = peer_;
    const bool wasConnected = state_ == State::Connected;
    peer_ = nullptr;
    state_ = State::Idle;
    // What was written before still reaches the peer; a join half done has nothing to deliver.
    if (leaving && wasConnected) {
        letGo(leaving, this);
    } else if (leaving) {
        discard(leaving, this);
    }
    error_ = tr("The connection was closed.");
    emit disconnected(error_);
}

bool DirectLink::isConnected() const
{
    return state_ == State::Connected;
}

QString DirectLink::errorString() const
{
    return error_;
}

bool DirectLink::takeCode(const JoinCode& code)
{
    if (code.text().isEmpty()) {
        error_ = tr("There is no join code.");
        return false;
    }
    // Joining again with the same code needs no second slow derivation.
    if (code.text() != keyedCode_) {
        key_ = code.presharedKey();
        keyedCode_ = code.text();
    }
    return true;
}

void DirectLink::acceptConnection(qintptr descriptor)
{
    auto* socket = new QSslSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return;
    }
    if (handshakes_.size() >= kMaxHandshakes) {
        // The oldest stranger makes room, so idle connections cannot keep the joiner out.
        discard(handshakes_.takeFirst(), this);
    }
    handshakes_.append(socket);
    prepare(socket);
    connect(socket, &QSslSocket::encrypted, this, [this, socket] { admit(socket); });
    socket->startServerEncryption();
}

void DirectLink::prepare(QSslSocket* socket)
{
    socket->setSslConfiguration(keyOnlyConfiguration());
    connect(socket, &QSslSocket::preSharedKeyAuthenticationRequired, this,
            [this, socket](QSslPreSharedKeyAuthenticator* authenticator) {
                if (socket->mode() == QSslSocket::SslClientMode) authenticator->setIdentity(kIdentity);
                authenticator->setPreSharedKey(key_);
            });
    // A host that finds the key wrong says so with an alert before it closes.
    connect(socket, &QSslSocket::alertReceived, this,
            [this, socket](QSsl::AlertLevel level, QSsl::AlertType type, const QString&) {
                if (socket == peer_ && level == QSsl::AlertLevel::Fatal && isKeyMismatch(type)) {
                    keyRefused_ = true; // the error that follows ends the join
                }
            });
    connect(socket, &QSslSocket::errorOccurred, this,
            [this, socket](QAbstractSocket::SocketError error) { socketFailed(socket, error); });
    connect(socket, &QSslSocket::disconnected, this,
            [this, socket] { socketFailed(socket, QAbstractSocket::RemoteHostClosedError); });
    QTimer::singleShot(kHandshakeTimeoutMs, socket, [this, socket] { handshakeTimedOut(socket); });
}

void DirectLink::admit(QSslSocket* socket)
{
    handshakes_.removeOne(socket);
    if (peer_) {
        socket->write(lineOf(kBusyGreeting));
        letGo(socket, this);
        refuse(tr("Someone else tried to join while a player is connected; they were turned away."));
        return;
    }
    peer_ = socket;
    state_ = State::Connected;
    incoming_.clear();
    scanned_ = 0;
    connect(socket, &QSslSocket::readyRead, this, &DirectLink::readLines);
    socket->write(lineOf(kReadyGreeting));
    const QPointer<DirectLink> alive(this);
    emit connected();
    // The joiner may have written before this side was told of it.
    if (alive && peer_ == socket && socket->bytesAvailable() > 0) readLines();
}

void DirectLink::handshakeTimedOut(QSslSocket* socket)
{
    if (handshakes_.removeOne(socket)) {
        discard(socket, this);
    } else if (socket == peer_ && state_ == State::Joining) {
        endPeer(tr("The host did not answer in time."));
    }
}

void DirectLink::socketFailed(QSslSocket* socket, QAbstractSocket::SocketError error)
{
    const bool wrongCode = error == QAbstractSocket::SslHandshakeFailedError;
    if (handshakes_.removeOne(socket)) {
        discard(socket, this);
        if (wrongCode) refuse(tr("Someone tried to join with another join code; they were turned away."));
        return;
    }
    if (socket != peer_) return;
    if (wrongCode || (keyRefused_ && state_ == State::Joining)) {
        refuseAndEnd(codeMismatch());
    } else {
        endPeer(reasonOf(socket, error));
    }
}

QString DirectLink::reasonOf(QSslSocket* socket, QAbstractSocket::SocketError error) const
{
    const bool joining = state_ == State::Joining;
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError: return tr("No game is hosted at that address and port.");
    case QAbstractSocket::HostNotFoundError: return tr("That address is not known on this network.");
    case QAbstractSocket::RemoteHostClosedError:
        return joining ? tr("The host closed the connection before the game could start.")
                       : tr("The other player's connection closed.");
    default: return tr("The connection failed: %1").arg(socket->errorString());
    }
}

void DirectLink::readLines()
{
    QSslSocket* socket = peer_;
    if (!socket) return;
    incoming_ += socket->readAll();
    const QPointer<DirectLink> alive(this);
    while (alive && peer_ == socket) {
        while (scanned_ < incoming_.size() && incoming_[scanned_] != '\n') {
            if (!isPrintable(incoming_[scanned_])) {
                refuseAndEnd(tr("The other program sent something that is not plain text; the connection was dropped."));
                return;
            }
            if (++scanned_ > kMaxLineBytes) {
                refuseAndEnd(tr("The other program sent a message longer than any game needs; the connection was dropped."));
                return;
            }
        }
        if (scanned_ == incoming_.size()) return;
        const QByteArray line = incoming_.left(scanned_);
        incoming_.remove(0, scanned_ + 1);
        scanned_ = 0;
        handleLine(line);
    }
}

void DirectLink::handleLine(const QByteArray& line)
{
    if (state_ == State::Joining) {
        handleGreeting(line);
    } else {
        emit received(line.toStdString());
    }
}

void DirectLink::handleGreeting(const QByteArray& line)
{
    if (line == kReadyGreeting) {
        state_ = State::Connected;
        emit connected();
    } else if (line == kBusyGreeting) {
        refuseAndEnd(tr("The host is already playing with someone else."));
    } else {
        refuseAndEnd(tr("The host is not a game of this version."));
    }
}

void DirectLink::refuse(const QString& reason)
{
    error_ = reason;
    emit refused(reason);
}

void DirectLink::refuseAndEnd(const QString& reason)
{
    const QPointer<DirectLink> alive(this);
    QSslSocket* refusedPeer = peer_;
    refuse(reason);
    if (alive && peer_ == refusedPeer) endPeer(reason);
}

void DirectLink::endPeer(const QString& reason)
{
    if (peer_) discard(peer_, this);
    peer_ = nullptr;
    state_ = State::Idle;
    incoming_.clear();
    scanned_ = 0;
    error_ = reason;
    emit disconnected(reason);
}

void DirectLink::closeAll()
{
    listener_.reset();
    for (QSslSocket* socket : findChildren<QSslSocket*>()) discard(socket, this);
    handshakes_.clear();
    peer_ = nullptr;
    state_ = State::Idle;
    incoming_.clear();
    scanned_ = 0;
}

} // namespace palisade::net
