#include "engine/generator_check.h"

#include "engine/check.h"
#include "engine/move_board.h"
#include "engine/apply.h"
#include "engine/reference_moves.h"

#include <algorithm>
#include <iterator>
#include <sstream>

namespace palisade {

namespace {

std::string onlyIn(const std::vector<Move>& a, const std::vector<Move>& b)
{
    std::vector<Move> only;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(only));
    std::string text;
    for (const Move& move : only) text += " [" + moveText(move) + "]";
    return text;
}

std::string movesDisagreement(const std::vector<Move>& fast, const std::vector<Move>& rules)
{
    if (fast == rules) return {};
    return "moves differ; only fast:" + onlyIn(fast, rules) + "; only rules:" + onlyIn(rules, fast);
}

std::string playDisagreement(MoveBoard& board, const Position& position, const std::vector<Move>& moves)
{
    const std::uint64_t key = board.key();
    for (const Move& move : moves) {
        Position expected = position;
        apply(expected, move);
        board.make(move);
        const bool samePosition = board.position() == expected;
        const bool sameKey = board.key() == MoveBoard(expected).key();
        board.unmake();
        if (!samePosition) return "move " + moveText(move) + " plays differently";
        if (!sameKey) return "move " + moveText(move) + " leaves another key";
    }
    if (!(board.position() == position) || board.key() != key) return "taking back does not restore the position";
    return {};
}

} // namespace

std::string generatorDisagreement(const Position& position)
{
    const std::vector<Move> rules = referenceMoves(position);
    MoveBoard board(position);
    MoveList list;
    board.generate(list);
    std::vector<Move> fast(list.begin(), list.end());
    std::sort(fast.begin(), fast.end());
    if (auto moves = movesDisagreement(fast, rules); !moves.empty()) return moves;
    if (board.countMoves() != rules.size()) return "the count differs from the list";
    const bool ordinary =
        std::any_of(rules.begin(), rules.end(), [](const Move& m) { return m.extra != MoveExtra::Castle; });
    if (board.hasOrdinaryMove() != ordinary) return "the end-of-game answer differs";
    if (board.inCheck() != sideInCheck(position)) return "the check answer differs";
    return playDisagreement(board, position, rules);
}

std::string describePosition(const Position& p)
{
    std::ostringstream out;
    out << "board ";
    for (int code : p.squares) out << "0123456789abc"[code];
    out << " status " << static_cast<int>(p.status) << " switched " << p.sidesSwitched << " pawns " << p.upPawn
        << '/' << p.downPawn << " ep " << p.enPassantSquare << " lost ";
    for (int flag : p.castleLost) out << flag;
    out << " option " << p.winOption << " kings " << p.kingsStanding << " trial " << p.kingTrial << " free "
        << p.loneKingFree;
    return out.str();
}

} // namespace palisade
