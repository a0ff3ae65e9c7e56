#include "gameroom/notation.h"

#include "engine/orientation.h"
#include "engine/piece.h"
#include "engine/square.h"

#include <vector>

namespace palisade {

namespace {

std::string boardNumber(int square) { return std::to_string(coordsOf(square).boards + 1); }

char rwLetter(int square, int sidesSwitched)
{
    const int rw = coordsOf(square).rw;
    return static_cast<char>(sidesSwitched == 0 ? 'a' + rw : 'd' - rw);
}

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

std::string squareText(int square, int sidesSwitched)
{
    const int colmn = coordsOf(square).colmn;
    const int number = sidesSwitched == 0 ? colmn + 1 : 8 - colmn;
    return boardNumber(square) + rwLetter(square, sidesSwitched) + std::to_string(number);
}

std::string moveText(int oldpiece, int newpiece, int castled, int oldPos, int newPos,
                     int sidesSwitched)
{
    if (castled == 1) return boardNumber(oldPos) + "O-O" + boardNumber(newPos);
    if (castled == 2) return boardNumber(oldPos) + "O-O-O" + boardNumber(newPos);

    std::string text = squareText(oldPos, sidesSwitched) + " - " + pieceLetter(oldpiece);
    if (newpiece != kEmpty) {
        // A pawn's capture names the rw it came from.
        if (oldpiece == kWhitePawn || oldpiece == kBlackPawn) text += rwLetter(oldPos, sidesSwitched);
        text += 'x';
    }
    return text + squareText(newPos, sidesSwitched);
}

std::string moveTextBetween(const HistoryEntry& before, const HistoryEntry& after)
{
    const auto side = before.status ? sideToMove(*before.status) : std::nullopt;
    if (!side || !after.status) return "";
    Board was = before.squares;
    if (before.sidesSwitched != after.sidesSwitched) turnHalfBoards(was);
    const Board& now = after.squares;

    // Squares the mover left empty, and squares where a piece of the mover arrived.
    std::vector<int> left, arrived;
    for (int square = 0; square < kSquareCount; ++square) {
        if (was[square] == now[square]) continue;
        if (belongsTo(was[square], *side) && now[square] == kEmpty) left.push_back(square);
        if (belongsTo(now[square], *side)) arrived.push_back(square);
    }
    const int sw = after.sidesSwitched;
    if (left.size() == 1 && arrived.size() == 1) {
        return moveText(now[arrived[0]], was[arrived[0]], 0, left[0], arrived[0], sw);
    }
    // A castle: the king arrives on its landing and a rook beside it.
    if (arrived.size() == 2) {
        const int king = codeOf(*side, Kind::King);
        const int landing = now[arrived[0]] == king ? arrived[0] : arrived[1];
        int home = -1;
        for (int square = 0; square < kSquareCount; ++square) {
            if (was[square] == king && now[square] != king) home = square;
        }
        if (now[landing] != king || home < 0) return "";
        const int step = landing > home ? landing - home : home - landing;
        const int castled = step == 2 * kRowStep || step == 2 * kBoardStep ? 2 : 1;
        return moveText(king, kEmpty, castled, home, landing, sw);
    }
    return "";
}

} // namespace palisade
