#pragma once

#include "computer/computer_answers.h"
#include "gameroom/game_room.h"
#include "gameroom/game_room_view.h"
#include "gameroom/recovery_file.h"
#include "remote/remote_answers.h"
#include "remote/remote_game.h"
#include "remote/wire_message.h"
#include "shell/move_sound.h"
#include "shell/preferences.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QKeySequence;
class QLabel;
class QMenu;
class QListWidget;
class QListWidgetItem;
class QPrinter;
class QPushButton;

namespace palisade {

class AnalysisPanel;
class BoardView;
class ClockPanel;
class ComputerPlayer;
class Forms;
class GameTextActions;
class GameReviewer;
class RemoteCarrier;
class RemoteCentre;
class RemoteRoom;
class SoundBoard;
struct RemoteRoomParts;

namespace remote {
class RemoteStore;
enum class Carrier;
} // namespace remote

// The game room window: the board, the status labels, the buttons and the
// menu. It shows what the game room holds and hands it every click.
class GameRoomWindow : public QMainWindow, private GameRoomView {
    Q_OBJECT
public:
    explicit GameRoomWindow(Forms& forms, QWidget* parent = nullptr);
    ~GameRoomWindow() override;

    GameRoom& room() { return room_; }
    BoardView& boardView() { return *board_; }
    ComputerPlayer& computer() { return *computer_; }
    GameTextActions& gameText() { return *gameText_; }
    ClockPanel& clockPanel() { return *clock_; }
    GameReviewer& review() { return *review_; }
    // The sounds beside the beep; a clock may ask it for the low-time warning.
    SoundBoard& sounds() { return *sounds_; }

    const Preferences& preferences() const { return preferences_; }
    void applyPreferences(const Preferences& preferences);

    // Prints the board position on `printer`, as "Print Board Position" does
    // once its dialog is answered; false when the printer could not start.
    bool printTo(QPrinter& printer) const;

    // "Open": asks for a saved game and opens it; false when none was opened.
    bool openGame();

    // Play across two computers: the remote game open in this room (null at
    // one screen), the account and its games, the home network.
    RemoteRoom* remoteRoom() { return remote_.get(); }
    RemoteCentre& remoteCentre() { return *remoteCentre_; }
    remote::RemoteStore& remoteStore() { return *remoteStore_; }
    void hostOnHomeNetwork();
    void joinOnHomeNetwork();
    // Proposes a game to the opponent behind `carrier`: the standard position
    // with the invitation's win option, or the game on the board. False when
    // the player would rather keep an unsaved game.
    bool inviteToGame(remote::Invite invite, bool fromBoard, std::unique_ptr<RemoteCarrier> carrier,
                      remote::Carrier kind, const QString& opponent, const QString& account);
    // Plays the game of an invitation the player accepted; false, after
    // telling why, when its game cannot be read (the invitation is then declined).
    bool acceptInvitation(const remote::WireMessage& invitation, std::unique_ptr<RemoteCarrier> carrier,
                          remote::Carrier kind, const QString& opponent, const QString& account);
    // Plays the game the host behind `carrier` proposes as soon as its invitation arrives.
    void waitForInvitation(std::unique_ptr<RemoteCarrier> carrier, const QString& opponent);
    // Takes up a stored remote game again with the same opponent.
    void resumeRemoteGame(const std::string& gameId, std::unique_ptr<RemoteCarrier> carrier);
    // A stored game of the home network goes on once the two connect again:
    // one side hosts, the other joins.
    void resumeOnHomeNetwork(const std::string& gameId, bool host);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void boardChanged() override;
    void statusChanged() override;
    bool ask(Question question) override;
    void message(std::string_view text) override;
    void beep() override;
    void moveRefused(std::string_view reason) override;

    bool eventFilter(QObject* watched, QEvent* event) override;
    QAction* addMenuItem(QMenu* menu, const QString& text, const char* name, const QKeySequence& shortcut,
                         const std::function<void()>& run);
    void buildMenu();
    void addClockMenuItems(QMenu* menu);
    void newGameWithPlayers();
    void addHistoryKeys();
    void editPreferences();
    void exportBoard(const QString& caption, const QString& filter,
                     const std::function<std::optional<QString>(const QString&)>& write);
    void keepGameSafe();
    BoardScene exportedScene() const;
    void saveGame();
    void saveGameAs();
    void saveTo(const std::string& path);
    void print();
    QWidget* buildSidePanel();
    void exitClicked();
    void showMoveList();
    void styleMoveRow(QListWidgetItem* item, int halfMove);
    void styleResultRow(QListWidgetItem* item, const GameResult& result);
    void addRemoteMenuItems(QMenu* menu);
    RemoteRoomParts remoteParts();
    void playRemote(std::unique_ptr<RemoteRoom> remote);
    void endRemote();
    void showRemoteAids();
    // In a remote game the command goes to the session; false at one screen.
    bool remoteCommand(void (RemoteRoom::*command)());
    // Keys, buttons and the move list reach the room inside the session's guard.
    void roomInput(const std::function<void()>& input);
    void startFresh(int winOption);
    // A new game may take the room: the game on it is saved or stored, or the player agrees.
    bool mayReplaceGame();
    bool setUpInvitedGame(const remote::Invite& invite);

    Forms& forms_;
    // The computer answers its own questions; everything else reaches this window.
    ComputerAnswers answers_;
    // In a remote game the opponent's questions are answered from their messages.
    remote::RemoteAnswers remoteAnswers_;
    GameRoom room_;
    RecoveryFile recovery_;
    Preferences preferences_;
    BoardView* board_ = nullptr;
    QLabel* winOptionLabel_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    QLabel* checkLabel_ = nullptr;
    QLabel* moveNumberLabel_ = nullptr;
    QLabel* notationLabel_ = nullptr;
    QListWidget* moveList_ = nullptr;
    QPushButton* forwardButton_ = nullptr;
    QLabel* noticeLabel_ = nullptr;
    // What the position on the board says in the status line until it changes.
    QString standingNotice_;
    bool exitConfirmed_ = false;
    std::unique_ptr<ComputerPlayer> computer_;
    // The game as text: export, copy, import and paste.
    std::unique_ptr<GameTextActions> gameText_;
    // The chess clock, and its menu item.
    ClockPanel* clock_ = nullptr;
    QAction* pauseClock_ = nullptr;
    // The review of the whole game: its thread, graph and marks.
    std::unique_ptr<GameReviewer> review_;
    // The sound for each move, chosen from what the room shows after it.
    SoundBoard* sounds_ = nullptr;
    MoveSound moveSound_;
    // The target mark beside "You may move where", in the theme's colours.
    QLabel* markLegend_ = nullptr;
    // The analysis panel and its evaluation bar.
    AnalysisPanel* analysis_ = nullptr;
    // Play across two computers: every stored remote game, the XMPP account,
    // a home-network connection waiting for the host's game, and the game open.
    std::unique_ptr<remote::RemoteStore> remoteStore_;
    std::unique_ptr<RemoteCentre> remoteCentre_;
    std::unique_ptr<RemoteCarrier> waitingCarrier_;
    std::unique_ptr<RemoteRoom> remote_;
};

} // namespace palisade
