// The chess clock on a fake time: what each side pays, the increment, the
// flag, pauses, the history, and the file kept beside a saved game.

#include "recording_view.h"

#include "gameroom/beside_file.h"
#include "gameroom/clock_file.h"
#include "gameroom/game_clock.h"
#include "gameroom/result_text.h"
#include "gameroom/room_clock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace palisade {
namespace {

using namespace std::chrono_literals;
using std::chrono::milliseconds;
using std::chrono::nanoseconds;

// Time that moves only when the test says so, or by `step` at every look.
class FakeClock final : public MonotonicClock {
public:
    nanoseconds now() const override { return now_ += step; }
    void advance(nanoseconds by) { now_ += by; }
    nanoseconds step{0};

private:
    mutable nanoseconds now_{1'000'000'000};
};

const TimeControl kFivePlusThree{300s, 3s};

TEST(GameClock, NothingRunsBeforeTheFirstMoveThenTheSideToMovePays)
{
    FakeClock time;
    GameClock clock(time);
    clock.setControl(kFivePlusThree);
    clock.show(Side::White);
    time.advance(20s);
    EXPECT_EQ(clock.remaining(Side::White), 300s) << "White thinks over the first move for free";
    EXPECT_FALSE(clock.running());

    clock.moveMade(Side::White);
    clock.show(Side::Black);
    EXPECT_EQ(clock.remaining(Side::White), 300s) << "no increment for a move made with the clock standing";
    EXPECT_EQ(clock.running(), Side::Black);
    time.advance(7s);
    EXPECT_EQ(clock.remaining(Side::Black), 293s);
    clock.moveMade(Side::Black);
    clock.show(Side::White);
    EXPECT_EQ(clock.remaining(Side::Black), 296s) << "the increment after the move";
    time.advance(1500ms);
    EXPECT_EQ(clock.remaining(Side::White), 298500ms);
    EXPECT_EQ(clock.remaining(Side::Black), 296s);
    EXPECT_EQ(controlText(kFivePlusThree), "5+3");
    EXPECT_EQ(clockFaceText(300s), "5:00");
    EXPECT_EQ(clockFaceText(299'999ms), "4:59");
    EXPECT_EQ(clockFaceText(10s), "0:10");
    EXPECT_EQ(clockFaceText(9'999ms), "0:09.9");
    EXPECT_EQ(clockFaceText(50ms), "0:00.0");
    EXPECT_EQ(clockFaceText(-3s), "0:00.0");
    EXPECT_EQ(clockFaceText(3723s), "1:02:03");
    EXPECT_EQ(controlText({90s, 0s}), "1:30+0");
}

// Many moves at uneven intervals: every nanosecond a side used is off its
// clock, and every increment on it, nothing more or less.
// Time passes between every two looks at the clock, as on a real one.
TEST(GameClock, TheMoverPaysNothingAfterItsMoveOnARunningTime)
{
    FakeClock time;
    time.step = 1ms;
    GameClock clock(time);
    clock.setControl(kFivePlusThree);
    clock.show(Side::White);
    clock.moveMade(Side::White);
    clock.show(Side::Black);
    EXPECT_EQ(clock.remaining(Side::White), 300s) << "White's time stood from its move on";
    clock.moveMade(Side::Black);
    clock.show(Side::White);
    EXPECT_EQ(clock.remaining(Side::Black), 300s - 2ms + 3s) << "Black paid from White's move to its own";
}

TEST(GameClock, ALongGameKeepsEveryNanosecond)
{
    FakeClock time;
    GameClock clock(time);
    const TimeControl control{600s, 2s};
    clock.setControl(control);
    clock.show(Side::White);
    std::mt19937_64 dice(7);
    std::uniform_int_distribution<long long> thinking(1, 9'000'000'000);
    nanoseconds used[2]{};
    int increments[2]{};
    Side mover = Side::White;
    for (int halfMove = 0; halfMove < 120; ++halfMove) {
        const nanoseconds spent(thinking(dice));
        time.advance(spent);
        const std::size_t i = mover == Side::White ? 0 : 1;
        if (clock.running()) {
            used[i] += spent;
            ++increments[i];
        }
        clock.moveMade(mover);
        mover = opponent(mover);
        clock.show(mover);
    }
    ASSERT_FALSE(clock.timeRanOut());
    for (const Side side : {Side::White, Side::Black}) {
        const std::size_t i = side == Side::White ? 0 : 1;
        EXPECT_EQ(used[i] + clock.remaining(side), nanoseconds(control.base) + increments[i] * control.increment);
    }
    EXPECT_EQ(increments[0], 59) << "White's first move earns nothing";
    EXPECT_EQ(increments[1], 60);
}

TEST(GameClock, AFlagFallsAtZeroAndStaysFallenThroughTheMove)
{
    FakeClock time;
    GameClock clock(time);
    clock.setControl({60s, 5s});
    clock.show(Side::White);
    clock.moveMade(Side::White);
    clock.show(Side::Black);
    time.advance(59'999ms);
    EXPECT_FALSE(clock.timeRanOut());
    time.advance(1ms);
    EXPECT_EQ(clock.timeRanOut(), Side::Black);
    EXPECT_EQ(clock.remaining(Side::Black), 0ns);
    time.advance(3s);
    clock.moveMade(Side::Black); // too late: no increment brings it back
    clock.show(Side::White);
    EXPECT_EQ(clock.timeRanOut(), Side::Black);
    EXPECT_EQ(clock.remaining(Side::Black), 0ns);
    EXPECT_EQ(clock.lowTimeMark(), 10s);
    clock.setControl({1800s, 0s});
    EXPECT_EQ(clock.lowTimeMark(), 60s);
    clock.setControl({300s, 3s});
    EXPECT_EQ(clock.lowTimeMark(), 30s);
}

TEST(GameClock, PauseHoldsBothSidesAndAMoveEndsIt)
{
    FakeClock time;
    GameClock clock(time);
    clock.setControl(kFivePlusThree);
    clock.show(Side::White);
    clock.moveMade(Side::White);
    clock.show(Side::Black);
    time.advance(10s);
    clock.pause();
    time.advance(10min);
    EXPECT_EQ(clock.remaining(Side::Black), 290s);
    EXPECT_FALSE(clock.running());
    clock.resume();
    time.advance(5s);
    EXPECT_EQ(clock.remaining(Side::Black), 285s);
    clock.pause();
    time.advance(1min);
    clock.moveMade(Side::Black); // paused: no time used, no increment earned
    clock.show(Side::White);
    EXPECT_FALSE(clock.paused());
    EXPECT_EQ(clock.remaining(Side::Black), 285s);
    time.advance(2s);
    EXPECT_EQ(clock.remaining(Side::White), 298s);
}

TEST(GameClock, ARestoredClockWaitsPausedWithItsTimes)
{
    FakeClock time;
    GameClock clock(time);
    const ClockState kept{kFivePlusThree, 123'456ms, 200'000ms, true};
    clock.restore(kept);
    clock.show(Side::Black);
    time.advance(30s);
    EXPECT_TRUE(clock.paused());
    EXPECT_EQ(clock.state(), kept);
    clock.resume();
    time.advance(1s);
    EXPECT_EQ(clock.remaining(Side::Black), 199s);
}

// A room with a clock that follows it after every change, as the window does.
struct TimedRoom : RecordingView, GameRoom {
    TimedRoom() : GameRoom(static_cast<RecordingView&>(*this)), clock(time), follower(clock)
    {
        clock.setControl(kFivePlusThree);
        setUp();
    }
    void statusChanged() override
    {
        RecordingView::statusChanged();
        follower.follow(*this);
    }
    void play(int from, int to)
    {
        clickSquare(from);
        ASSERT_TRUE(isTarget(to)) << from << " -> " << to;
        clickSquare(to);
    }

    FakeClock time;
    GameClock clock;
    RoomClock follower;
};

// Moves of the opening that both sides can make in turn.
const Line kOpening = {{8, 42}, {15, 45}, {42, 8}, {45, 15}};

TEST(RoomClock, BrowsingStandsStillAndTakeBackGivesNoTimeBack)
{
    TimedRoom room;
    ASSERT_NO_FATAL_FAILURE(room.play(kOpening[0].first, kOpening[0].second));
    room.time.advance(4s);
    ASSERT_NO_FATAL_FAILURE(room.play(kOpening[1].first, kOpening[1].second));
    EXPECT_EQ(room.clock.remaining(Side::Black), 299s);
    room.time.advance(6s);
    EXPECT_EQ(room.clock.remaining(Side::White), 294s);

    room.takeBack();
    EXPECT_FALSE(room.clock.running()) << "an earlier position shows";
    room.time.advance(1min);
    room.goToHalfMove(0);
    room.time.advance(1min);
    EXPECT_EQ(room.clock.remaining(Side::White), 294s);
    EXPECT_EQ(room.clock.remaining(Side::Black), 299s);
    room.forwardToEnd();
    EXPECT_EQ(room.clock.running(), Side::White);
    room.time.advance(1s);
    EXPECT_EQ(room.clock.remaining(Side::White), 293s);

    // A move from an earlier position goes on with the times as they stand.
    room.takeBack();
    room.time.advance(30s);
    ASSERT_NO_FATAL_FAILURE(room.play(kOpening[1].first, kOpening[1].second));
    EXPECT_EQ(room.clock.remaining(Side::Black), 299s) << "no increment for a move made with the clock standing";
    EXPECT_EQ(room.clock.remaining(Side::White), 293s);
    EXPECT_EQ(room.clock.running(), Side::White);
}

TEST(RoomClock, TheFlagEndsTheGameForTheSideOutOfTime)
{
    TimedRoom room;
    ASSERT_NO_FATAL_FAILURE(room.play(kOpening[0].first, kOpening[0].second));
    room.time.advance(299s);
    EXPECT_FALSE(room.follower.flagToJudge(room));
    room.time.advance(1s);
    ASSERT_EQ(room.follower.flagToJudge(room), Side::Black);
    room.takeBack();
    EXPECT_FALSE(room.follower.flagToJudge(room)) << "judged only on the newest position";
    room.forward();
    room.flagFall(*room.follower.flagToJudge(room));
    const GameResult result{Status::WhiteWins, EndReason::TimeRanOut};
    EXPECT_EQ(room.result(), result);
    EXPECT_EQ(room.statusText(), "White Wins!");
    EXPECT_EQ(room.standingNotice(), "Black's time ran out");
    EXPECT_EQ(resultLine(result), "1–0 Black's time ran out");
    EXPECT_FALSE(room.clock.running()) << "a result stops the clock";
    EXPECT_FALSE(room.follower.flagToJudge(room));
    room.flagFall(Side::White);
    EXPECT_EQ(room.result(), result) << "one result only";
}

TEST(RoomClock, ANewGameStartsFullAndNothingRunsTillWhiteMoves)
{
    TimedRoom room;
    ASSERT_NO_FATAL_FAILURE(room.play(kOpening[0].first, kOpening[0].second));
    room.time.advance(40s);
    room.answer = true; // leave the unsaved game
    room.newGame();
    EXPECT_FALSE(room.clock.started());
    room.time.advance(40s);
    EXPECT_EQ(room.clock.remaining(Side::White), 300s);
    EXPECT_EQ(room.clock.remaining(Side::Black), 300s);
}

// A folder of its own, gone afterwards.
struct Folder {
    Folder() { std::filesystem::create_directories(path); }
    ~Folder() { std::filesystem::remove_all(path); }
    std::string file(const char* name) const { return (path / name).string(); }
    std::filesystem::path path = std::filesystem::temp_directory_path() / "palisade_clock_test";
};

void write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

TEST(ClockFile, TextRoundTripsAndHostileTextIsRefused)
{
    const ClockState state{{900s, 10s}, 812'345ms, 0ms, true};
    EXPECT_EQ(clockText(state), "control 900 10\nwhite 812345\nblack 0\nstarted yes\n");
    EXPECT_EQ(clockOfText(clockText(state)), state);
    for (const char* text : {
             "", "garbage\n\x01\xff", "control 900 10\nwhite 812345\nblack 0\n",
             "control 900 10\nwhite -5\nblack 0\nstarted yes\n",
             "control 900 10\nwhite 99999999999999999999999\nblack 0\nstarted yes\n",
             "control 900 10\nwhite 3600000001\nblack 0\nstarted yes\n",  // beyond what a side may hold
             "control 36001 0\nwhite 1\nblack 1\nstarted no\n",            // beyond the longest control
             "control 900 601\nwhite 1\nblack 1\nstarted no\n",            // beyond the longest increment
             "control 0 0\nwhite 1\nblack 1\nstarted no\n",                // no clock at all
             "control 900 10\nwhite +5\nblack 0\nstarted yes\n",
             "control 900 10\nwhite 5 \nblack 0\nstarted yes\n",
             "control 900\nwhite 5\nblack 0\nstarted yes\n",
             "control 900 10\nwhite 5\nblack 0\nstarted maybe\n",
             "control 900 10\nblack 0\nwhite 5\nstarted yes\n",
             "control 900 10\nwhite 5\nblack 0\nstarted yes\nmore\n",
         }) {
        EXPECT_FALSE(clockOfText(text)) << text;
    }
}

TEST(ClockFile, KeptBesideTheGameIgnoredWhenStaleOrStrange)
{
    const Folder folder;
    const std::string game = folder.file("game.brd");
    write(game, "the game's bytes");
    const ClockState state{kFivePlusThree, 250'000ms, 280'500ms, true};
    ASSERT_TRUE(keepClock(game, state));
    EXPECT_EQ(readClock(game).state, KeptClock::State::Kept);
    EXPECT_EQ(readClock(game).clock, state);

    write(game, "the game saved again without its clock");
    EXPECT_EQ(readClock(game).state, KeptClock::State::NotThisGame);
    EXPECT_EQ(readClock(game).clock, ClockState{});

    ASSERT_FALSE(writeBeside(game, "clock", "control 300 3\nwhite -1\nblack 5\nstarted yes\n"));
    EXPECT_EQ(readClock(game).state, KeptClock::State::NotThisGame) << "belongs, but holds a negative time";
    write(besideFileName(game, "clock"), std::string(100, '\xff'));
    EXPECT_EQ(readClock(game).state, KeptClock::State::NotThisGame) << "not a clock file at all";

    ASSERT_TRUE(keepClock(game, ClockState{}));
    EXPECT_FALSE(std::filesystem::exists(besideFileName(game, "clock"))) << "an untimed game keeps no clock";
    EXPECT_EQ(readClock(game).state, KeptClock::State::None);
}

} // namespace
} // namespace palisade
