#include "gameroom/game_clock.h"

#include <algorithm>

namespace palisade {

namespace {

using std::chrono::nanoseconds;

constexpr std::size_t indexOf(Side side) { return side == Side::White ? 0 : 1; }

// Short of time: a tenth of the control, at least the last ten seconds and at
// most the last minute.
constexpr nanoseconds kLowTimeLeast = std::chrono::seconds(10);
constexpr nanoseconds kLowTimeMost = std::chrono::minutes(1);

} // namespace

std::string controlText(const TimeControl& control)
{
    const auto minutes = std::chrono::duration_cast<std::chrono::minutes>(control.base);
    const auto seconds = control.base - minutes;
    std::string text = std::to_string(minutes.count());
    if (seconds.count() != 0) text += ":" + std::string(seconds.count() < 10 ? "0" : "") + std::to_string(seconds.count());
    return text + "+" + std::to_string(control.increment.count());
}

std::string clockFaceText(nanoseconds left)
{
    using namespace std::chrono;
    const long long tenths = duration_cast<duration<long long, std::deci>>(std::max(left, nanoseconds::zero())).count();
    const long long totalSeconds = tenths / 10;
    const auto twoDigits = [](long long n) { return (n < 10 ? "0" : "") + std::to_string(n); };
    const long long hours = totalSeconds / 3600;
    const long long minutes = totalSeconds / 60 % 60;
    const std::string seconds = twoDigits(totalSeconds % 60);
    if (hours > 0) return std::to_string(hours) + ":" + twoDigits(minutes) + ":" + seconds;
    std::string face = std::to_string(minutes) + ":" + seconds;
    if (totalSeconds < 10) face += "." + std::to_string(tenths % 10);
    return face;
}

nanoseconds SteadyClock::now() const { return std::chrono::steady_clock::now().time_since_epoch(); }

GameClock::GameClock(const MonotonicClock& time) : time_(&time), since_(time.now()) {}

void GameClock::setControl(const TimeControl& control)
{
    control_ = control;
    left_.fill(control.base);
    started_ = false;
    paused_ = false;
    since_ = time_->now();
}

std::optional<Side> GameClock::running() const
{
    if (!timed() || !started_ || paused_) return std::nullopt;
    return shown_;
}

// The running side pays for the time since the clock last looked.
void GameClock::charge()
{
    const nanoseconds now = time_->now();
    if (const auto side = running()) left_[indexOf(*side)] -= now - since_;
    since_ = now;
}

void GameClock::show(std::optional<Side> sideToMove)
{
    charge();
    shown_ = sideToMove;
}

void GameClock::moveMade(Side mover)
{
    const bool moverRan = running() == mover;
    charge();
    nanoseconds& moverLeft = left_[indexOf(mover)];
    // A flag that fell before the move stays fallen.
    if (moverRan && moverLeft > nanoseconds::zero()) moverLeft += control_.increment;
    started_ = true;
    paused_ = false;
    // The opponent is to move, until the room says otherwise.
    shown_ = opponent(mover);
}

void GameClock::pause()
{
    charge();
    paused_ = true;
}

void GameClock::resume()
{
    charge();
    paused_ = false;
}

nanoseconds GameClock::left(Side side) const
{
    nanoseconds left = left_[indexOf(side)];
    if (running() == side) left -= time_->now() - since_;
    return left;
}

nanoseconds GameClock::remaining(Side side) const { return std::max(left(side), nanoseconds::zero()); }

std::optional<Side> GameClock::timeRanOut() const
{
    if (!timed() || !started_) return std::nullopt;
    for (const Side side : {Side::White, Side::Black}) {
        if (left(side) <= nanoseconds::zero()) return side;
    }
    return std::nullopt;
}

nanoseconds GameClock::lowTimeMark() const
{
    return std::clamp(nanoseconds(control_.base) / 10, kLowTimeLeast, kLowTimeMost);
}

ClockState GameClock::state() const
{
    using std::chrono::duration_cast;
    using std::chrono::milliseconds;
    return {control_, duration_cast<milliseconds>(remaining(Side::White)),
            duration_cast<milliseconds>(remaining(Side::Black)), started_};
}

void GameClock::restore(const ClockState& state)
{
    control_ = state.control;
    left_ = {state.white, state.black};
    started_ = state.started;
    paused_ = state.started;
    since_ = time_->now();
}

void GameClock::useTime(const MonotonicClock& time)
{
    charge();
    time_ = &time;
    since_ = time.now();
}

} // namespace palisade
