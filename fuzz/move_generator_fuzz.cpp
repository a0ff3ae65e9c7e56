// Any position at all, built from bytes: the fast generator must give the
// rules engine's moves and play each exactly as a click would.

#include "engine/check.h"
#include "engine/move_board.h"
#include "engine/play_move.h"
#include "engine/reference_moves.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

using namespace palisade;

constexpr std::size_t kFlagBytes = 8;

Position positionOf(const std::uint8_t* data)
{
    Position position;
    for (int square = 0; square < kSquareCount; ++square) position.squares[square] = data[square] % 13;
    const std::uint8_t* flags = data + kSquareCount;
    position.status = static_cast<Status>(flags[0] % 5);
    position.sidesSwitched = flags[1] & 1;
    position.upPawn = flags[1] & 2 ? kBlackPawn : kWhitePawn;
    position.downPawn = flags[1] & 4 ? kBlackPawn : kWhitePawn;
    position.enPassantSquare = flags[2];
    for (int flag = 0; flag < kCastleFlagCount; ++flag) {
        position.castleLost[flag] = (flags[3 + flag / 8] >> (flag % 8)) & 1;
    }
    position.kingTrial = flags[5] & 1;
    position.loneKingFree = (flags[5] >> 1) & 1;
    position.winOption = (flags[5] >> 2) & 1;
    position.kingsStanding = 1 + ((flags[5] >> 3) & 1);
    return position;
}

void require(bool holds)
{
    if (!holds) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < kSquareCount + kFlagBytes) return 0;
    const Position position = positionOf(data);
    const std::vector<Move> reference = referenceMoves(position);

    MoveBoard board(position);
    MoveList list;
    board.generate(list);
    std::vector<Move> fast(list.begin(), list.end());
    std::sort(fast.begin(), fast.end());
    require(fast == reference);
    require(board.countMoves() == reference.size());
    require(board.inCheck() == sideInCheck(position));
    require(board.hasOrdinaryMove()
            == std::any_of(reference.begin(), reference.end(), [](const Move& m) { return m.extra != MoveExtra::Castle; }));
    for (const Move& move : reference) {
        Position expected = position;
        playMove(expected, move);
        board.make(move);
        require(board.position() == expected);
        board.unmake();
    }
    require(board.position() == position);
    return 0;
}
