#include "shell/remote_carrier.h"

#include "network/direct_link.h"
#include "network/xmpp_account.h"

namespace palisade {

DirectCarrier::DirectCarrier(std::unique_ptr<net::DirectLink> link, QObject* parent)
    : RemoteCarrier(parent), link_(std::move(link))
{
    link_->setParent(nullptr);
    connect(link_.get(), &net::DirectLink::connected, this, [this] {
        lastProblem_.clear();
        emit up();
    });
    connect(link_.get(), &net::DirectLink::disconnected, this, [this](const QString& reason) {
        lastProblem_ = reason;
        emit down();
    });
    connect(link_.get(), &net::DirectLink::refused, this,
            [this](const QString& reason) { lastProblem_ = reason; });
    connect(link_.get(), &net::DirectLink::received, this, &RemoteCarrier::received);
}

DirectCarrier::~DirectCarrier() = default;

void DirectCarrier::send(const std::string& message) { link_->send(message); }

bool DirectCarrier::isUp() const { return link_->isConnected(); }

QString DirectCarrier::stateText() const
{
    if (isUp()) return "Connected on the home network";
    return lastProblem_.isEmpty() ? QString("Not connected") : "Not connected: " + lastProblem_;
}

XmppCarrier::XmppCarrier(net::XmppAccount& account, QString contact, QObject* parent)
    : RemoteCarrier(parent), account_(&account), contact_(std::move(contact))
{
    connect(&account, &net::XmppAccount::online, this, &RemoteCarrier::up);
    connect(&account, &net::XmppAccount::offline, this, &RemoteCarrier::down);
    connect(&account, &net::XmppAccount::presenceChanged, this,
            [this](const QString& address, bool online) {
                if (address == contact_) emit online ? up() : down();
            });
}

void XmppCarrier::send(const std::string& message)
{
    if (account_) account_->send(contact_, message);
}

// The server keeps messages for an opponent who is offline, so only our own
// login decides whether moves travel.
bool XmppCarrier::isUp() const { return account_ && account_->isOnline(); }

QString XmppCarrier::stateText() const
{
    if (!isUp()) return "Offline: log in to send and receive moves";
    return account_->contactOnline(contact_) ? contact_ + " is online"
                                             : contact_ + " is offline; moves wait for them";
}

} // namespace palisade
