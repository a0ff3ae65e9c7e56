#include "gameroom/notation.h"

#include "engine/piece.h"
#include "engine/square.h"

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

} // namespace palisade
