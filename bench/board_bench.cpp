// How long one full redraw of the board takes, at the size a player sees it.

#include "render/board_view.h"
#include "shell/forms.h"
#include "shell/game_room_window.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

using namespace palisade;

// `ratio` is the device pixel ratio: 2 on a HiDPI screen, four times the pixels.
void paintBoard(benchmark::State& state, bool withMarks, int ratio)
{
    Forms forms;
    forms.showGameRoom();
    GameRoomWindow& window = *forms.gameRoom();
    BoardView& board = window.boardView();
    board.resize(board.sizeHint());
    if (withMarks) window.room().clickSquare(64); // a knight with targets
    QImage image(board.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    for (auto _ : state) board.render(&image);
}

void BM_PaintBoard(benchmark::State& state) { paintBoard(state, false, 1); }
void BM_PaintBoardWithMarks(benchmark::State& state) { paintBoard(state, true, 1); }
void BM_PaintBoardHiDpi(benchmark::State& state) { paintBoard(state, false, 2); }
void BM_PaintBoardWithMarksHiDpi(benchmark::State& state) { paintBoard(state, true, 2); }

} // namespace

BENCHMARK(BM_PaintBoard)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintBoardWithMarks)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintBoardHiDpi)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintBoardWithMarksHiDpi)->Unit(benchmark::kMicrosecond);

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
