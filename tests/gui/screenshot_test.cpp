// Opens the real game room on an X server and photographs it: the picture must
// show the board with both armies, not a blank or half-drawn window.
// Usage: screenshot_test OUT.png

#include "render/board_view.h"
#include "shell/forms.h"
#include "shell/game_room_window.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QSet>
#include <QtTest>

#include <algorithm>
#include <cstdio>

using namespace palisade;

namespace {

int fail(const char* why)
{
    std::fprintf(stderr, "screenshot_test: %s\n", why);
    return 1;
}

// Share of pixels near a colour, to find the squares and both armies.
double shareNear(const QImage& image, QColor colour, int tolerance)
{
    qint64 near = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            near += std::max({std::abs(c.red() - colour.red()), std::abs(c.green() - colour.green()),
                              std::abs(c.blue() - colour.blue())}) <= tolerance;
        }
    }
    return double(near) / (double(image.width()) * image.height());
}

// What the photograph of the board lacks, or nothing when it shows the board
// with both armies.
const char* whatIsMissing(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2) colours.insert(image.pixel(x, y));
    if (colours.size() < 200) return "the board looks blank: too few colours";
    if (shareNear(image, QColor(0xe8, 0xd3, 0xa9), 6) < 0.05) return "no light squares";
    if (shareNear(image, QColor(0x9c, 0x6b, 0x43), 6) < 0.05) return "no dark squares";
    if (shareNear(image, QColor(0xf4, 0xea, 0xd5), 40) < 0.005) return "no White pieces";
    if (shareNear(image, QColor(0x2a, 0x1e, 0x16), 40) < 0.005) return "no Black pieces";
    return nullptr;
}

// The board as the screen shows it now.
QPixmap photograph(BoardView& board)
{
    const QPoint origin = board.mapToGlobal(QPoint(0, 0));
    return board.screen()->grabWindow(0, origin.x(), origin.y(), board.width(), board.height());
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) return fail("usage: screenshot_test OUT.png");

    Forms forms;
    forms.showStartScreen();
    forms.showGameRoom();
    GameRoomWindow* window = forms.gameRoom();
    if (!QTest::qWaitForWindowExposed(window, 10000)) return fail("the game room never showed");

    // The window may show before the board is drawn: photograph it until the
    // picture is complete, for a bounded time.
    BoardView& board = window->boardView();
    QPixmap shot;
    const char* missing = "could not photograph the screen";
    const bool complete = QTest::qWaitFor(
        [&] {
            shot = photograph(board);
            missing = shot.isNull() ? "could not photograph the screen"
                                    : whatIsMissing(shot.toImage().convertToFormat(QImage::Format_RGB32));
            return missing == nullptr;
        },
        10000);
    if (!shot.isNull()) shot.save(QString::fromLocal8Bit(argv[1]));
    std::printf("board %dx%d\n", shot.width(), shot.height());
    return complete ? 0 : fail(missing);
}
