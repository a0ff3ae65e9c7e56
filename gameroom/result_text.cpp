#include "gameroom/result_text.h"

#include "gameroom/notation.h"

namespace palisade {

namespace {

std::string sideName(Side side) { return side == Side::White ? "White" : "Black"; }

std::string score(Status status)
{
    switch (status) {
    case Status::WhiteWins: return "1–0";
    case Status::BlackWins: return "0–1";
    case Status::Draw: return "½–½";
    case Status::WhiteToMove:
    case Status::BlackToMove: break;
    }
    return {};
}

} // namespace

std::string resultNotice(const GameResult& result)
{
    if (!result.reason) return {};
    switch (*result.reason) {
    case EndReason::Checkmate: return "Checkmate";
    case EndReason::Stalemate: return "Draw: stalemate";
    case EndReason::LoneKing: return "Draw: stalemate, not even the lone king can move";
    case EndReason::Repetition: return "Draw: the same position after 4 and 8 half-moves";
    case EndReason::DrawDeclared: return "Draw declared";
    case EndReason::Resignation:
        return sideName(result.status == Status::WhiteWins ? Side::Black : Side::White)
               + " resigned";
    case EndReason::TimeRanOut:
        return sideName(result.status == Status::WhiteWins ? Side::Black : Side::White)
               + "'s time ran out";
    }
    return {};
}

std::string resultLine(const GameResult& result)
{
    const std::string reason = resultNotice(result);
    return reason.empty() ? score(result.status) : score(result.status) + " " + reason;
}

std::string givenUpText(Side side, int square, int sidesSwitched)
{
    return sideName(side) + " gave up the king on " + squareText(square, sidesSwitched);
}

} // namespace palisade
