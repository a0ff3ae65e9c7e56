// The game room window's part in play across two computers: the menu items,
// starting, resuming and ending a remote game, and the way commands reach it.
#include "shell/game_room_window.h"

#include "gameroom/saved_game.h"
#include "network/direct_link.h"
#include "remote/remote_store.h"
#include "shell/analysis_panel.h"
#include "shell/clock_panel.h"
#include "shell/computer_player.h"
#include "shell/home_network_dialogs.h"
#include "shell/remote_carrier.h"
#include "shell/remote_centre.h"
#include "shell/remote_room.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTimer>

namespace palisade {

void GameRoomWindow::addRemoteMenuItems(QMenu* menu)
{
    // Play across two computers.
    menu->addSeparator();
    addMenuItem(menu, "Account...", "remoteAccount", {}, [this] { remoteCentre_->editAccount(); });
    addMenuItem(menu, "Contacts...", "remoteContacts", {},
                [this] { remoteCentre_->editContacts(); });
    addMenuItem(menu, "Invite...", "remoteInvite", {}, [this] { remoteCentre_->inviteContact(); });
    addMenuItem(menu, "Remote Games...", "remoteGames", QKeySequence("Ctrl+Shift+G"),
                [this] { remoteCentre_->showRemoteGames(); });
    addMenuItem(menu, "Host on Home Network...", "hostHomeNetwork", {},
                [this] { hostOnHomeNetwork(); });
    addMenuItem(menu, "Join on Home Network...", "joinHomeNetwork", QKeySequence("Ctrl+Shift+J"),
                [this] { joinOnHomeNetwork(); });
}

bool GameRoomWindow::remoteCommand(void (RemoteRoom::*command)())
{
    if (!remote_) return false;
    (remote_.get()->*command)();
    return true;
}

void GameRoomWindow::roomInput(const std::function<void()>& input)
{
    if (remote_) {
        remote_->localInput(input);
    } else {
        input();
    }
}

// Hint and the analysis would play for a person in a game against another;
// they come back once the game is over. Choosing players or replacing the
// game from text would leave the opponent behind.
void GameRoomWindow::showRemoteAids()
{
    const bool playing = remote_ && remote_->unfinished();
    if (auto* hint = findChild<QAction*>("hint")) hint->setEnabled(!playing);
    for (const char* name : {"players", "importGameText", "pasteGame"}) {
        if (auto* action = findChild<QAction*>(name)) action->setEnabled(!remote_);
    }
    if (!analysis_) return;
    QAction* panel = analysis_->panelAction();
    if (playing && panel->isChecked()) panel->trigger();
    panel->setEnabled(!playing);
}

RemoteRoomParts GameRoomWindow::remoteParts()
{
    return {room_,
            remoteAnswers_,
            *board_,
            *this,
            *remoteStore_,
            [this](const QString& text) { noticeLabel_->setText(text); },
            [this](std::string_view text) { message(text); }};
}

void GameRoomWindow::playRemote(std::unique_ptr<RemoteRoom> remote)
{
    remote_ = std::move(remote);
    // The signal comes from inside the remote room, which must outlive it.
    connect(remote_.get(), &RemoteRoom::gameOver, this,
            [this] { QTimer::singleShot(0, this, [this] { endRemote(); }); });
    computer_->setPlayers(Players{});
    // A flag falling on one side only would end a game the other side plays on.
    clock_->setInUse(false);
    showRemoteAids();
}

// The remote game stays stored, to be taken up again from the list.
void GameRoomWindow::endRemote()
{
    if (remote_) clock_->setInUse(preferences_.showClock);
    remote_.reset();
    waitingCarrier_.reset();
    showRemoteAids();
}

void GameRoomWindow::startFresh(int winOption)
{
    room_.setUp();
    if (room_.position().winOption != winOption) room_.toggleWinOption();
}

bool GameRoomWindow::setUpInvitedGame(const remote::Invite& invite)
{
    if (invite.savedGame.empty()) {
        startFresh(invite.winOption);
        return true;
    }
    const auto game = decodeSavedGame(invite.savedGame);
    if (const auto* error = std::get_if<FileError>(&game)) {
        message("The game in the invitation cannot be played: " + error->reason);
        return false;
    }
    room_.loadRecovered(std::get<SavedGame>(game));
    return true;
}

bool GameRoomWindow::mayReplaceGame()
{
    return remote_ || room_.gameSaved() || ask(Question::ExitGameWithoutSaving);
}

bool GameRoomWindow::inviteToGame(remote::Invite invite, bool fromBoard,
                                  std::unique_ptr<RemoteCarrier> carrier, remote::Carrier kind,
                                  const QString& opponent, const QString& account)
{
    if (fromBoard) {
        invite.savedGame = encodeSavedGame(room_.savedGame());
        invite.winOption = room_.position().winOption;
    } else {
        if (!mayReplaceGame()) return false;
        startFresh(invite.winOption);
    }
    endRemote();
    remote::RemoteRecord record{{remote::newGameId(), invite.inviterSide, opponent.toStdString()},
                                kind,
                                account.toStdString(),
                                {}};
    playRemote(std::make_unique<RemoteRoom>(remoteParts(), std::move(record), std::move(carrier)));
    remote_->invite(invite);
    return true;
}

bool GameRoomWindow::acceptInvitation(const remote::WireMessage& invitation,
                                      std::unique_ptr<RemoteCarrier> carrier, remote::Carrier kind,
                                      const QString& opponent, const QString& account)
{
    const auto& invite = std::get<remote::Invite>(invitation.body);
    if (!mayReplaceGame() || !setUpInvitedGame(invite)) {
        carrier->send(remote::RemoteGame::declineInvite(invitation));
        return false;
    }
    endRemote();
    remote::RemoteRecord record{
        {invitation.gameId, palisade::opponent(invite.inviterSide), opponent.toStdString()},
        kind,
        account.toStdString(),
        {}};
    playRemote(std::make_unique<RemoteRoom>(remoteParts(), std::move(record), std::move(carrier)));
    remote_->acceptInvitation(invitation.sequence);
    return true;
}

void GameRoomWindow::resumeRemoteGame(const std::string& gameId,
                                      std::unique_ptr<RemoteCarrier> carrier)
{
    auto stored = remoteStore_->load(gameId);
    if (const auto* error = std::get_if<FileError>(&stored)) {
        message("The remote game cannot be opened: " + error->reason);
        return;
    }
    auto& game = std::get<remote::StoredGame>(stored);
    endRemote();
    room_.loadRecovered(game.game);
    playRemote(
        std::make_unique<RemoteRoom>(remoteParts(), std::move(game.record), std::move(carrier)));
    remote_->resume();
}

void GameRoomWindow::hostOnHomeNetwork()
{
    HostDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted) return;
    const HostedGame hosted = dialog.hostedGame();
    inviteToGame({hosted.hostSide, hosted.winOption, {}}, hosted.fromBoard,
                 std::make_unique<DirectCarrier>(dialog.takeLink()), remote::Carrier::Direct,
                 "Guest", {});
}

void GameRoomWindow::resumeOnHomeNetwork(const std::string& gameId, bool host)
{
    if (host) {
        HostDialog dialog(this);
        dialog.hostStoredGame();
        if (dialog.exec() == QDialog::Accepted)
            resumeRemoteGame(gameId, std::make_unique<DirectCarrier>(dialog.takeLink()));
        return;
    }
    JoinDialog dialog(this);
    if (dialog.exec() == QDialog::Accepted)
        resumeRemoteGame(gameId, std::make_unique<DirectCarrier>(dialog.takeLink()));
}

void GameRoomWindow::joinOnHomeNetwork()
{
    JoinDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted) return;
    waitForInvitation(std::make_unique<DirectCarrier>(dialog.takeLink()), dialog.hostText());
}

// The host proposes the game as soon as the two are connected; anything
// before its invitation is not for us yet.
void GameRoomWindow::waitForInvitation(std::unique_ptr<RemoteCarrier> carrier,
                                       const QString& opponent)
{
    waitingCarrier_ = std::move(carrier);
    noticeLabel_->setText("Connected to " + opponent + "; waiting for the game...");
    connect(waitingCarrier_.get(), &RemoteCarrier::received, this,
            [this, opponent](const std::string& text) {
                const auto decoded = remote::decode(text);
                const auto* invitation = std::get_if<remote::WireMessage>(&decoded);
                if (!invitation || !std::holds_alternative<remote::Invite>(invitation->body))
                    return;
                auto carrier = std::move(waitingCarrier_);
                carrier->disconnect(this);
                acceptInvitation(*invitation, std::move(carrier), remote::Carrier::Direct, opponent,
                                 {});
            });
}

} // namespace palisade
