#pragma once

#include "engine/position.h"

#include <vector>

namespace palisade {

// The mark a square carries while a piece is selected. A square whose mark is
// at least kTargetMark is a destination.
enum Mark : int {
    kNoMark = 0,
    kTargetMark = 1,
    kKingsideCastleMark = 2,
    kQueensideCastleMark = 3,
};

struct Target {
    int square = 0;
    int mark = kTargetMark;

    friend bool operator==(const Target&, const Target&) = default;
};

// Targets in the order the generators find them; a later entry for the same
// square replaces the earlier mark.
using TargetList = std::vector<Target>;

// The generators of one piece kind. Each appends the legal targets of the piece
// on `index`, every candidate having passed checklegal.
void knight(const Position& position, int index, TargetList& out);
void bishopQK(const Position& position, int index, TargetList& out);
void rookQK(const Position& position, int index, TargetList& out);

// Pawns that advance towards colmn 7 (whitepawn) and towards colmn 0
// (blackpawn); which side's pawns these are follows the orientation.
void whitepawn(const Position& position, int index, TargetList& out);
void blackpawn(const Position& position, int index, TargetList& out);

// The targets of the piece on `index` by its kind's moves, castles aside.
TargetList ordinaryTargets(const Position& position, int index);

// Runs the generators that serve the piece on `index`, in the order a
// selection runs them: a king's castle marks come last and replace the plain
// mark of a square they share. An empty square has none.
TargetList generateTargets(const Position& position, int index);

} // namespace palisade
