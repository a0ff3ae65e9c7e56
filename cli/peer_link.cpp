#include "cli/peer_link.h"

#include "gameroom/game_file.h"

#include <QTimer>

namespace palisade {

namespace {

// A joiner whose connection dropped tries again this often.
constexpr int kRejoinMilliseconds = 1000;

} // namespace

XmppPeerLink::XmppPeerLink(net::XmppAccount::Settings settings, QString opponent, QObject* parent)
    : PeerLink(parent), settings_(std::move(settings)), opponent_(std::move(opponent))
{
    connect(&account_, &net::XmppAccount::online, this, [this] {
        if (!opponent_.isEmpty() && !account_.isContact(opponent_)) account_.addContact(opponent_);
        emit up();
    });
    connect(&account_, &net::XmppAccount::offline, this, &PeerLink::down);
    connect(&account_, &net::XmppAccount::loginFailed, this, &PeerLink::failed);
    // Whoever asks to be a contact of a scripted player is taken: the script
    // itself is the player's consent.
    connect(&account_, &net::XmppAccount::contactRequest, this,
            [this](const QString& from) { account_.acceptContact(from); });
    connect(&account_, &net::XmppAccount::presenceChanged, this, [this](const QString& address, bool) {
        if (address == opponent_) emit presenceChanged();
    });
    connect(&account_, &net::XmppAccount::received, this, &XmppPeerLink::arrived);
}

void XmppPeerLink::open() { account_.logIn(settings_); }

void XmppPeerLink::close() { account_.logOut(); }

void XmppPeerLink::send(const std::string& message)
{
    if (!opponent_.isEmpty()) account_.send(opponent_, message);
}

bool XmppPeerLink::opponentPresent() const
{
    return !opponent_.isEmpty() && account_.contactOnline(opponent_);
}

void XmppPeerLink::arrived(const QString& from, const std::string& message)
{
    if (opponent_.isEmpty()) {
        opponent_ = from;
        if (!account_.isContact(from)) account_.addContact(from);
        // Their presence may have come before we knew them as the opponent.
        emit presenceChanged();
    }
    if (from == opponent_) {
        emit received(message);
    } else {
        emit refused(QStringLiteral("A message from %1, who is not the opponent, was ignored.").arg(from));
    }
}

DirectPeerLink::DirectPeerLink(QString host, quint16 port, net::JoinCode code, QObject* parent)
    : PeerLink(parent), host_(std::move(host)), port_(port), code_(std::move(code))
{
    connect(&link_, &net::DirectLink::connected, this, [this] {
        everConnected_ = true;
        emit up();
        emit presenceChanged();
    });
    connect(&link_, &net::DirectLink::disconnected, this, &DirectPeerLink::dropped);
    connect(&link_, &net::DirectLink::received, this, &PeerLink::received);
    connect(&link_, &net::DirectLink::refused, this, &DirectPeerLink::turnedAway);
}

void DirectPeerLink::open()
{
    closedOnPurpose_ = false;
    if (!host_.isEmpty()) {
        link_.join(host_, port_, code_);
    } else if (!listening_) {
        listening_ = link_.host(port_, code_);
        if (listening_) {
            emit listening(link_.port());
        } else {
            emit failed(QStringLiteral("Cannot listen on port %1: %2").arg(port_).arg(link_.errorString()));
        }
    }
}

void DirectPeerLink::close()
{
    closedOnPurpose_ = true;
    link_.disconnectFromPeer();
}

void DirectPeerLink::dropped(const QString& reason)
{
    emit down(reason);
    emit presenceChanged();
    if (host_.isEmpty() || closedOnPurpose_) return;
    QTimer::singleShot(kRejoinMilliseconds, this, [this] {
        if (!closedOnPurpose_ && !link_.isConnected()) link_.join(host_, port_, code_);
    });
}

// A joiner turned away before it ever got in cannot play: a wrong code, most
// likely. Anything later is the other end misbehaving, and the link goes on.
void DirectPeerLink::turnedAway(const QString& reason)
{
    if (!host_.isEmpty() && !everConnected_) {
        emit failed(reason);
    } else {
        emit refused(reason);
    }
}

std::variant<std::unique_ptr<PeerLink>, std::string> makePeerLink(const PeerScript& script)
{
    if (script.overXmpp()) {
        auto bytes = readFileBytes(script.passwordFile);
        if (const auto* error = std::get_if<FileError>(&bytes)) {
            return "the password file " + script.passwordFile + ": " + error->reason + ".";
        }
        const std::string& text = std::get<std::string>(bytes);
        net::XmppAccount::Settings settings;
        settings.address = QString::fromStdString(script.account);
        settings.password = QString::fromStdString(text.substr(0, text.find_first_of("\r\n")));
        settings.caFile = QString::fromStdString(script.caFile);
        settings.host = QString::fromStdString(script.serverHost);
        settings.port = static_cast<quint16>(script.serverPort);
        return std::make_unique<XmppPeerLink>(settings, QString::fromStdString(script.opponent));
    }
    const auto code = net::JoinCode::parse(QString::fromStdString(script.code));
    if (!code) return "not a join code: " + script.code;
    const auto port = static_cast<quint16>(script.listenPort ? *script.listenPort : script.joinPort);
    return std::make_unique<DirectPeerLink>(QString::fromStdString(script.joinHost), port, *code);
}

} // namespace palisade
