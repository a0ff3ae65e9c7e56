#pragma once

#include "gameroom/game_clock.h"
#include "gameroom/room_clock.h"

#include <QWidget>

#include <array>
#include <string>

class QLabel;
class QTimer;

namespace palisade {

class ComputerAnswers;
class GameRoom;

// The chess clock beside the status: each side's time in large digits, the
// running side lit, short time in red. It keeps the clock in step with the
// game room and ends the game when a side's time runs out, but only between
// clicks: never while a question, a dialog or a king choice is open. The
// screen is redrawn by a timer; the time itself is read from the clock.
class ClockPanel : public QWidget {
    Q_OBJECT
public:
    ClockPanel(GameRoom& room, const ComputerAnswers& answers, QWidget* parent);

    const GameClock& clock() const { return clock_; }
    // Lets a test drive the time.
    void useTime(const MonotonicClock& time) { clock_.useTime(time); }

    // Called after every change of the game room's status.
    void follow();
    // A new game just begun under `control`.
    void startGame(const TimeControl& control);
    // "Pause Clock" / "Resume Clock".
    void togglePause();
    QString pauseActionText() const;
    bool mayPause() const { return clock_.timed() && clock_.started(); }

    // The player's switch: off, no clock shows, runs or ends a game.
    void setInUse(bool inUse);
    bool inUse() const { return inUse_; }

    // The game is being saved under that name: its clock is the one running,
    // not any found beside an older file of that name.
    void savingAs(const std::string& gameFileName) { knownFile_ = gameFileName; }
    // Writes the clock beside a game just saved under that name; false when it could not.
    bool keepBeside(const std::string& gameFileName);
    // The unsaved game's clock, kept beside its recovery file after each move,
    // and taken back with the recovered game.
    void keepSafeBeside(const std::string& recoveryPath);
    void resumeRecovered(const std::string& recoveryPath);

signals:
    // A side's time has just fallen under its low-time mark.
    void lowTime(bool white);
    // Pausing became possible or impossible, or the pause began or ended.
    void pauseChanged();

private:
    void tick();
    void judgeFlag();
    void adoptClockOfFile();
    void adopt(const std::string& gameFileName);
    void showTimes();
    void showSide(Side side);
    void signalLowTime(Side side);

    GameRoom& room_;
    const ComputerAnswers& answers_;
    SteadyClock steady_;
    GameClock clock_;
    RoomClock follower_;
    bool inUse_ = true;
    std::string knownFile_;
    int movesKeptSafe_ = 0;
    std::array<QLabel*, 2> faces_{};
    QLabel* pausedLabel_ = nullptr;
    std::array<bool, 2> lowTimeTold_{};
    QTimer* timer_ = nullptr;
};

// The clock is redrawn this often: tenths show under ten seconds.
inline constexpr int kClockRedrawMs = 100;

} // namespace palisade
