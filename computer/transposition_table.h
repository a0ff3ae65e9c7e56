#pragma once

#include "engine/move.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace palisade {

// What a score stored for a position says: exact, at least (the search cut
// off above beta) or at most (no move reached alpha).
enum class Bound : std::uint8_t { Exact, Lower, Upper };

struct TableEntry {
    std::uint64_t key = 0;
    std::int32_t score = 0;
    std::int16_t depth = -1;
    Bound bound = Bound::Exact;
    Move best;
};

// Positions already searched, found by their key. One entry a slot; a deeper
// or newer search of another position replaces it. Threads may share a table:
// a slot is two words written and read apart, the entry packed in one and
// the key mixed with it in the other, so that a slot half written by another
// thread reads as no entry rather than a wrong one.
class TranspositionTable {
public:
    explicit TranspositionTable(std::size_t megabytes);

    std::optional<TableEntry> find(std::uint64_t key) const;
    void store(const TableEntry& entry);

private:
    struct Slot {
        std::atomic<std::uint64_t> check{0}; // key ^ data
        std::atomic<std::uint64_t> data{0};
    };

    std::optional<TableEntry> read(const Slot& slot) const;

    std::vector<Slot> slots_;
    std::uint64_t mask_ = 0;
};

} // namespace palisade
