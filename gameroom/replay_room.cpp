#include "gameroom/replay_room.h"

#include "engine/apply.h"
#include "engine/remember.h"
#include "engine/targets.h"

namespace palisade {

namespace {

// The answers to the questions a click on `move.drop` brings up.
std::vector<std::pair<Question, bool>> answersOf(const Move& move, int mark)
{
    switch (move.extra) {
    case MoveExtra::Queen: return {{Question::Queen, true}};
    case MoveExtra::Knight: return {{Question::Queen, false}, {Question::Knight, true}};
    case MoveExtra::Rook: return {{Question::Queen, false}, {Question::Knight, false}, {Question::Rook, true}};
    case MoveExtra::Bishop: return {{Question::Queen, false}, {Question::Knight, false}, {Question::Rook, false}};
    case MoveExtra::Castle:
        if (mark == kKingsideCastleMark) return {{Question::Castle, true}};
        return {};
    case MoveExtra::Plain:
        if (mark == kKingsideCastleMark) return {{Question::Castle, false}};
        return {};
    }
    return {};
}

} // namespace

bool ReplayView::ask(Question question)
{
    if (answers_.empty() || answers_.front().first != question) {
        surprised_ = true;
        return false;
    }
    const bool yes = answers_.front().second;
    answers_.pop_front();
    return yes;
}

ReplayRoom::ReplayRoom(const std::optional<Position>& start, int winOption) : room_(view_)
{
    if (start) {
        Position first = *start;
        first.winOption = winOption;
        room_.setUp(first);
    } else {
        room_.setUp();
        if (winOption == 1) room_.toggleWinOption();
    }
}

std::vector<Move> ReplayRoom::movesFrom(const std::vector<int>& picks) const
{
    const Position& position = room_.position();
    const auto side = sideToMove(position.status);
    std::vector<Move> moves;
    if (!side) return moves;
    for (const int pick : picks) {
        if (!isSquare(pick) || !belongsTo(position.squares[pick], *side)) continue;
        if (room_.selectionLocked() && room_.pieceSelected() && pick != room_.selectedSquare()) continue;
        for (const Target& target : generateTargets(position, pick)) {
            const auto from = static_cast<std::uint8_t>(pick);
            const auto to = static_cast<std::uint8_t>(target.square);
            if (target.mark != kTargetMark) {
                moves.push_back({from, to, MoveExtra::Castle});
                if (target.mark == kKingsideCastleMark) moves.push_back({from, to, MoveExtra::Plain});
            } else if (promotes(position, target.square, pick)) {
                for (const MoveExtra extra : {MoveExtra::Queen, MoveExtra::Knight, MoveExtra::Rook, MoveExtra::Bishop}) {
                    moves.push_back({from, to, extra});
                }
            } else {
                moves.push_back({from, to, MoveExtra::Plain});
            }
        }
    }
    return moves;
}

ReplayRoom::Played ReplayRoom::play(const Move& move, std::optional<int> keptKing)
{
    if (!room_.pieceSelected() || room_.selectedSquare() != move.pick) room_.clickSquare(move.pick);
    if (!room_.pieceSelected() || room_.selectedSquare() != move.pick || !room_.isTarget(move.drop)) {
        return {"the piece cannot be picked up and put there"};
    }
    const int playedBefore = room_.movesPlayed();
    const int mark = room_.mark(move.drop);
    view_.expect(answersOf(move, mark));
    room_.clickSquare(move.drop);
    if (room_.movesPlayed() != playedBefore + 1 || !view_.answeredAsExpected()) {
        return {"the game room did not play it as written"};
    }
    Played played;
    played.castleDeclined = move.extra == MoveExtra::Plain && mark == kKingsideCastleMark;
    const auto choice = room_.kingChoice();
    if (!choice) return played;
    if (!keptKing) return {"it does not say which king is kept"};
    if (*keptKing != choice->offered && *keptKing != choice->other) {
        return {"the king it keeps is not one of the two that could escape"};
    }
    room_.answerKingChoice(*keptKing);
    played.kingChosen = true;
    return played;
}

bool ReplayRoom::setWinOption(int winOption)
{
    if (room_.position().winOption != winOption) room_.toggleWinOption();
    return room_.position().winOption == winOption;
}

} // namespace palisade
