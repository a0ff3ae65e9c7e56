#include "gameroom/game_room.h"

#include "gameroom/result_reading.h"

namespace palisade {

// Judges the position for the side now to move and shows what the rules say.
void GameRoom::judge()
{
    const Verdict verdict = palisade::verdict(position_, lookback());
    const auto side = sideToMove(position_.status);
    switch (verdict.judgement) {
    case Judgement::Play: break;
    case Judgement::Check:
        checkShown_ = true;
        view_.beep();
        break;
    case Judgement::Checkmate:
        endGame(winFor(opponent(*side)));
        view_.beep();
        break;
    case Judgement::KingTrial:
        // A king given up leaves a board never seen before: no repetition to judge.
        kingTrial(verdict.trial);
        return;
    case Judgement::Stalemate:
        endGame(Status::Draw);
        view_.beep();
        break;
    case Judgement::LoneKingFreed: position_.loneKingFree = 1; break;
    case Judgement::LoneKingStuck:
        position_.loneKingFree = 1;
        endGame(Status::Draw);
        view_.beep();
        break;
    }
    if (verdict.repetition && sideToMove(position_.status)) {
        endGame(Status::Draw);
        view_.beep();
    }
}

Lookback GameRoom::lookback() const { return lookbackOf(history_, position_.sidesSwitched); }

// Mated with two kings under "Destroy Both Kings!": the side gives up one king,
// one that can then move, and plays on. With two to choose from the player
// chooses; with one the other is given up unasked; with none the game is lost.
void GameRoom::kingTrial(const KingTrial& trial)
{
    const int first = trial.king[0];
    const int second = trial.king[1];
    position_.kingTrial = 1;
    // The first king is tried last and stays the selected square.
    selectedSquare_ = first;
    if (trial.escapes() == 2) {
        offerKing(first, second);
        if (const auto keep = view_.keepOfferedKing()) answerKingChoice(*keep ? first : second);
        return;
    }
    if (trial.escapes() == 0) {
        // Neither king can escape: the board keeps both, as they stood.
        endGame(winFor(opponent(*sideToMove(position_.status))));
        view_.beep();
        return;
    }
    position_.squares[trial.canEscape[0] ? second : first] = kEmpty;
    position_.kingsStanding = 1;
    judge();
    cleanScreen();
}

// Shows the offered king alone, selected with its marks, and waits.
void GameRoom::offerKing(int offered, int other)
{
    kingChoice_ = KingChoice{offered, other};
    position_.squares[other] = kEmpty;
    pieceSelected_ = true;
    selectedSquare_ = offered;
    marks_.fill(kNoMark);
    for (const Target& target : generateTargets(position_, offered)) marks_[target.square] = target.mark;
    view_.boardChanged();
}

void GameRoom::answerKingChoice(int square)
{
    if (!kingChoice_ || (square != kingChoice_->offered && square != kingChoice_->other)) return;
    const KingChoice choice = *kingChoice_;
    if (square == choice.other) {
        // The other king comes back and the offered one leaves.
        std::swap(position_.squares[choice.offered], position_.squares[choice.other]);
        offerKing(choice.other, choice.offered);
    }
    kingChoice_.reset();
    position_.kingsStanding = 1;
    selectionLocked_ = true;
    view_.boardChanged();
    view_.statusChanged();
}

// A result ends play at once: nothing stays selected.
void GameRoom::endGame(Status result)
{
    position_.status = result;
    pieceSelected_ = false;
    selectionLocked_ = false;
    marks_.fill(kNoMark);
    view_.boardChanged();
}

} // namespace palisade
