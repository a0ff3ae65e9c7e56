#include "engine/check.h"
#include "engine/directions.h"
#include "engine/targets.h"

namespace palisade {

namespace {

// One colmn forward together with one step along rw or between half-boards.
struct PawnCapture {
    Step aside; // the step beside the pawn, where a pawn taken en passant stands
};

constexpr PawnCapture kCaptures[] = {{{0, -1, 0}}, {{0, +1, 0}}, {{-1, 0, 0}}, {{+1, 0, 0}}};

void pawnTargets(const Position& position, int index, int forward, int startColmn, TargetList& out)
{
    const int pawn = position.squares[index];
    const Coords at = coordsOf(index);
    auto offer = [&](int t) {
        if (checklegal(position, t, index)) out.push_back({t, kTargetMark});
    };

    // A pawn at the far end has been promoted; none stands there in play.
    if (!jumpFits(at, Step{0, 0, forward})) return;
    const int ahead = index + forward;
    if (position.squares[ahead] == kEmpty) offer(ahead);
    if (at.colmn == startColmn && position.squares[ahead] == kEmpty
        && position.squares[ahead + forward] == kEmpty) {
        offer(ahead + forward);
    }
    for (const PawnCapture& capture : kCaptures) {
        const Step diagonal{capture.aside.boards, capture.aside.rw, forward};
        if (!jumpFits(at, diagonal)) continue;
        const int t = index + diagonal.delta();
        const int beside = index + capture.aside.delta();
        if (areEnemies(pawn, position.squares[t]) || position.enPassantSquare == beside) offer(t);
    }
}

} // namespace

void whitepawn(const Position& position, int index, TargetList& out)
{
    pawnTargets(position, index, +1, 1, out);
}

void blackpawn(const Position& position, int index, TargetList& out)
{
    pawnTargets(position, index, -1, 6, out);
}

} // namespace palisade
