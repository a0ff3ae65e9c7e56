#include "gameroom/notation.h"

#include "engine/apply.h"
#include "engine/orientation.h"
#include "engine/piece.h"
#include "engine/square.h"
#include "engine/targets.h"
#include "gameroom/move_reading.h"

namespace palisade {

namespace {

std::string boardNumber(int square) { return std::to_string(coordsOf(square).boards + 1); }

std::string pieceLetter(int code)
{
    if (!isPiece(code)) return "";
    switch (kindOf(code)) {
    case Kind::Knight: return "N";
    case Kind::Bishop: return "B";
    case Kind::Rook: return "R";
    case Kind::Queen: return "Q";
    case Kind::King: return "K";
    case Kind::Pawn: return "";
    }
    return "";
}

} // namespace

char rwLetter(int square, int sidesSwitched)
{
    const int rw = coordsOf(square).rw;
    return static_cast<char>(sidesSwitched == 0 ? 'a' + rw : 'd' - rw);
}

int colmnNumber(int square, int sidesSwitched)
{
    const int colmn = coordsOf(square).colmn;
    return sidesSwitched == 0 ? colmn + 1 : 8 - colmn;
}

std::string squareText(int square, int sidesSwitched)
{
    return boardNumber(square) + rwLetter(square, sidesSwitched) + std::to_string(colmnNumber(square, sidesSwitched));
}

std::string moveText(int oldpiece, int newpiece, int castled, int oldPos, int newPos,
                     int sidesSwitched)
{
    if (castled == 1) return boardNumber(oldPos) + "O-O" + boardNumber(newPos);
    if (castled == 2) return boardNumber(oldPos) + "O-O-O" + boardNumber(newPos);

    std::string text = squareText(oldPos, sidesSwitched) + " - " + pieceLetter(oldpiece);
    if (newpiece != kEmpty) {
        // A pawn's capture names the rw it came from.
        if (isPawn(oldpiece)) text += rwLetter(oldPos, sidesSwitched);
        text += 'x';
    }
    return text + squareText(newPos, sidesSwitched);
}

std::string notationOf(const Position& position, const Move& move)
{
    const int mover = position.squares[move.pick];
    const bool promotes = move.extra != MoveExtra::Plain && move.extra != MoveExtra::Castle;
    const int oldpiece = promotes ? codeOf(isWhite(mover) ? Side::White : Side::Black, promotedKind(move.extra)) : mover;
    const int castled = move.extra != MoveExtra::Castle ? 0 : castleMark(move) == kKingsideCastleMark ? 1 : 2;
    return moveText(oldpiece, position.squares[move.drop], castled, move.pick, move.drop, position.sidesSwitched);
}

std::string moveTextBetween(const HistoryEntry& before, const HistoryEntry& after)
{
    const auto side = before.status ? sideToMove(*before.status) : std::nullopt;
    if (!side || !after.status) return "";
    Board was = before.squares;
    if (before.sidesSwitched != after.sidesSwitched) turnHalfBoards(was);
    const auto move = readMove(was, after.squares, *side);
    if (!move) return "";
    const int oldpiece = after.squares[move->to];
    const int newpiece = move->castled == 0 ? was[move->to] : kEmpty;
    return moveText(oldpiece, newpiece, move->castled, move->from, move->to, after.sidesSwitched);
}

} // namespace palisade
