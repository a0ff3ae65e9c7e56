#pragma once

#include "computer/background_search.h"
#include "computer/computer_answers.h"
#include "computer/players.h"
#include "gameroom/game_clock.h"
#include "gameroom/game_room.h"

#include <QObject>

#include <algorithm>
#include <chrono>
#include <cstdint>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class QWidget;

namespace palisade {

class BoardView;
class HintOverlay;

// Plays the computer's side of the game room and gives hints. The search runs
// on a thread of its own; its result comes back to the window's thread and is
// played by the same clicks a person makes. While a person looks back through
// the game the computer waits; "Move Now" makes it play from there.
class ComputerPlayer : public QObject {
    Q_OBJECT
public:
    ComputerPlayer(GameRoom& room, ComputerAnswers& answers, BoardView& board, QWidget* panelParent);
    ~ComputerPlayer() override;

    // "Computer is thinking...", the progress bar, Stop and Move Now.
    QWidget* panel() const { return panel_; }

    const Players& players() const { return answers_.players(); }
    // The players for the game from now on.
    void setPlayers(const Players& players);
    // A new game with players chosen in the dialog, and its time control when
    // one is given; true once the new game has begun.
    bool newGameWithPlayers(TimeControl* control = nullptr);
    // The computer's thinking comes out of its time on this clock.
    void watchClock(const GameClock& clock) { clock_ = &clock; }
    // The game is being saved under that name: its players are those playing,
    // not any found beside an older file of that name.
    void savingAs(const std::string& gameFileName) { knownFile_ = gameFileName; }
    // Writes the players beside a game just saved under that name.
    void keepPlayersBeside(const std::string& gameFileName);

    // Called after every change of the game room's status.
    void positionChanged();
    void showHint();
    // The computer plays its best move so far.
    void stopThinking();
    void moveNow();
    bool thinking() const { return task_ != Task::None; }

    // While the computer plays both sides it waits this long before each move,
    // so that a person can follow the game; zero plays on at once.
    void setPauseBetweenMoves(std::chrono::milliseconds pause) { pause_ = pause; }
    // Waiting before a move; a change of position, and closing the window, end the wait.
    bool pausing() const;

    // Threads each search of a move or a hint uses from its next start.
    void setSearchThreads(int threads) { searchThreads_ = std::max(1, threads); }

signals:
    // The computer began or ended a search of its own: a move, a hint or the king to keep.
    void thinkingChanged(bool thinking);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Task { None, Move, Hint, KingChoice };

    QWidget* buildPanel(QWidget* parent);
    bool computerToMove() const;
    bool computersTask() const;
    bool atEndOfGame() const;
    void considerMoving();
    bool waitBeforeMoving();
    void pauseEnded();
    int beginTask(Task task, SearchLimits limits);
    void start(Task task, const Level& level);
    void searchDone(int id, const SearchReport& report);
    void chooseKing();
    void kingChosen(int id, int square);
    void finishTask();
    void abandonSearch();
    void showProgress();
    void showIdle();
    void adoptPlayersOfFile();

    GameRoom& room_;
    ComputerAnswers& answers_;
    BoardView& board_;
    HintOverlay* hint_ = nullptr;
    QWidget* panel_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* stopButton_ = nullptr;
    QPushButton* moveNowButton_ = nullptr;
    QTimer* progressTimer_ = nullptr;
    QTimer* pauseTimer_ = nullptr;

    BackgroundSearch search_;
    Task task_ = Task::None;
    int searchId_ = 0;
    Position searched_;
    SearchLimits limits_;
    std::chrono::steady_clock::time_point started_;
    bool moveNowAsked_ = false;
    std::chrono::milliseconds pause_{0};
    bool pauseOver_ = false;
    std::uint64_t seed_;
    std::string knownFile_;
    int searchThreads_ = 1;
    const GameClock* clock_ = nullptr;
};

} // namespace palisade
