#pragma once

#include "recording_view.h"

namespace palisade::endings {
using namespace letters;

// A game one move from its end: `from` to `to` ends it, or starts the two-king trial.
struct Ending {
    Position start;
    int from, to;
};

inline Position withBothKingsToDestroy(Position position)
{
    position.winOption = 1;
    return position;
}

// The knight jumping from 4 to 10 forks Black's kings on 16 and 25: whichever
// steps away leaves the other attacked, though each alone could step away.
inline const Position kFork = with({{4, N}, {16, k}, {25, k}, {110, K}, {118, K}});

// Once the queen has reached 1, the king on 0 has no escape; the one on 8
// would have one if it stood alone.
inline const Position kOneEscape = with({{0, k}, {8, k}, {17, R}, {34, Q}, {110, K}, {115, K}});

// White mates; under "Destroy Both Kings!" Black is asked which king to keep.
inline const Ending kForkMate{kFork, 4, 10};
// Black's two kings have no move and stand unattacked.
inline const Ending kStalemate{with({{0, k}, {1, k}, {41, Q}, {44, B}, {115, K}, {118, K}}), 44, 35};
// Black's single king, its only piece, has no square even once it is freed.
inline const Ending kLoneKingDraw{with({{0, k}, {28, Q}, {44, Q}, {106, K}, {119, K}}), 44, 41};
// Under "Destroy Both Kings!" Black keeps the king on 8 unasked and gives up the one on 0.
inline const Ending kOneEscapeGiveUp{withBothKingsToDestroy(kOneEscape), 34, 1};

// From the start, knights out and back twice: the 8th half-move repeats the
// 4th and the start, a draw.
inline const Line kKnightsOutAndBack = {{8, 42}, {15, 45}, {42, 8}, {45, 15}, {8, 42}, {15, 45}, {42, 8}, {45, 15}};

} // namespace palisade::endings
