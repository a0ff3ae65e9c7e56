#pragma once

// Where pieces reach on an empty block, worked out once at compile time.

#include "engine/attackers.h"
#include "engine/bits.h"
#include "engine/directions.h"

#include <array>
#include <cstdint>

namespace palisade {

// Rays 0..7 are the diagonals, 8..13 the straight lines, in the order of the
// rules' steps.
inline constexpr int kDiagonalRays = 8;
inline constexpr int kRayCount = 14;

// A pawn advancing towards colmn 7 (up) or towards colmn 0 (down).
enum PawnWay { kUp = 0, kDown = 1 };

struct MoveTables {
    std::array<Bits, kSquareCount> knight{};
    std::array<Bits, kSquareCount> king{};
    // Every square of a ray from a square outward, the square itself not included.
    std::array<std::array<Bits, kSquareCount>, kRayCount> ray{};
    // A ray whose squares have higher indices than its start.
    std::array<bool, kRayCount> rising{};
    // The squares a pawn on a square takes on.
    std::array<std::array<Bits, kSquareCount>, 2> pawnAttack{};
    // Every square of one colmn.
    std::array<Bits, 8> colmn{};
};

constexpr Step rayStep(int ray)
{
    return ray < kDiagonalRays ? kDiagonalSteps[ray] : kOrthogonalSteps[ray - kDiagonalRays];
}

constexpr MoveTables buildMoveTables()
{
    MoveTables t;
    for (int square = 0; square < kSquareCount; ++square) {
        const Coords at = coordsOf(square);
        t.colmn[at.colmn] |= bitOf(square);
        for (const Step& jump : kKnightJumps) {
            if (jumpFits(at, jump)) t.knight[square] |= bitOf(square + jump.delta());
        }
        for (int ray = 0; ray < kRayCount; ++ray) {
            const Step step = rayStep(ray);
            t.rising[ray] = step.delta() > 0;
            const int length = raySquares(at, step);
            if (length > 0) t.king[square] |= bitOf(square + step.delta());
            for (int k = 1; k <= length; ++k) t.ray[ray][square] |= bitOf(square + k * step.delta());
        }
        for (int ray = 0; ray < kDiagonalRays; ++ray) {
            const Step step = rayStep(ray);
            if (!jumpFits(at, step)) continue;
            for (const PawnWay way : {kUp, kDown}) {
                if (pawnTakesAlong(step, way == kUp)) {
                    t.pawnAttack[way][square] |= bitOf(square + step.delta());
                }
            }
        }
    }
    return t;
}

inline constexpr MoveTables kMoveTables = buildMoveTables();

// The squares seen from `square` along one ray up to and including the first
// occupied one.
inline Bits rayAttacks(int ray, int square, Bits occupied)
{
    Bits seen = kMoveTables.ray[ray][square];
    const Bits blockers = seen & occupied;
    if (blockers != 0) {
        const int first = kMoveTables.rising[ray] ? lowestSquare(blockers) : highestSquare(blockers);
        seen ^= kMoveTables.ray[ray][first];
    }
    return seen;
}

// Slider reach by whole lines, looked up rather than walked. A line along a
// colmn is one byte of a set; the lines along rw and between half-boards lie
// in the plane of one colmn, gathered into sixteen bits (bit 4 * boards + rw).
// The diagonals lie in planes of four rows by eight colmns (a board, or one
// rw of every board) gathered into 32 bits; only squares of the middle two
// rows can block, and they never share a colmn.
struct LineTables {
    // From colmn c of a line of eight, with the squares taken as a byte.
    std::array<std::array<std::uint8_t, 256>, 8> eight{};
    // From place p of a line of four, with the squares taken as four bits.
    std::array<std::array<std::uint8_t, 16>, 4> four{};
    // A line between half-boards, as four bits, back into its plane.
    std::array<std::uint16_t, 16> boardsInPlane{};
    // Eight bits of a plane back into a half of the block at colmn 0.
    std::array<std::uint64_t, 256> planeBack{};
    // From place 8 * row + colmn of a plane: the diagonal squares of the
    // middle rows, and what both diagonals reach for each way those squares
    // (folded onto colmns, from two left of the place) may be taken.
    std::array<std::uint32_t, 32> planeBlockers{};
    std::array<std::array<std::uint32_t, 32>, 32> planeDiagonals{};
    // Every square of the diagonals, and of the straight lines, of a square.
    std::array<Bits, kSquareCount> diagonalReach{};
    std::array<Bits, kSquareCount> straightReach{};
};

constexpr std::uint8_t lineReach(int place, int length, unsigned occupied)
{
    unsigned seen = 0;
    for (const int way : {-1, +1}) {
        for (int at = place + way; at >= 0 && at < length; at += way) {
            seen |= 1u << at;
            if ((occupied >> at) & 1u) break;
        }
    }
    return static_cast<std::uint8_t>(seen);
}

constexpr bool inPlane(int row, int colmn) { return row >= 0 && row < 4 && colmn >= 0 && colmn < 8; }

constexpr void addPlaneDiagonals(LineTables& t, int place)
{
    const int row = place >> 3;
    const int colmn = place & 7;
    for (const int middle : {1, 2}) {
        for (const int way : {-1, +1}) {
            const int c = colmn + (middle - row) * way;
            if (middle != row && inPlane(middle, c)) t.planeBlockers[place] |= 1u << (8 * middle + c);
        }
    }
    for (unsigned index = 0; index < 32; ++index) {
        std::uint32_t occupied = 0;
        for (int c = 0; c < 8; ++c) {
            const int bit = c - colmn + 2;
            if (bit < 0 || bit > 4 || ((index >> bit) & 1u) == 0) continue;
            occupied |= t.planeBlockers[place] & (0x0101'0101u << c);
        }
        std::uint32_t seen = 0;
        for (const int rowWay : {-1, +1}) {
            for (const int colmnWay : {-1, +1}) {
                for (int r = row + rowWay, c = colmn + colmnWay; inPlane(r, c); r += rowWay, c += colmnWay) {
                    seen |= 1u << (8 * r + c);
                    if ((occupied >> (8 * r + c)) & 1u) break;
                }
            }
        }
        t.planeDiagonals[place][index] = seen;
    }
}

constexpr LineTables buildLineTables()
{
    LineTables t;
    for (int place = 0; place < 8; ++place) {
        for (unsigned occupied = 0; occupied < 256; ++occupied) t.eight[place][occupied] = lineReach(place, 8, occupied);
    }
    for (int place = 0; place < 4; ++place) {
        for (unsigned occupied = 0; occupied < 16; ++occupied) t.four[place][occupied] = lineReach(place, 4, occupied);
    }
    for (unsigned set = 0; set < 16; ++set) {
        for (int k = 0; k < 4; ++k) {
            if ((set >> k) & 1u) t.boardsInPlane[set] |= static_cast<std::uint16_t>(1u << (4 * k));
        }
    }
    for (unsigned set = 0; set < 256; ++set) {
        for (int k = 0; k < 8; ++k) {
            if ((set >> k) & 1u) t.planeBack[set] |= std::uint64_t{1} << (8 * k);
        }
    }
    for (int place = 0; place < 32; ++place) addPlaneDiagonals(t, place);
    for (int square = 0; square < kSquareCount; ++square) {
        for (int ray = 0; ray < kRayCount; ++ray) {
            (ray < kDiagonalRays ? t.diagonalReach : t.straightReach)[square] |= kMoveTables.ray[ray][square];
        }
    }
    return t;
}

inline constexpr LineTables kLineTables = buildLineTables();

// Both diagonals from `place` of a plane of four rows by eight colmns.
inline std::uint32_t planeDiagonals(int place, std::uint32_t plane)
{
    const std::uint32_t blockers = plane & kLineTables.planeBlockers[place];
    const std::uint32_t folded = ((blockers >> 8) | (blockers >> 16)) & 0xff;
    return kLineTables.planeDiagonals[place][((folded << 2) >> (place & 7)) & 0x1f];
}

// What both line lookups read of a square and of the occupied set.
struct LineLookup {
    int colmn;
    int rw;
    int boards;
    bool inHigh; // the square lies in the set's high half
    std::uint64_t low;
    std::uint64_t high;

    LineLookup(int square, Bits occupied)
        : colmn(square & 7), rw((square >> 3) & 3), boards(square >> 5), inHigh(square >= 64),
          low(lowHalf(occupied)), high(highHalf(occupied))
    {}
};

// The squares a bishop on `square` sees, up to and including the first
// occupied one along each diagonal.
inline Bits diagonalAttacks(int square, Bits occupied)
{
    const auto [colmn, rw, boards, inHigh, low, high] = LineLookup(square, occupied);

    // Along rw: the square's own board.
    const int boardShift = square & 32;
    const auto board = static_cast<std::uint32_t>((inHigh ? high : low) >> boardShift);
    const std::uint32_t rwSeen = planeDiagonals(rw * 8 + colmn, board);

    // Between half-boards: the square's rw on every board, one byte each.
    const int rowShift = rw * 8;
    const auto rows = static_cast<std::uint32_t>(((low >> rowShift) & 0xff) | (((low >> (rowShift + 32)) & 0xff) << 8)
                                                 | (((high >> rowShift) & 0xff) << 16)
                                                 | (((high >> (rowShift + 32)) & 0xff) << 24));
    const std::uint32_t boardsSeen = planeDiagonals(boards * 8 + colmn, rows);

    std::uint64_t seenLow = ((boardsSeen & 0xff) | (std::uint64_t{(boardsSeen >> 8) & 0xff} << 32)) << rowShift;
    std::uint64_t seenHigh = (((boardsSeen >> 16) & 0xff) | (std::uint64_t{boardsSeen >> 24} << 32)) << rowShift;
    (inHigh ? seenHigh : seenLow) |= std::uint64_t{rwSeen} << boardShift;
    return (Bits{seenHigh} << 64) | seenLow;
}

// The same for a rook along its colmn, its rw and between half-boards.
inline Bits straightAttacks(int square, Bits occupied)
{
    const auto [colmn, rw, boards, inHigh, low, high] = LineLookup(square, occupied);
    const int colmnShift = square & 0x38;
    const auto colmnLine = static_cast<unsigned>(((inHigh ? high : low) >> colmnShift) & 0xff);
    const std::uint64_t colmnSeen = std::uint64_t{kLineTables.eight[colmn][colmnLine]} << colmnShift;

    // Bit `colmn` of each byte, brought together by one product without
    // carries: byte k of a half lands on bit k.
    constexpr std::uint64_t kByteStarts = 0x0101'0101'0101'0101ULL;
    constexpr std::uint64_t kGather = 0x0102'0408'1020'4080ULL;
    const auto plane = static_cast<unsigned>((((low >> colmn) & kByteStarts) * kGather) >> 56)
        | (static_cast<unsigned>((((high >> colmn) & kByteStarts) * kGather) >> 56) << 8);
    const unsigned rwLine = (plane >> (4 * boards)) & 0xf;
    // Bits 0, 4, 8 and 12 to bits 0 to 3, again without carries.
    const unsigned boardsLine = ((((plane >> rw) & 0x1111u) * 0x1248u) >> 12) & 0xf;
    const unsigned planeSeen = (unsigned{kLineTables.four[rw][rwLine]} << (4 * boards))
        | (unsigned{kLineTables.boardsInPlane[kLineTables.four[boards][boardsLine]]} << rw);

    std::uint64_t seenLow = kLineTables.planeBack[planeSeen & 0xff] << colmn;
    std::uint64_t seenHigh = kLineTables.planeBack[planeSeen >> 8] << colmn;
    (inHigh ? seenHigh : seenLow) |= colmnSeen;
    return (Bits{seenHigh} << 64) | seenLow;
}

} // namespace palisade
