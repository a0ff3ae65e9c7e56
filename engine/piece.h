#pragma once

// Piece codes as the game stores them: 0 empty, 1..6 White's pawn, knight,
// bishop, rook, queen, king, 7..12 the same kinds of Black (White code + 6).

#include <cassert>

namespace palisade {

enum class Side { White, Black };

enum class Kind { Pawn = 1, Knight, Bishop, Rook, Queen, King };

inline constexpr int kEmpty = 0;
inline constexpr int kWhitePawn = 1;
inline constexpr int kWhiteKnight = 2;
inline constexpr int kWhiteBishop = 3;
inline constexpr int kWhiteRook = 4;
inline constexpr int kWhiteQueen = 5;
inline constexpr int kWhiteKing = 6;
inline constexpr int kBlackPawn = 7;
inline constexpr int kBlackKnight = 8;
inline constexpr int kBlackBishop = 9;
inline constexpr int kBlackRook = 10;
inline constexpr int kBlackQueen = 11;
inline constexpr int kBlackKing = 12;
inline constexpr int kBlackOffset = 6;

constexpr bool isPiece(int code) { return code >= kWhitePawn && code <= kBlackKing; }
constexpr bool isWhite(int code) { return code >= kWhitePawn && code <= kWhiteKing; }
constexpr bool isBlack(int code) { return code >= kBlackPawn && code <= kBlackKing; }

constexpr Side opponent(Side side) { return side == Side::White ? Side::Black : Side::White; }

constexpr bool belongsTo(int code, Side side)
{
    return side == Side::White ? isWhite(code) : isBlack(code);
}

// Both codes are pieces and of different sides.
constexpr bool areEnemies(int a, int b)
{
    return (isWhite(a) && isBlack(b)) || (isBlack(a) && isWhite(b));
}

constexpr Kind kindOf(int code)
{
    assert(isPiece(code));
    return static_cast<Kind>(isBlack(code) ? code - kBlackOffset : code);
}

constexpr int codeOf(Side side, Kind kind)
{
    return static_cast<int>(kind) + (side == Side::Black ? kBlackOffset : 0);
}

constexpr bool isKing(int code) { return code == kWhiteKing || code == kBlackKing; }
constexpr bool isPawn(int code) { return code == kWhitePawn || code == kBlackPawn; }

} // namespace palisade
