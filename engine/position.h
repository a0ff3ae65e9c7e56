#pragma once

#include "engine/piece.h"
#include "engine/square.h"
#include "engine/status.h"

#include <array>

namespace palisade {

using Board = std::array<int, kSquareCount>;

inline constexpr int kCastleFlagCount = 16;

// Everything the rules read: the board and the game flags that decide which
// moves are legal. Selection, marks and history belong to the game room.
struct Position {
    Board squares{};
    Status status = Status::WhiteToMove;
    int sidesSwitched = 0;
    int upPawn = kWhitePawn;   // advances towards colmn 7
    int downPawn = kBlackPawn; // advances towards colmn 0
    int enPassantSquare = 0;   // 0 = none (no double step ends on colmn 0)
    std::array<int, kCastleFlagCount> castleLost{};
    int winOption = 0; // 0 "Standard", 1 "Destroy Both Kings!"
    int kingsStanding = 2;
    int kingTrial = 0;
    int loneKingFree = 0;

    friend bool operator==(const Position&, const Position&) = default;
};

// Writes the 64 pieces of the start position; every other square is left alone.
void standard(Board& squares);

// A fresh game: empty board, standard pieces, start values of every flag.
Position standardPosition();

} // namespace palisade
