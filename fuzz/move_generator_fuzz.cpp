// Any position at all, built from bytes: the fast generator must give the
// rules engine's moves and play each exactly as a click would.

#include "engine/generator_check.h"

#include <cstdint>
#include <cstdio>
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < kSquareCount + kFlagBytes) return 0;
    const Position position = positionOf(data);
    const std::string disagreement = generatorDisagreement(position);
    if (disagreement.empty()) return 0;
    std::fprintf(stderr, "%s\n%s\n", describePosition(position).c_str(), disagreement.c_str());
    std::abort();
}
