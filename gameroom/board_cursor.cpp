#include "gameroom/board_cursor.h"

#include "engine/square.h"

namespace palisade {

namespace {

constexpr int kLastBoard = 3;
constexpr int kLastRw = 3;
constexpr int kLastColmn = 7;

// rw and half-board read as one line of 16 rows, top to bottom.
int rowOnScreen(Coords c) { return 4 * c.boards + c.rw; }

} // namespace

int moveCursor(int square, CursorMove move)
{
    if (!isSquare(square)) return 0;
    Coords c = coordsOf(square);
    switch (move) {
    case CursorMove::Left:
        if (c.colmn > 0) --c.colmn;
        break;
    case CursorMove::Right:
        if (c.colmn < kLastColmn) ++c.colmn;
        break;
    case CursorMove::Up:
    case CursorMove::Down: {
        const int row = rowOnScreen(c) + (move == CursorMove::Up ? -1 : 1);
        if (row >= 0 && row <= 4 * kLastBoard + kLastRw) {
            c.boards = row / 4;
            c.rw = row % 4;
        }
        break;
    }
    case CursorMove::HalfBoardUp:
        if (c.boards > 0) --c.boards;
        break;
    case CursorMove::HalfBoardDown:
        if (c.boards < kLastBoard) ++c.boards;
        break;
    }
    return indexOf(c);
}

} // namespace palisade
