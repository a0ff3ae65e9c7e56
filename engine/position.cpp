#include "engine/position.h"

namespace palisade {

namespace {

// White's back piece on colmn 0 of each line, by 4 * boards + rw; Black's
// stands opposite on colmn 7.
constexpr std::array<Kind, 16> kBackPieces = {
    Kind::Rook,   Kind::Knight, Kind::Bishop, Kind::Rook,   // half-board 0
    Kind::Bishop, Kind::King,   Kind::Queen,  Kind::Knight, // half-board 1
    Kind::Knight, Kind::Queen,  Kind::King,   Kind::Bishop, // half-board 2
    Kind::Rook,   Kind::Bishop, Kind::Knight, Kind::Rook,   // half-board 3
};

} // namespace

void standard(Board& squares)
{
    for (int line = 0; line < 16; ++line) {
        const int base = kRowStep * line;
        squares[base + 1] = kWhitePawn;
        squares[base + 6] = kBlackPawn;
        squares[base] = codeOf(Side::White, kBackPieces[line]);
        squares[base + 7] = codeOf(Side::Black, kBackPieces[line]);
    }
}

Position standardPosition()
{
    Position position;
    standard(position.squares);
    return position;
}

} // namespace palisade
