// How long a player waits between the press that makes a move and the call
// that starts its sound: real clicks on the real window, the sound board's
// speakers behind a stopwatch. Prints the median and the 95th percentile.
//   sound_latency [MOVES]

#include "gameroom/cell_layout.h"
#include "render/board_view.h"
#include "shell/forms.h"
#include "shell/game_room_window.h"
#include "shell/sound_board.h"
#include "shell/speaker_sink.h"

#include <QApplication>
#include <QFile>
#include <QtTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace palisade;
using Clock = std::chrono::steady_clock;

namespace {

// Notes when each sound was asked for, then hands it to the speakers.
class StopwatchSink : public SoundSink {
public:
    void play(SoundKind kind, double volume) override
    {
        heard = Clock::now();
        speakers_.play(kind, volume);
    }
    Clock::time_point heard;

private:
    SpeakerSink speakers_;
};

QPoint pointOf(GameRoomWindow& window, int square)
{
    const CellLayout& cells = window.room().cells();
    const CellRect& cell = cells.cell(square);
    const QPointF picturePoint((cell.left + cell.width / 2) / cells.twipsPerPixelX(),
                               (cell.top + cell.height / 2) / cells.twipsPerPixelY());
    return window.boardView().pictureTransform().map(picturePoint).toPoint();
}

double percentile(std::vector<double> values, double share)
{
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(share * values.size()))];
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int moves = argc > 1 ? std::max(8, std::atoi(argv[1])) : 400;
    Forms forms;
    // A game an earlier run left unsaved would be asked about first.
    QFile::remove(forms.recoveryPath());
    forms.showGameRoom();
    GameRoomWindow& window = *forms.gameRoom();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    auto sink = std::make_unique<StopwatchSink>();
    StopwatchSink& stopwatch = *sink;
    window.sounds().setSink(std::move(sink));
    window.sounds().setOn(true);
    window.sounds().setVolume(50);

    // The knights out and back; a fresh start before the fourth repetition.
    const std::pair<int, int> shuttle[] = {{8, 42}, {15, 45}, {42, 8}, {45, 15}};
    std::vector<double> waits;
    for (int k = 0; k < moves; ++k) {
        if (k % 4 == 0) window.room().setUp();
        const auto [from, to] = shuttle[k % 4];
        QTest::mouseClick(&window.boardView(), Qt::LeftButton, Qt::NoModifier, pointOf(window, from));
        const Clock::time_point pressed = Clock::now();
        QTest::mouseClick(&window.boardView(), Qt::LeftButton, Qt::NoModifier, pointOf(window, to));
        if (stopwatch.heard < pressed) {
            std::fprintf(stderr, "move %d made no sound\n", k);
            return 1;
        }
        waits.push_back(std::chrono::duration<double, std::micro>(stopwatch.heard - pressed).count());
    }
    std::printf("press to play(): %zu moves, median %.0f us, p95 %.0f us\n", waits.size(),
                percentile(waits, 0.5), percentile(waits, 0.95));
    window.room().setUp();
    QFile::remove(forms.recoveryPath());
    return 0;
}
