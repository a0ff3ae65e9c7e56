// Legal moves of a MoveBoard: the checks and pins of each king are found once,
// so a move of any piece but a king needs no test of its own.

#include "engine/attackers.h"
#include "engine/castle_rules.h"
#include "engine/check.h"
#include "engine/move_board.h"
#include "engine/move_tables.h"
#include "engine/reference_moves.h"

#include <algorithm>
#include <bit>

namespace palisade {

namespace {

constexpr Bits kAll = ~Bits{0};

constexpr int nearest(int ray, Bits squares)
{
    return kMoveTables.rising[ray] ? lowestSquare(squares) : highestSquare(squares);
}

constexpr Bits shifted(Bits squares, int delta) { return delta > 0 ? squares << delta : squares >> -delta; }

// A pawn's capture: one step aside (along rw or between half-boards) with its
// step forward; the squares it may start from without leaving the block.
struct Aside {
    int delta;
    Bits from;
};

constexpr Bits squaresWhere(bool (*keep)(Coords))
{
    Bits squares = 0;
    for (int square = 0; square < kSquareCount; ++square) {
        if (keep(coordsOf(square))) squares |= bitOf(square);
    }
    return squares;
}

constexpr std::array<Aside, 4> kAsides = {{
    {-kRowStep, squaresWhere([](Coords c) { return c.rw > 0; })},
    {+kRowStep, squaresWhere([](Coords c) { return c.rw < 3; })},
    {-kBoardStep, squaresWhere([](Coords c) { return c.boards > 0; })},
    {+kBoardStep, squaresWhere([](Coords c) { return c.boards < 3; })},
}};

// A castle in one orientation, as squares and sets.
struct CastlePlan {
    Side side;
    bool kingside;
    int home;
    std::array<int, 2> landing;
    int crossed;
    Bits mustBeEmpty;
    int rookFrom;
    std::uint16_t flag;
};

constexpr std::array<std::array<CastlePlan, 12>, 2> buildCastlePlans()
{
    std::array<std::array<CastlePlan, 12>, 2> plans{};
    for (int sw = 0; sw < 2; ++sw) {
        for (std::size_t i = 0; i < kCastles.size(); ++i) {
            const Castle& castle = kCastles[i];
            Bits empty = 0;
            for (int square : castle.mustBeEmpty) {
                if (square >= 0) empty |= bitOf(oriented(square, sw));
            }
            plans[sw][i] = {sideOf(castle),
                            castle.way == kKingside,
                            oriented(castle.home, sw),
                            {oriented(castle.landing[0], sw), oriented(castle.landing[1], sw)},
                            oriented(castle.crossed, sw),
                            empty,
                            oriented(castle.rookFrom, sw),
                            static_cast<std::uint16_t>(1u << flagOf(castle))};
        }
    }
    return plans;
}

constexpr auto kCastlePlans = buildCastlePlans();

// Counting squares in a register, for processors without the instruction.
struct PortableCount {
    static int of(Bits b) { return squareCount(b); }
};

// The processor's own instruction, once inlined into a function built for it.
struct InstructionCount {
    static int of(Bits b) { return std::popcount(lowHalf(b)) + std::popcount(highHalf(b)); }
};

// Counts moves without listing them.
template <typename Count>
struct MoveCounter {
    std::uint64_t count = 0;

    void targets(int, Bits to) { count += static_cast<std::uint64_t>(Count::of(to)); }
    void pawnTargets(Bits to, int, Bits farColmn)
    {
        count += static_cast<std::uint64_t>(Count::of(to) + 3 * Count::of(to & farColmn));
    }
    void single(int, int, MoveExtra) { ++count; }
    void pawnMove(int, int to, Bits farColmn) { count += (farColmn & bitOf(to)) != 0 ? 4 : 1; }
};

struct MoveCollector {
    MoveList& list;

    void add(int from, int to, MoveExtra extra)
    {
        list.push({static_cast<std::uint8_t>(from), static_cast<std::uint8_t>(to), extra});
    }
    void targets(int from, Bits to)
    {
        while (to != 0) add(from, popLowest(to), MoveExtra::Plain);
    }
    void pawnTargets(Bits to, int delta, Bits farColmn)
    {
        while (to != 0) {
            const int square = popLowest(to);
            pawnMove(square - delta, square, farColmn);
        }
    }
    void single(int from, int to, MoveExtra extra) { add(from, to, extra); }
    void pawnMove(int from, int to, Bits farColmn)
    {
        if ((farColmn & bitOf(to)) == 0) {
            add(from, to, MoveExtra::Plain);
            return;
        }
        for (MoveExtra extra : {MoveExtra::Queen, MoveExtra::Knight, MoveExtra::Rook, MoveExtra::Bishop}) {
            add(from, to, extra);
        }
    }
};

} // namespace

// Everything the side to move's kings need watching for: the enemy pieces that
// attack, each king's checks, and the own pieces pinned to a king.
struct MoveBoard::KingWatch {
    Bits own = 0, enemy = 0, occupied = 0;
    Bits enemyKnights = 0, enemyPawns = 0, enemyKings = 0, enemyDiagonal = 0, enemyStraight = 0;
    int pawnAttackerWay = kUp; // where an enemy pawn stands that takes on a square
    std::array<int, 2> kings{};
    int kingCount = 0;
    std::array<bool, 2> kingChecked{};
    bool inCheck = false;
    Bits allow = kAll; // where a piece other than a king may go without leaving a king attacked
    Bits pinned = 0;
    std::array<Bits, 2> pinnedTo{};
    // Only the first `pins` are ever read: left unset, as clearing them
    // costs more than the rest of the set-up.
    std::array<int, 2 * kRayCount> pinSquare;
    std::array<Bits, 2 * kRayCount> pinLine;
    int pins = 0;

    KingWatch(const MoveBoard& board, Side side)
    {
        const Side other = opponent(side);
        own = board.piecesOf(side);
        enemy = board.piecesOf(other);
        occupied = own | enemy;
        enemyKnights = board.piecesOf(codeOf(other, Kind::Knight));
        enemyPawns = board.piecesOf(codeOf(other, Kind::Pawn));
        enemyKings = board.piecesOf(codeOf(other, Kind::King));
        const Bits queens = board.piecesOf(codeOf(other, Kind::Queen));
        enemyDiagonal = board.piecesOf(codeOf(other, Kind::Bishop)) | queens;
        enemyStraight = board.piecesOf(codeOf(other, Kind::Rook)) | queens;
        // An enemy pawn taking on a square stands where a pawn of this side would take from it.
        pawnAttackerWay = advancesUp(side, board.sidesSwitched()) ? kUp : kDown;
        Bits kingSquares = board.piecesOf(codeOf(side, Kind::King));
        while (kingSquares != 0 && kingCount < 2) kings[kingCount++] = popLowest(kingSquares);
    }

    void watchKings()
    {
        for (int i = 0; i < kingCount; ++i) watchKing(i);
    }

    void watchKing(int index)
    {
        const int king = kings[index];
        const Bits leapers = (kMoveTables.knight[king] & enemyKnights)
            | (kMoveTables.pawnAttack[pawnAttackerWay][king] & enemyPawns) | (kMoveTables.king[king] & enemyKings);
        int checks = leapers == 0 ? 0 : (leapers & (leapers - 1)) == 0 ? 1 : 2;
        Bits answers = leapers;
        // Rays of a kind no enemy slider stands on are passed over together.
        const int firstRay = (kLineTables.diagonalReach[king] & enemyDiagonal) != 0 ? 0 : kDiagonalRays;
        const int lastRay = (kLineTables.straightReach[king] & enemyStraight) != 0 ? kRayCount : kDiagonalRays;
        for (int ray = firstRay; ray < lastRay; ++ray) {
            const Bits sliders = ray < kDiagonalRays ? enemyDiagonal : enemyStraight;
            const Bits line = kMoveTables.ray[ray][king];
            if ((line & sliders) == 0) continue;
            const int first = nearest(ray, line & occupied);
            if ((bitOf(first) & sliders) != 0) {
                ++checks;
                answers |= line ^ kMoveTables.ray[ray][first];
                continue;
            }
            const Bits beyond = kMoveTables.ray[ray][first] & occupied;
            if ((bitOf(first) & own) == 0 || beyond == 0) continue;
            const int second = nearest(ray, beyond);
            if ((bitOf(second) & sliders) == 0) continue;
            pinSquare[pins] = first;
            pinLine[pins++] = line ^ kMoveTables.ray[ray][second];
            pinned |= bitOf(first);
            pinnedTo[index] |= bitOf(first);
        }
        kingChecked[index] = checks > 0;
        inCheck = inCheck || checks > 0;
        if (checks == 1) allow &= answers;
        if (checks > 1) allow = 0;
    }

    // Where a piece on `square` may go as far as the kings are concerned.
    Bits allowedFrom(int square) const
    {
        Bits allowed = allow;
        if ((pinned & bitOf(square)) == 0) return allowed;
        for (int i = 0; i < pins; ++i) {
            if (pinSquare[i] == square) allowed &= pinLine[i];
        }
        return allowed;
    }

    // Is `square` attacked with `occupied` standing, the enemy piece on a
    // square outside `keep` taken?
    bool attacked(int square, Bits occupiedNow, Bits keep) const
    {
        if ((kMoveTables.knight[square] & enemyKnights & keep) != 0) return true;
        if ((kMoveTables.pawnAttack[pawnAttackerWay][square] & enemyPawns & keep) != 0) return true;
        if ((kMoveTables.king[square] & enemyKings & keep) != 0) return true;
        const Bits diagonal = enemyDiagonal & keep;
        const Bits straight = enemyStraight & keep;
        if ((kLineTables.diagonalReach[square] & diagonal) != 0 && (diagonalAttacks(square, occupiedNow) & diagonal) != 0) {
            return true;
        }
        return (kLineTables.straightReach[square] & straight) != 0 && (straightAttacks(square, occupiedNow) & straight) != 0;
    }

    // May the king kings[index] step from `from` to `to`? The other king is
    // looked at only when the step could change what attacks it.
    bool kingMayGo(int index, int from, int to) const
    {
        const Bits occupiedAfter = (occupied & ~bitOf(from)) | bitOf(to);
        const Bits keep = ~bitOf(to);
        if (attacked(to, occupiedAfter, keep)) return false;
        if (kingCount < 2) return true;
        const int other = 1 - index;
        if (!kingChecked[other] && (pinnedTo[other] & bitOf(from)) == 0) return true;
        return !attacked(kings[other], occupiedAfter, keep);
    }
};

bool MoveBoard::needsReference() const
{
    // More than two kings of a side, or pawn codes that do not pair up, are
    // outside the game; the rules engine answers for them.
    const auto side = sideToMove();
    const bool pawnsPaired = (upPawn_ == kWhitePawn && downPawn_ == kBlackPawn)
        || (upPawn_ == kBlackPawn && downPawn_ == kWhitePawn);
    if (!pawnsPaired) return true;
    if (!side) return false;
    Bits kings = pieces_[codeOf(*side, Kind::King)];
    kings &= kings - 1;
    kings &= kings - 1;
    return kings != 0;
}

template <typename Sink>
PALISADE_INLINE inline void MoveBoard::addPawnMoves(Sink& sink, const KingWatch& watch) const
{
    const Side side = *sideToMove();
    const int pawnCode = codeOf(side, Kind::Pawn);
    const bool up = pawnCode == upPawn_;
    const int forward = up ? +1 : -1;
    const Bits farColmn = kMoveTables.colmn[up ? 7 : 0];
    const Bits startColmn = kMoveTables.colmn[up ? 1 : 6];
    const Bits movers = pieces_[pawnCode] & ~farColmn;
    const Bits empty = ~watch.occupied;

    // A capture beside the en passant square is tested by the rules engine:
    // it may take two pieces.
    auto enPassantPawn = [&](const Aside& aside) {
        const int from = enPassant_ - aside.delta;
        return isSquare(enPassant_) && isSquare(from) ? bitOf(from) & movers & aside.from : Bits{0};
    };
    auto addGroup = [&](Bits group, Bits allowed) PALISADE_INLINE {
        const Bits one = shifted(group, forward) & empty;
        sink.pawnTargets(one & allowed, forward, farColmn);
        const Bits two = shifted(one & shifted(startColmn, forward), forward) & empty;
        sink.pawnTargets(two & allowed, 2 * forward, farColmn);
        for (const Aside& aside : kAsides) {
            const int delta = aside.delta + forward;
            const Bits from = group & aside.from & ~enPassantPawn(aside);
            sink.pawnTargets(shifted(from, delta) & watch.enemy & allowed, delta, farColmn);
        }
    };

    addGroup(movers & ~watch.pinned, watch.allow);
    Bits pinnedPawns = movers & watch.pinned;
    while (pinnedPawns != 0) {
        const int from = popLowest(pinnedPawns);
        addGroup(bitOf(from), watch.allowedFrom(from));
    }
    for (const Aside& aside : kAsides) {
        if (enPassantPawn(aside) == 0) continue;
        const int from = enPassant_ - aside.delta;
        const int to = enPassant_ + forward;
        if (checklegal(position(), to, from)) sink.pawnMove(from, to, farColmn);
    }
}

template <typename Sink>
void MoveBoard::addKingMoves(Sink& sink, const KingWatch& watch, bool withCastles) const
{
    // A side down to one king may not move it until it is freed.
    if (watch.kingCount == 1 && kingTrial_ == 0 && loneKingFree_ == 0) return;
    for (int i = 0; i < watch.kingCount; ++i) {
        const int king = watch.kings[i];
        Bits steps = kMoveTables.king[king] & ~watch.own;
        while (steps != 0) {
            const int to = popLowest(steps);
            if (watch.kingMayGo(i, king, to)) sink.single(king, to, MoveExtra::Plain);
        }
    }
    if (!withCastles || watch.inCheck) return;
    const Side side = *sideToMove();
    const int ownKing = codeOf(side, Kind::King);
    const int ownRook = codeOf(side, Kind::Rook);
    for (const CastlePlan& plan : kCastlePlans[sidesSwitched_]) {
        if (plan.side != side || squares_[plan.home] != ownKing || (castleLost_ & plan.flag) != 0) continue;
        if ((watch.occupied & plan.mustBeEmpty) != 0 || squares_[plan.rookFrom] != ownRook) continue;
        const int i = watch.kings[0] == plan.home ? 0 : 1;
        if (plan.kingside) {
            for (int landing : plan.landing) {
                if (watch.kingMayGo(i, plan.home, landing)) sink.single(plan.home, landing, MoveExtra::Castle);
            }
        } else if (watch.kingMayGo(i, plan.home, plan.crossed) && watch.kingMayGo(i, plan.home, plan.landing[0])) {
            sink.single(plan.home, plan.landing[0], MoveExtra::Castle);
        }
    }
}

template <typename Sink>
PALISADE_INLINE inline void MoveBoard::generateInto(Sink& sink, bool withCastles) const
{
    const auto side = sideToMove();
    if (!side) return;
    KingWatch watch(*this, *side);
    watch.watchKings();

    const Bits free = ~watch.own;
    const Bits freeAllowed = free & watch.allow;
    // A knight's jump never stays on a line: a pinned knight has no move.
    Bits knights = pieces_[codeOf(*side, Kind::Knight)] & ~watch.pinned;
    while (knights != 0) {
        const int from = popLowest(knights);
        sink.targets(from, kMoveTables.knight[from] & freeAllowed);
    }
    // Pieces that are not pinned share one limit; only a pinned one needs its own.
    auto addSliders = [&](Bits movers, auto reach) PALISADE_INLINE {
        Bits loose = movers & ~watch.pinned;
        while (loose != 0) {
            const int from = popLowest(loose);
            sink.targets(from, reach(from, watch.occupied) & freeAllowed);
        }
        Bits pinned = movers & watch.pinned;
        while (pinned != 0) {
            const int from = popLowest(pinned);
            sink.targets(from, reach(from, watch.occupied) & free & watch.allowedFrom(from));
        }
    };
    const Bits queens = pieces_[codeOf(*side, Kind::Queen)];
    addSliders(pieces_[codeOf(*side, Kind::Bishop)] | queens, diagonalAttacks);
    addSliders(pieces_[codeOf(*side, Kind::Rook)] | queens, straightAttacks);
    addPawnMoves(sink, watch);
    addKingMoves(sink, watch, withCastles);
}

void MoveBoard::generate(MoveList& out) const
{
    out.clear();
    if (needsReference()) {
        for (const Move& move : referenceMoves(position())) out.push(move);
        return;
    }
    MoveCollector collector{out};
    generateInto(collector, true);
}

template <typename Count>
PALISADE_INLINE inline std::uint64_t MoveBoard::countWith() const
{
    MoveCounter<Count> counter;
    generateInto(counter, true);
    return counter.count;
}

#if PALISADE_COUNT_INSTRUCTION
__attribute__((target("popcnt"))) std::uint64_t MoveBoard::countWithInstruction() const
{
    return countWith<InstructionCount>();
}

namespace {
const bool kHasCountInstruction = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("popcnt") != 0;
}();
} // namespace
#endif

std::uint64_t MoveBoard::countMoves() const
{
    if (needsReference()) return referenceMoves(position()).size();
#if PALISADE_COUNT_INSTRUCTION
    if (kHasCountInstruction) return countWithInstruction();
#endif
    return countWith<PortableCount>();
}

bool MoveBoard::hasOrdinaryMove() const
{
    if (needsReference()) {
        const auto moves = referenceMoves(position());
        return std::any_of(moves.begin(), moves.end(), [](const Move& m) { return m.extra != MoveExtra::Castle; });
    }
    MoveCounter<PortableCount> counter;
    generateInto(counter, false);
    return counter.count > 0;
}

bool MoveBoard::inCheck() const
{
    const auto side = sideToMove();
    if (!side) return false;
    if (needsReference()) return sideInCheck(position());
    const KingWatch watch(*this, *side);
    for (int i = 0; i < watch.kingCount; ++i) {
        if (watch.attacked(watch.kings[i], watch.occupied, kAll)) return true;
    }
    return false;
}

} // namespace palisade
