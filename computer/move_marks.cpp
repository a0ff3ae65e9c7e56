#include "computer/move_marks.h"

#include <algorithm>

namespace palisade {

namespace {

MoveMark markOf(double before, double after)
{
    before = std::clamp(before, -kDecidedPawns, kDecidedPawns);
    after = std::clamp(after, -kDecidedPawns, kDecidedPawns);
    // No better than drawn: drawn, lost, or anywhere between.
    if (before >= kWonPawns && after <= kDrawnPawns) return MoveMark::Blunder;
    if (before - after >= kMistakeLoss) return MoveMark::Mistake;
    return MoveMark::None;
}

} // namespace

std::vector<MoveMark> markMoves(const std::vector<double>& evaluations, Side firstMover)
{
    std::vector<MoveMark> marks(evaluations.size(), MoveMark::None);
    Side mover = firstMover;
    for (std::size_t k = 1; k < evaluations.size(); ++k) {
        const double forMover = mover == Side::White ? 1.0 : -1.0;
        marks[k] = markOf(forMover * evaluations[k - 1], forMover * evaluations[k]);
        mover = opponent(mover);
    }
    return marks;
}

std::string_view markText(MoveMark mark)
{
    switch (mark) {
    case MoveMark::None: return {};
    case MoveMark::Mistake: return "?";
    case MoveMark::Blunder: return "??";
    }
    return {};
}

} // namespace palisade
