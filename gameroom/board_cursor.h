#pragma once

namespace palisade {

enum class CursorMove { Left, Right, Up, Down, HalfBoardUp, HalfBoardDown };

// Where the keyboard's square cursor goes: Left and Right along colmn; Up and
// Down along rw and over the edge of a half-board onto the next one, so that
// the two keys pass through all 128 squares; a whole half-board up or down
// keeps rw and colmn. At the edges of the block it stays.
int moveCursor(int square, CursorMove move);

} // namespace palisade
