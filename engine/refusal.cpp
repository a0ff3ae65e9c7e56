#include "engine/refusal.h"

#include "engine/attack_lines.h"
#include "engine/castling.h"
#include "engine/check.h"
#include "engine/directions.h"

namespace palisade {

namespace {

constexpr int kAnyReach = 7;

Refusal notAMove() { return {}; }
Refusal inTheWay(int square) { return {RefusalKind::InTheWay, square}; }
Refusal ownPiece(int square) { return {RefusalKind::OwnPiece, square}; }
Refusal pawnBlocked(int square) { return {RefusalKind::PawnBlocked, square}; }

struct Ray {
    int delta = 0;
    int length = 0;
};

// The ray along one of `steps` that reaches `drop` from `pick` within `reach` squares.
template <std::size_t N>
std::optional<Ray> rayTo(int pick, int drop, const std::array<Step, N>& steps, int reach)
{
    const Coords at = coordsOf(pick);
    for (const Step& step : steps) {
        const int available = std::min(reach, raySquares(at, step));
        for (int k = 1; k <= available; ++k) {
            if (pick + k * step.delta() == drop) return Ray{step.delta(), k};
        }
    }
    return std::nullopt;
}

std::optional<Ray> pieceRay(int code, int pick, int drop)
{
    switch (kindOf(code)) {
    case Kind::Bishop: return rayTo(pick, drop, kDiagonalSteps, kAnyReach);
    case Kind::Rook: return rayTo(pick, drop, kOrthogonalSteps, kAnyReach);
    case Kind::Queen:
        if (const auto ray = rayTo(pick, drop, kDiagonalSteps, kAnyReach)) return ray;
        return rayTo(pick, drop, kOrthogonalSteps, kAnyReach);
    case Kind::King:
        if (const auto ray = rayTo(pick, drop, kDiagonalSteps, 1)) return ray;
        return rayTo(pick, drop, kOrthogonalSteps, 1);
    case Kind::Pawn:
    case Kind::Knight: break;
    }
    return std::nullopt;
}

bool knightReaches(int pick, int drop)
{
    for (const Step& jump : kKnightJumps) {
        if (jumpFits(coordsOf(pick), jump) && pick + jump.delta() == drop) return true;
    }
    return false;
}

// What stops a pawn advancing by `forward` (from `startColmn` it may go two).
std::optional<Refusal> pawnShape(const Position& position, int pick, int drop, int forward,
                                 int startColmn)
{
    const Board& squares = position.squares;
    const Coords at = coordsOf(pick);
    if (!jumpFits(at, Step{0, 0, forward})) return notAMove();
    const int ahead = pick + forward;
    // Straight ahead, a piece of either side stops the pawn.
    if (drop == ahead) {
        return squares[drop] == kEmpty ? std::nullopt : std::optional(pawnBlocked(drop));
    }
    if (drop == ahead + forward && at.colmn == startColmn) {
        if (squares[ahead] != kEmpty) return pawnBlocked(ahead);
        return squares[drop] == kEmpty ? std::nullopt : std::optional(pawnBlocked(drop));
    }
    for (const Step& aside : {Step{0, -1, 0}, Step{0, +1, 0}, Step{-1, 0, 0}, Step{+1, 0, 0}}) {
        const Step diagonal{aside.boards, aside.rw, forward};
        if (!jumpFits(at, diagonal) || pick + diagonal.delta() != drop) continue;
        if (areEnemies(squares[pick], squares[drop])
            || position.enPassantSquare == pick + aside.delta()) {
            return std::nullopt;
        }
        return squares[drop] == kEmpty ? Refusal{RefusalKind::OnlyCaptures} : ownPiece(drop);
    }
    return notAMove();
}

// Two squares straight along rw or between half-boards onto the landing of a
// queenside castle.
bool castleStep(int pick, int drop)
{
    const int distance = drop > pick ? drop - pick : pick - drop;
    return (distance == 2 * kRowStep || distance == 2 * kBoardStep)
           && coordsOf(pick).colmn == coordsOf(drop).colmn
           && castleRookMove(drop, kQueensideCastleMark).has_value();
}

// What the way the piece moves says against the move, the check test aside.
std::optional<Refusal> shapeRefusal(const Position& position, int pick, int drop)
{
    const Board& squares = position.squares;
    const int mover = squares[pick];
    if (mover == position.upPawn) return pawnShape(position, pick, drop, +1, 1);
    if (mover == position.downPawn) return pawnShape(position, pick, drop, -1, 6);
    if (kindOf(mover) == Kind::Knight) {
        if (!knightReaches(pick, drop)) return notAMove();
    } else {
        const auto ray = pieceRay(mover, pick, drop);
        if (!ray && isKing(mover) && castleStep(pick, drop)) return Refusal{RefusalKind::NoCastle};
        if (!ray) return notAMove();
        for (int k = 1; k < ray->length; ++k) {
            if (squares[pick + k * ray->delta] != kEmpty) return inTheWay(pick + k * ray->delta);
        }
    }
    if (squares[drop] != kEmpty && !areEnemies(mover, squares[drop])) return ownPiece(drop);
    return std::nullopt;
}

} // namespace

std::optional<Refusal> whyNot(const Position& position, int pick, int drop)
{
    if (!isSquare(pick) || !isSquare(drop) || !isPiece(position.squares[pick]) || pick == drop) {
        return notAMove();
    }
    if (const auto refusal = shapeRefusal(position, pick, drop)) return refusal;
    if (checklegal(position, drop, pick)) return std::nullopt;

    const int mover = position.squares[pick];
    const Side side = isWhite(mover) ? Side::White : Side::Black;
    const Board after = boardAfterMove(position, drop, pick);
    const KingSquares kings = kingsOf(after, side);
    if (isKing(mover) && kings.count == 1 && position.kingTrial == 0
        && position.loneKingFree == 0) {
        return Refusal{RefusalKind::LoneKing};
    }
    for (int i = 0; i < kings.count; ++i) {
        const auto attacks = attacksOn(after, kings.square[i], side, position.sidesSwitched);
        if (!attacks.empty()) {
            return Refusal{RefusalKind::KingAttacked, -1, kings.square[i],
                           attacks.front().attacker};
        }
    }
    return notAMove(); // the check test refuses nothing else
}

} // namespace palisade
