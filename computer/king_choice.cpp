#include "computer/king_choice.h"

#include "computer/search.h"
#include "engine/check.h"
#include "gameroom/game_room.h"

namespace palisade {

namespace {

// A short look: the choice is made on the window's thread.
constexpr std::int64_t kChoiceNodes = 3000;

int keptKingScore(const Position& position, int king)
{
    Searcher searcher(1);
    SearchLimits limits;
    limits.maxNodes = kChoiceNodes;
    limits.onlyFrom = king;
    const std::atomic<bool> never{false};
    const SearchReport report = searcher.search(position, limits, never);
    return report.best ? report.score : -kMateScore;
}

} // namespace

bool saveSelectedKing(const GameRoom& room)
{
    const Position& asked = room.position();
    const Side side = *sideToMove(asked.status);
    const int selected = room.selectedSquare();
    const MoveHistory& history = room.history();
    // Before the mating move both kings stood where they stand now.
    const KingSquares before = kingsOf(history.entry(history.halfMoves() - 1).squares, side);
    if (before.count != 2) return true;
    const int other = before.square[0] == selected ? before.square[1] : before.square[0];

    Position keepSelected = asked;
    keepSelected.kingsStanding = 1;
    Position keepOther = keepSelected;
    keepOther.squares[other] = keepOther.squares[selected];
    keepOther.squares[selected] = kEmpty;
    return keptKingScore(keepSelected, selected) >= keptKingScore(keepOther, other);
}

} // namespace palisade
