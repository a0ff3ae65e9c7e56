#pragma once

#include "engine/piece.h"

#include <array>
#include <chrono>
#include <optional>
#include <string>

namespace palisade {

// Minutes for each side's whole game and seconds added after each move.
// No minutes: the game is played without a clock.
struct TimeControl {
    std::chrono::seconds base{0};
    std::chrono::seconds increment{0};

    bool timed() const { return base.count() > 0; }

    friend bool operator==(const TimeControl&, const TimeControl&) = default;
};

// The longest control a game may have, and the most a side may hold on its
// clock: anything beyond is no clock this program runs.
inline constexpr std::chrono::hours kLongestControl{10};
inline constexpr std::chrono::minutes kLongestIncrement{10};
inline constexpr std::chrono::hours kMostTimeHeld{1000};

// "5+3", "30+0": minutes and increment, as a player names a control.
std::string controlText(const TimeControl& control);

// Time left as the clock face shows it: "4:59", "1:02:03", and tenths under
// ten seconds, "0:09.3". Never more than there is.
std::string clockFaceText(std::chrono::nanoseconds left);

// A steady time, never set back: the clock reads it to know how long a side
// has been thinking.
class MonotonicClock {
public:
    virtual ~MonotonicClock() = default;
    virtual std::chrono::nanoseconds now() const = 0;
};

// The machine's steady clock.
class SteadyClock final : public MonotonicClock {
public:
    std::chrono::nanoseconds now() const override;
};

// What the clock keeps beside a saved game.
struct ClockState {
    TimeControl control;
    std::chrono::milliseconds white{0};
    std::chrono::milliseconds black{0};
    bool started = false; // a move was made: the clock had begun

    friend bool operator==(const ClockState&, const ClockState&) = default;
};

// A chess clock for two sides. Nothing runs before the first move; after it
// the clock runs for the side to move while the newest position of the game
// is on the board, and stands still while an earlier one shows, while
// paused and once a result shows. A move made while the mover's time ran
// earns the increment; the time a side used is only ever taken off its own
// clock, and nothing is given back.
class GameClock {
public:
    explicit GameClock(const MonotonicClock& time);

    // A new game under `control`: each side's full time, standing until the first move.
    void setControl(const TimeControl& control);
    void restart() { setControl(control_); }
    const TimeControl& control() const { return control_; }
    bool timed() const { return control_.timed(); }
    bool started() const { return started_; }
    bool paused() const { return paused_; }
    // The side whose time is running now.
    std::optional<Side> running() const;

    // The side to move while the newest position of the game is on the
    // board; nothing while an earlier one shows or the game has ended.
    void show(std::optional<Side> sideToMove);
    // `mover` made a move: its time stops, with the increment when it was
    // running, and the clock runs from now on (a pause ends with a move).
    void moveMade(Side mover);
    void pause();
    void resume();

    // Time left at this moment, never below zero.
    std::chrono::nanoseconds remaining(Side side) const;
    // The side whose time has run out, if any.
    std::optional<Side> timeRanOut() const;
    // Below this much time a side is short of time.
    std::chrono::nanoseconds lowTimeMark() const;

    // Kept between runs; a restored clock waits, paused, for a move or Resume.
    ClockState state() const;
    void restore(const ClockState& state);

    // Reads the time from `time` from now on.
    void useTime(const MonotonicClock& time);

private:
    std::chrono::nanoseconds left(Side side) const;
    void charge();

    const MonotonicClock* time_;
    TimeControl control_;
    std::array<std::chrono::nanoseconds, 2> left_{};
    std::optional<Side> shown_;
    std::chrono::nanoseconds since_{0};
    bool started_ = false;
    bool paused_ = false;
};

} // namespace palisade
