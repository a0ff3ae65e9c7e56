#include "engine/orientation.h"

#include <utility>

namespace palisade {

void turnHalfBoards(Board& squares)
{
    for (int base = 0; base < kSquareCount; base += kBoardStep) {
        for (int j = 0; j < kBoardStep / 2; ++j) std::swap(squares[base + j], squares[base + kBoardStep - 1 - j]);
    }
}

} // namespace palisade
