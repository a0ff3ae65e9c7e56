#pragma once

// Sets of squares of the block, one bit a square (bit = square index).

#include <bit>
#include <cstdint>

namespace palisade {

__extension__ typedef unsigned __int128 Bits;

constexpr Bits bitOf(int square) { return Bits{1} << square; }

constexpr std::uint64_t lowHalf(Bits b) { return static_cast<std::uint64_t>(b); }
constexpr std::uint64_t highHalf(Bits b) { return static_cast<std::uint64_t>(b >> 64); }

constexpr int squareCount(Bits b) { return std::popcount(lowHalf(b)) + std::popcount(highHalf(b)); }

// The lowest and the highest square of a set that is not empty.
constexpr int lowestSquare(Bits b)
{
    const std::uint64_t low = lowHalf(b);
    return low != 0 ? std::countr_zero(low) : 64 + std::countr_zero(highHalf(b));
}

constexpr int highestSquare(Bits b)
{
    const std::uint64_t high = highHalf(b);
    return high != 0 ? 127 - std::countl_zero(high) : 63 - std::countl_zero(lowHalf(b));
}

// Takes the lowest square out of a set that is not empty.
constexpr int popLowest(Bits& b)
{
    const int square = lowestSquare(b);
    b &= b - 1;
    return square;
}

} // namespace palisade
