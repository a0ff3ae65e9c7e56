#pragma once

#include "dice.h"
#include "endings.h"
#include "engine/check.h"
#include "engine/position.h"

#include <string_view>
#include <utility>
#include <vector>

namespace palisade::trace {

// Where a traced game begins.
enum class Opening {
    Standard, // the standard position of a new game
    Thinned,  // the standard position with most pieces gone, kings and rooks at home, some pawns
              // ahead
    Hunt,     // a few pieces hunting two kings, mostly under "Destroy Both Kings!"
    LoneKing, // a few pieces hunting a side left with one king
    NearEnd,  // a known ending, one move from its end, seen from any side
};

inline std::string_view openingName(Opening opening)
{
    switch (opening) {
    case Opening::Standard: return "standard";
    case Opening::Thinned: return "thinned";
    case Opening::Hunt: return "hunt";
    case Opening::LoneKing: return "lone king";
    case Opening::NearEnd: return "near the end";
    }
    return {};
}

struct Start {
    Opening opening = Opening::Standard;
    Position position = standardPosition();
    Side hunter = Side::White; // the side with the pieces, in a hunt
};

inline bool anyKingAttacked(Position position)
{
    position.status = Status::WhiteToMove;
    if (sideInCheck(position)) return true;
    position.status = Status::BlackToMove;
    return sideInCheck(position);
}

// Pawns ahead of their start, no further than two steps short of their last colmn.
inline void pushPawns(Position& position, Dice& dice)
{
    for (int square = 0; square < kSquareCount; ++square) {
        const int code = position.squares[square];
        if ((code != kWhitePawn && code != kBlackPawn) || !dice.chance(35)) continue;
        const int step = code == position.upPawn ? 1 : -1;
        int at = square;
        for (int n = 1 + dice.below(4); n > 0; --n) {
            const int next = at + step;
            if (next % kRowStep < 2 || next % kRowStep > 5 || position.squares[next] != kEmpty)
                break;
            at = next;
        }
        position.squares[square] = kEmpty;
        position.squares[at] = code;
    }
}

inline Position thinned(Dice& dice)
{
    Position position = standardPosition();
    for (int& code : position.squares) {
        if (code == kEmpty || kindOf(code) == Kind::King || kindOf(code) == Kind::Rook) continue;
        if (dice.chance(kindOf(code) == Kind::Pawn ? 45 : 75)) code = kEmpty;
    }
    pushPawns(position, dice);
    position.winOption = dice.chance(40) ? 1 : 0;
    return position;
}

// An empty square, on the board's ends (colmn 0, 1, 6 or 7) when asked, never
// on a pawn's first or last colmn for a pawn.
inline int emptySquare(const Position& position, Dice& dice, bool pawn, bool atAnEnd)
{
    for (;;) {
        const int square = dice.below(kSquareCount);
        const int colmn = square % kRowStep;
        if (position.squares[square] != kEmpty || (pawn && (colmn == 0 || colmn == 7))) continue;
        if (atAnEnd && colmn > 1 && colmn < 6) continue;
        return square;
    }
}

inline void place(Position& position, Dice& dice, Side side, Kind kind, bool atAnEnd = false)
{
    position.squares[emptySquare(position, dice, kind == Kind::Pawn, atAnEnd)] = codeOf(side, kind);
}

// Two kings side by side in a corner of the block, where they stand in each
// other's way.
inline void placeKingPair(Position& position, Dice& dice, Side side)
{
    const Coords first{dice.chance(50) ? 0 : 3, dice.chance(50) ? 0 : 3, dice.chance(50) ? 0 : 7};
    static constexpr Coords kBeside[] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    const Coords step = kBeside[dice.below(3)];
    Coords second{first.boards + step.boards, first.rw + step.rw, first.colmn + step.colmn};
    if (second.boards > 3 || second.rw > 3 || second.colmn > 7) {
        second = {first.boards - step.boards, first.rw - step.rw, first.colmn - step.colmn};
    }
    position.squares[indexOf(first)] = codeOf(side, Kind::King);
    position.squares[indexOf(second)] = codeOf(side, Kind::King);
}

// Kings of `prey` (one or two, kept near the ends of the board as often as
// not) against two kings and a handful of pieces; the hunter moves first.
inline Position hunt(Dice& dice, Side hunter, int preyKings)
{
    const Side prey = opponent(hunter);
    Position position;
    position.squares = {};
    if (dice.chance(20)) {
        position.sidesSwitched = 1;
        position.upPawn = kBlackPawn;
        position.downPawn = kWhitePawn;
    }
    // Cornered: the two kings side by side in a corner, alone against many.
    const bool cornered = preyKings == 2 && dice.chance(50);
    if (cornered) {
        placeKingPair(position, dice, prey);
    } else {
        for (int k = 0; k < preyKings; ++k)
            place(position, dice, prey, Kind::King, dice.chance(60));
    }
    place(position, dice, hunter, Kind::King);
    place(position, dice, hunter, Kind::King);
    static constexpr Kind kHunters[] = {Kind::Queen, Kind::Queen,  Kind::Rook,
                                        Kind::Rook,  Kind::Knight, Kind::Bishop};
    for (int n = cornered ? 5 + dice.below(4) : 3 + dice.below(4); n > 0; --n) {
        place(position, dice, hunter, kHunters[dice.below(6)]);
    }
    static constexpr Kind kHelpers[] = {Kind::Pawn, Kind::Pawn, Kind::Knight, Kind::Bishop};
    for (int n = cornered ? 0 : dice.below(preyKings == 1 ? 4 : 3); n > 0; --n) {
        place(position, dice, prey, kHelpers[dice.below(4)]);
    }
    if (dice.chance(40)) place(position, dice, hunter, Kind::Pawn);
    position.status = toMove(hunter);
    position.winOption = preyKings == 1 || dice.chance(85) ? 1 : 0;
    position.kingsStanding = preyKings == 1 ? 1 : 2;
    return position;
}

// The rules look the same with the half-boards or the rws in the other order,
// with those two axes traded, with colmn reversed on a board without pawns,
// and with the colours traded.
inline Position mirrored(const Position& position, Dice& dice)
{
    const bool flipBoards = dice.chance(50), flipRw = dice.chance(50), swapAxes = dice.chance(50);
    const bool flipColmn = dice.chance(50), trade = dice.chance(50);
    Position out = position;
    out.squares = {};
    for (int square = 0; square < kSquareCount; ++square) {
        const int code = position.squares[square];
        if (code == kEmpty) continue;
        Coords c = coordsOf(square);
        if (flipBoards) c.boards = 3 - c.boards;
        if (flipRw) c.rw = 3 - c.rw;
        if (swapAxes) std::swap(c.boards, c.rw);
        if (flipColmn) c.colmn = 7 - c.colmn;
        out.squares[indexOf(c)] =
            trade ? (isWhite(code) ? code + kBlackOffset : code - kBlackOffset) : code;
    }
    if (trade)
        out.status =
            position.status == Status::WhiteToMove ? Status::BlackToMove : Status::WhiteToMove;
    return out;
}

// Both of Black's kings mated once the rook reaches 28, neither able to
// escape alone.
inline Position bothKingsMatedNext()
{
    using namespace letters;
    return endings::withBothKingsToDestroy(
        with({{24, k}, {25, k}, {49, Q}, {60, R}, {117, K}, {126, K}}));
}

// One of the endings, mostly the rarest, turned at random, with a few more
// pieces of the side to move.
inline Position nearTheEnd(Dice& dice)
{
    Position position;
    switch (dice.below(8)) {
    case 0: position = endings::withBothKingsToDestroy(endings::kFork); break;
    case 1: position = endings::kOneEscapeGiveUp.start; break;
    case 2: position = endings::kStalemate.start; break;
    case 3:
        position = endings::withBothKingsToDestroy(endings::kLoneKingDraw.start);
        position.kingsStanding = 1;
        break;
    default: position = bothKingsMatedNext(); break;
    }
    position = mirrored(position, dice);
    static constexpr Kind kExtras[] = {Kind::Knight, Kind::Bishop, Kind::Rook};
    const Side mover = *sideToMove(position.status);
    for (int n = dice.below(3); n > 0; --n) place(position, dice, mover, kExtras[dice.below(3)]);
    return position;
}

// A start of one of the five kinds; no king attacked in it.
inline Start randomStart(Dice& dice)
{
    Start start;
    const int roll = dice.below(100);
    start.opening = roll < 15   ? Opening::Standard
                    : roll < 35 ? Opening::Thinned
                    : roll < 73 ? Opening::Hunt
                    : roll < 94 ? Opening::LoneKing
                                : Opening::NearEnd;
    start.hunter = dice.chance(50) ? Side::White : Side::Black;
    do {
        switch (start.opening) {
        case Opening::Standard: start.position = standardPosition(); break;
        case Opening::Thinned: start.position = thinned(dice); break;
        case Opening::Hunt: start.position = hunt(dice, start.hunter, 2); break;
        case Opening::LoneKing: start.position = hunt(dice, start.hunter, 1); break;
        case Opening::NearEnd:
            start.position = nearTheEnd(dice);
            start.hunter = *sideToMove(start.position.status);
            break;
        }
    } while (anyKingAttacked(start.position));
    return start;
}

} // namespace palisade::trace
