#pragma once

// Sets of squares of the block, one bit a square (bit = square index).

#include <bit>
#include <cstdint>

// x86-64 processors may or may not have the popcount instruction: the
// counting that matters most is built both ways and chosen at run time.
#if (defined(__x86_64__) || defined(__i386__)) && !defined(__POPCNT__) && (defined(__GNUC__) || defined(__clang__))
#define PALISADE_COUNT_INSTRUCTION 1
#else
#define PALISADE_COUNT_INSTRUCTION 0
#endif

// Forces inlining, so that a caller built for the popcount instruction
// carries the whole counting path.
#define PALISADE_INLINE __attribute__((always_inline))

namespace palisade {

__extension__ typedef unsigned __int128 Bits;

constexpr Bits bitOf(int square) { return Bits{1} << square; }

constexpr std::uint64_t lowHalf(Bits b) { return static_cast<std::uint64_t>(b); }
constexpr std::uint64_t highHalf(Bits b) { return static_cast<std::uint64_t>(b >> 64); }

// Without the processor's popcount instruction the library's call is slower
// than counting in a register.
constexpr int bitCount(std::uint64_t x)
{
#if defined(__POPCNT__)
    return std::popcount(x);
#else
    x -= (x >> 1) & 0x5555'5555'5555'5555ULL;
    x = (x & 0x3333'3333'3333'3333ULL) + ((x >> 2) & 0x3333'3333'3333'3333ULL);
    x = (x + (x >> 4)) & 0x0f0f'0f0f'0f0f'0f0fULL;
    return static_cast<int>((x * 0x0101'0101'0101'0101ULL) >> 56);
#endif
}

constexpr int squareCount(Bits b) { return bitCount(lowHalf(b)) + bitCount(highHalf(b)); }

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
