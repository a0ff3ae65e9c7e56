#include "shell/remote_centre.h"

#include "network/xmpp_account.h"
#include "remote/remote_store.h"
#include "shell/account_dialog.h"
#include "shell/contacts_dialog.h"
#include "shell/game_room_window.h"
#include "shell/invite_dialog.h"
#include "shell/remote_carrier.h"
#include "shell/remote_games_dialog.h"
#include "shell/remote_room.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>

#include <algorithm>

namespace palisade {

std::filesystem::path remoteGamesFolder()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return std::filesystem::path(data.toStdString()) / "remote";
}

RemoteCentre::RemoteCentre(GameRoomWindow& window)
    : window_(window), account_(std::make_unique<net::XmppAccount>())
{
    connect(account_.get(), &net::XmppAccount::received, this, &RemoteCentre::received);
    connect(account_.get(), &net::XmppAccount::contactRequest, this, &RemoteCentre::contactAsks);
}

RemoteCentre::~RemoteCentre() = default;

void RemoteCentre::editAccount()
{
    AccountDialog dialog(*account_, &window_);
    dialog.exec();
}

void RemoteCentre::editContacts()
{
    ContactsDialog dialog(*account_, &window_);
    dialog.exec();
}

void RemoteCentre::inviteContact()
{
    if (!account_->isOnline()) {
        QMessageBox::information(&window_, "Invite", "Log in to your account first (Account...).");
        return;
    }
    InviteDialog dialog(account_->contacts(), &window_);
    if (dialog.exec() != QDialog::Accepted) return;
    // A saved game is opened on the board first, through the reader and its checks.
    if (dialog.fromSavedGame() && !window_.openGame()) return;
    window_.inviteToGame(dialog.invite(), dialog.fromBoard() || dialog.fromSavedGame(),
                         std::make_unique<XmppCarrier>(*account_, dialog.contact()),
                         remote::Carrier::Xmpp, dialog.contact(), account_->address());
}

void RemoteCentre::showRemoteGames()
{
    RemoteGamesDialog dialog(window_.remoteStore().games(), &window_);
    if (dialog.exec() != QDialog::Accepted) return;
    const remote::StoredGameSummary& game = dialog.chosen();
    if (game.carrier == remote::Carrier::Direct) {
        resumeOnHomeNetwork(game.gameId);
        return;
    }
    window_.resumeRemoteGame(game.gameId, std::make_unique<XmppCarrier>(
                                              *account_, QString::fromStdString(game.opponent)));
}

// Either side may host: the other joins, and the two sessions compare where they are.
void RemoteCentre::resumeOnHomeNetwork(const std::string& gameId)
{
    QMessageBox question(
        QMessageBox::Question, "Remote Games",
        "This game was played on the home network. To go on, one of you hosts and the other joins.",
        QMessageBox::Cancel, &window_);
    QPushButton* host = question.addButton("Host", QMessageBox::AcceptRole);
    QPushButton* join = question.addButton("Join", QMessageBox::AcceptRole);
    question.exec();
    if (question.clickedButton() == host || question.clickedButton() == join)
        window_.resumeOnHomeNetwork(gameId, question.clickedButton() == host);
}

// Only what names a game and comes from its opponent reaches a game; an
// invitation is the one message that may start one.
void RemoteCentre::received(const QString& from, const std::string& text)
{
    const auto decoded = remote::decode(text);
    const auto* message = std::get_if<remote::WireMessage>(&decoded);
    if (!message) {
        tell("A message from " + from + " was refused: "
             + QString::fromStdString(std::get<remote::DecodeError>(decoded).reason));
        return;
    }
    if (openGameOf(from, message->gameId, text)) return;
    if (std::holds_alternative<remote::Invite>(message->body)) {
        invitationArrived(from, *message);
        return;
    }
    deliverToStore(from, message->gameId, text);
}

bool RemoteCentre::openGameOf(const QString& from, const std::string& gameId,
                              const std::string& text)
{
    RemoteRoom* open = window_.remoteRoom();
    if (!open || open->game().setup().gameId != gameId) return false;
    auto* carrier = qobject_cast<XmppCarrier*>(&open->carrier());
    if (!carrier || carrier->contact() != from) return false;
    carrier->deliver(text);
    return true;
}

void RemoteCentre::deliverToStore(const QString& from, const std::string& gameId,
                                  const std::string& text)
{
    remote::RemoteStore& store = window_.remoteStore();
    const auto games = store.games();
    const bool theirs =
        std::any_of(games.begin(), games.end(), [&](const remote::StoredGameSummary& game) {
            return game.gameId == gameId && QString::fromStdString(game.opponent) == from;
        });
    if (!theirs) return;
    const auto delivery = store.deliver(
        gameId, text, [this, from](const std::string& answer) { account_->send(from, answer); });
    if (!delivery.notice.empty()) tell(QString::fromStdString(delivery.notice));
}

void RemoteCentre::invitationArrived(const QString& from, const remote::WireMessage& invitation)
{
    const auto decline = [&] {
        account_->send(from, remote::RemoteGame::declineInvite(invitation));
    };
    QApplication::alert(&window_);
    if (!account_->isContact(from)) {
        const auto answer = QMessageBox::question(
            &window_, "Invitation",
            from + " is not among your contacts and invites you to a game. Accept " + from
                + " as a contact?");
        if (answer != QMessageBox::Yes) {
            decline();
            return;
        }
        account_->acceptContact(from);
    }
    const auto& invite = std::get<remote::Invite>(invitation.body);
    if (QMessageBox::question(&window_, "Invitation", invitationText(from, invite))
        != QMessageBox::Yes) {
        decline();
        return;
    }
    window_.acceptInvitation(invitation, std::make_unique<XmppCarrier>(*account_, from),
                             remote::Carrier::Xmpp, from, account_->address());
}

void RemoteCentre::contactAsks(const QString& from)
{
    const auto answer =
        QMessageBox::question(&window_, "Contacts", from + " asks to be your contact. Accept?");
    answer == QMessageBox::Yes ? account_->acceptContact(from) : account_->declineContact(from);
}

// A player at another window learns of it from the task bar and the status line.
void RemoteCentre::tell(const QString& notice)
{
    QApplication::alert(&window_);
    window_.statusBar()->showMessage(notice, 15000);
}

} // namespace palisade
