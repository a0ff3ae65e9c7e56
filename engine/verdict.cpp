#include "engine/verdict.h"

#include "engine/check.h"
#include "engine/game_end.h"
#include "engine/targets.h"

#include <cassert>

namespace palisade {

namespace {

// Whether a selected piece would show a plain target mark: a castle's mark
// replaces the plain mark of a square they share.
bool showsPlainTarget(const TargetList& targets)
{
    std::array<int, kSquareCount> marks{};
    for (const Target& target : targets) marks[target.square] = target.mark;
    for (const int mark : marks) {
        if (mark == kTargetMark) return true;
    }
    return false;
}

Judgement withoutMove(const Position& position, bool inCheck, int kingCount)
{
    if (inCheck) {
        return position.winOption == 1 && kingCount == 2 ? Judgement::KingTrial : Judgement::Checkmate;
    }
    if (kingCount == 2 || position.loneKingFree == 1) {
        return kingCount == 2 ? Judgement::Stalemate : Judgement::LoneKingStuck;
    }
    Position freed = position;
    freed.loneKingFree = 1;
    return hasLegalMove(freed) ? Judgement::LoneKingFreed : Judgement::LoneKingStuck;
}

bool repeats(const Position& position, const Lookback& lookback)
{
    return lookback.fourBack && lookback.eightBack
           && repeatsFourAndEightBack(lookback.halfMoves, position.squares, *lookback.fourBack,
                                      *lookback.eightBack);
}

} // namespace

KingTrial tryKingsAlone(const Position& position)
{
    const Side side = *sideToMove(position.status);
    const KingSquares kings = kingsOf(position.squares, side);
    assert(kings.count == 2);
    KingTrial trial;
    for (int i = 0; i < 2; ++i) {
        Position alone = position;
        alone.kingTrial = 1;
        alone.squares[kings.square[1 - i]] = kEmpty;
        trial.king[i] = kings.square[i];
        trial.canEscape[i] = showsPlainTarget(generateTargets(alone, kings.square[i]));
    }
    return trial;
}

Verdict verdictWithoutMove(const Position& position, bool inCheck)
{
    Verdict verdict;
    verdict.inCheck = inCheck;
    verdict.judgement = withoutMove(position, inCheck, kingsOf(position.squares, *sideToMove(position.status)).count);
    if (verdict.judgement == Judgement::KingTrial) verdict.trial = tryKingsAlone(position);
    return verdict;
}

Verdict verdict(const Position& position, const Lookback& lookback)
{
    if (!sideToMove(position.status)) return {};
    const bool inCheck = sideInCheck(position);
    if (!hasLegalMove(position)) {
        Verdict verdict = verdictWithoutMove(position, inCheck);
        // A freed lone king plays on: the position may repeat.
        if (verdict.judgement == Judgement::LoneKingFreed) verdict.repetition = repeats(position, lookback);
        return verdict;
    }
    Verdict verdict;
    verdict.inCheck = inCheck;
    verdict.canMove = true;
    verdict.judgement = inCheck ? Judgement::Check : Judgement::Play;
    verdict.repetition = repeats(position, lookback);
    return verdict;
}

} // namespace palisade
