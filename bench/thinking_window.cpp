// The game room while the computer plays both sides: how long the window's
// event loop is kept from running at most, and how long the computer took per
// move. A timer asks to run every millisecond; each gap between two runs is
// time the window could not answer a player.
//   thinking_window [HALF_MOVES [LEVEL]]

#include "computer/players.h"
#include "shell/computer_player.h"
#include "shell/forms.h"
#include "shell/game_room_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int halfMoves = argc > 1 ? std::atoi(argv[1]) : 20;
    const int level = argc > 2 ? std::atoi(argv[2]) : palisade::kDefaultLevel;
    if (halfMoves <= 0 || level < 1 || level > palisade::kLevelCount) {
        std::fprintf(stderr, "usage: thinking_window [HALF_MOVES [LEVEL 1..%d]]\n", palisade::kLevelCount);
        return 2;
    }
    palisade::Forms forms;
    forms.showGameRoom();
    palisade::GameRoomWindow& window = *forms.gameRoom();

    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    QTimer ticker;
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        // The first drawing of the window is start-up, timed by first_board.
        if (window.room().halfMoves() > 0) longest = std::max(longest, now - last);
        last = now;
        if (window.room().halfMoves() >= halfMoves || !palisade::sideToMove(window.room().position().status)) {
            QApplication::exit(0);
        }
    });
    // The pause a watching player gets between the computer's moves is not thinking.
    window.computer().setPauseBetweenMoves(std::chrono::milliseconds(0));
    window.computer().setPlayers({{true, level}, {true, level}});
    clock.start();
    ticker.start();
    app.exec();
    const double seconds = clock.elapsed() / 1000.0;
    std::printf("level %d, %d half-moves in %.1f s (%.2f s a move); longest the window waited: %.1f ms\n", level,
                window.room().halfMoves(), seconds, seconds / std::max(1, window.room().halfMoves()),
                longest / 1e6);
    // Saved, so that closing the game room asks nothing.
    const QTemporaryDir dir;
    window.room().save(dir.filePath("thinking.brd").toStdString());
    return 0;
}
