#pragma once

#include "remote/remote_game.h"
#include "remote/remote_store.h"
#include "shell/offer_bar.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <string_view>

class QDockWidget;
class QLabel;
class QLineEdit;
class QListWidget;
class QMainWindow;
class QTimer;

namespace palisade {

class BoardView;
class GameRoom;
class RemoteCarrier;

namespace remote {
class RemoteAnswers;
}

// What a remote game needs of the game room window.
struct RemoteRoomParts {
    GameRoom& room;
    remote::RemoteAnswers& answers;
    BoardView& board;
    QMainWindow& window;
    remote::RemoteStore& store;
    // A passing line in the window's status bar, and a notice to acknowledge.
    std::function<void(const QString&)> notice;
    std::function<void(std::string_view)> message;
};

// A game played across two computers in the game room window. It owns the
// session and its carrier, lets the board take the local player's clicks only
// on their turn, turns the commands into requests to the opponent, stores the
// game after every agreed change, and shows the opponent, the connection, the
// chat and the opponent's offers in a strip above the board.
class RemoteRoom : public QObject, private remote::RemoteListener {
    Q_OBJECT
public:
    // The room must already hold the game's start (or the stored game).
    RemoteRoom(const RemoteRoomParts& parts, remote::RemoteRecord record,
               std::unique_ptr<RemoteCarrier> carrier);
    ~RemoteRoom() override;

    // The game begins in one of three ways: the inviter's side proposes it;
    // the invitee's accepts the invitation that arrived as message `sequence`;
    // or a stored game is taken up again.
    void invite(const remote::Invite& invite);
    void acceptInvitation(std::uint32_t sequence);
    void resume();

    remote::RemoteGame& game() { return *game_; }
    RemoteCarrier& carrier() { return *carrier_; }
    QString opponent() const;
    // No result shows yet: the computer's aids stay off.
    bool unfinished() const;

    // Input for the room from keys, buttons and the move list: it browses or
    // turns the local view, inside the session's guard.
    void localInput(const std::function<void()>& input);
    // The commands as a remote game has them.
    void requestTakeBack();
    void offerDraw();
    void proposeNewGame();
    void resign();
    void winOptionAsked();

    OfferBar& offerBar() { return *offerBar_; }

signals:
    // The game left this room for good: the opponent declined it.
    void gameOver();

private:
    void send(const std::string& message) override;
    void remoteChanged() override;
    void agreedGameChanged() override;
    void chatArrived(std::string_view text) override;
    void refused(std::string_view reason) override;
    void resyncProposed() override;
    void newGameStarted() override;
    void inviteAnswered(bool accepted) override;

    bool eventFilter(QObject* watched, QEvent* event) override;
    void buildPanel();
    void buildOfferStrip();
    void showState();
    void showOffers();
    void addChatLine(const QString& line);
    void sendChat();
    void storeGame();
    void tellInBackground(const QString& what);

    RemoteRoomParts parts_;
    remote::RemoteRecord record_;
    std::unique_ptr<RemoteCarrier> carrier_;
    std::unique_ptr<remote::RemoteGame> game_;
    QTimer* resendTimer_ = nullptr;
    QPointer<QDockWidget> dock_;
    QPointer<OfferBar> offerBar_;
    QLabel* opponentLabel_ = nullptr;
    QLabel* connectionLabel_ = nullptr;
    QLabel* turnLabel_ = nullptr;
    QListWidget* chatLines_ = nullptr;
    QLineEdit* chatEntry_ = nullptr;
    int lastHalfMoveSeen_ = 0;
    bool passingClick_ = false;
    bool resyncShown_ = false;
};

} // namespace palisade
