#include "engine/castling.h"

#include "engine/castle_rules.h"
#include "engine/check.h"
#include "engine/orientation.h"

#include <array>

namespace palisade {

namespace {

bool allEmpty(const Board& squares, const std::array<int, 3>& list, int sidesSwitched)
{
    for (int square : list) {
        if (square >= 0 && squares[oriented(square, sidesSwitched)] != kEmpty) return false;
    }
    return true;
}

// The rook of every castle by the king's landing square, in either orientation,
// for each of the two marks.
struct RookMoves {
    std::array<std::optional<RookMove>, kSquareCount> kingside;
    std::array<std::optional<RookMove>, kSquareCount> queenside;
};

constexpr RookMoves buildRookMoves()
{
    RookMoves moves;
    for (const int sw : {0, 1}) {
        for (const Castle& castle : kCastles) {
            auto& byLanding = castle.way == kKingside ? moves.kingside : moves.queenside;
            const RookMove rook{oriented(castle.rookFrom, sw), oriented(castle.rookTo, sw),
                                codeOf(sideOf(castle), Kind::Rook)};
            for (const int landing : castle.landing) {
                if (landing >= 0) byLanding[oriented(landing, sw)] = rook;
            }
        }
    }
    return moves;
}

constexpr RookMoves kRookMoves = buildRookMoves();

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
    if (!isSquare(landing)) return std::nullopt;
    if (mark == kKingsideCastleMark) return kRookMoves.kingside[landing];
    if (mark == kQueensideCastleMark) return kRookMoves.queenside[landing];
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
