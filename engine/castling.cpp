#include "engine/castling.h"

#include "engine/castle_rules.h"
#include "engine/check.h"
#include "engine/orientation.h"

#include <array>

namespace palisade {

namespace {

// The rook of a castle by the king's landing square: each pair is a kingside
// pair in one orientation and two queenside landings in the other.
struct RookJump {
    std::array<int, 2> landing;
    int from;
    int to;
    int codeAfterKingside;
    int codeAfterQueenside;
};

// clang-format off
constexpr std::array<RookJump, 8> kRookJumps = {{
    {{8, 32},   0,   40, kWhiteRook, kBlackRook},
    {{15, 39},  7,   47, kBlackRook, kWhiteRook},
    {{16, 56},  24,  48, kBlackRook, kWhiteRook},
    {{23, 63},  31,  55, kWhiteRook, kBlackRook},
    {{64, 104}, 96,  72, kBlackRook, kWhiteRook},
    {{71, 111}, 103, 79, kWhiteRook, kBlackRook},
    {{88, 112}, 120, 80, kWhiteRook, kBlackRook},
    {{95, 119}, 127, 87, kBlackRook, kWhiteRook},
}};
// clang-format on

bool allEmpty(const Board& squares, const std::array<int, 3>& list, int sidesSwitched)
{
    for (int square : list) {
        if (square >= 0 && squares[oriented(square, sidesSwitched)] != kEmpty) return false;
    }
    return true;
}

void offerCastle(const Position& position, const Castle& castle, TargetList& out)
{
    const int sw = position.sidesSwitched;
    const int home = oriented(castle.home, sw);
    const int ownRook = codeOf(sideOf(castle), Kind::Rook);
    if (position.castleLost[flagOf(castle)] != 0) return;
    if (!allEmpty(position.squares, castle.mustBeEmpty, sw)) return;
    // A rook taken at home, or carried off by the other king's castle, cannot castle.
    if (position.squares[oriented(castle.rookFrom, sw)] != ownRook) return;

    if (castle.way == kKingside) {
        for (int landing : castle.landing) {
            const int t = oriented(landing, sw);
            if (checklegal(position, t, home)) out.push_back({t, kKingsideCastleMark});
        }
        return;
    }
    const int t = oriented(castle.landing[0], sw);
    if (checklegal(position, oriented(castle.crossed, sw), home) && checklegal(position, t, home)) {
        out.push_back({t, kQueensideCastleMark});
    }
}

} // namespace

void queencastle(const Position& position, int index, TargetList& out)
{
    // No castling out of check.
    if (sideInCheck(position)) return;
    const int code = position.squares[index];
    for (const Castle& castle : kCastles) {
        if (code == codeOf(sideOf(castle), Kind::King)
            && oriented(castle.home, position.sidesSwitched) == index) {
            offerCastle(position, castle, out);
        }
    }
}

std::optional<RookMove> castleRookMove(int landing, int mark)
{
    if (mark != kKingsideCastleMark && mark != kQueensideCastleMark) return std::nullopt;
    for (const RookJump& jump : kRookJumps) {
        if (jump.landing[0] == landing || jump.landing[1] == landing) {
            const int code = mark == kKingsideCastleMark ? jump.codeAfterKingside : jump.codeAfterQueenside;
            return RookMove{jump.from, jump.to, code};
        }
    }
    return std::nullopt;
}

void loseCastlingRights(Position& position, int pick)
{
    const int piece = position.squares[pick];
    if (!isPiece(piece)) return;
    const int sw = position.sidesSwitched;
    if (kindOf(piece) == Kind::Rook) {
        for (const Castle& castle : kCastles) {
            if (pick != oriented(castle.rookFrom, sw)) continue;
            position.castleLost[flagOf(castle)] = 1;
            if (castle.way == kKingside) position.castleLost[flagOf(castle) + 1] = 1;
        }
    }
    if (kindOf(piece) == Kind::King) {
        // A king's first home counts in both orientations, its turned home
        // only once the sides are switched.
        for (int king = 0; king < 4; ++king) {
            const int home = kCastles[3 * king].home;
            if (pick == home || (sw == 1 && pick == turnedSquare(home))) {
                for (int way = 0; way < 4; ++way) position.castleLost[4 * king + way] = 1;
            }
        }
    }
}

} // namespace palisade
