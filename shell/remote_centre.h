#pragma once

#include <QObject>
#include <QString>

#include <filesystem>
#include <memory>
#include <string>

namespace palisade {

class GameRoomWindow;

namespace net {
class XmppAccount;
}
namespace remote {
struct WireMessage;
}

// Where remote games are stored: the program's data folder.
std::filesystem::path remoteGamesFolder();

// The XMPP account of the game room and what arrives through it: messages
// for the game open in the window, for stored games (played on their files),
// invitations and contact requests; and the dialogs of the "Play Remote" items.
class RemoteCentre : public QObject {
    Q_OBJECT
public:
    explicit RemoteCentre(GameRoomWindow& window);
    ~RemoteCentre() override;

    net::XmppAccount& account() { return *account_; }

    void editAccount();
    void editContacts();
    void inviteContact();
    void showRemoteGames();

private:
    void resumeOnHomeNetwork(const std::string& gameId);
    void received(const QString& from, const std::string& text);
    void invitationArrived(const QString& from, const remote::WireMessage& invitation);
    void contactAsks(const QString& from);
    void deliverToStore(const QString& from, const std::string& gameId, const std::string& text);
    bool openGameOf(const QString& from, const std::string& gameId, const std::string& text);
    void tell(const QString& notice);

    GameRoomWindow& window_;
    std::unique_ptr<net::XmppAccount> account_;
};

} // namespace palisade
