#include "computer/transposition_table.h"

#include <bit>

namespace palisade {

TranspositionTable::TranspositionTable(std::size_t megabytes)
{
    const std::size_t wanted = megabytes * 1024 * 1024 / sizeof(TableEntry);
    const std::size_t count = std::bit_floor(wanted > 1 ? wanted : std::size_t{2});
    slots_.resize(count);
    mask_ = count - 1;
}

std::optional<TableEntry> TranspositionTable::find(std::uint64_t key) const
{
    const TableEntry& slot = slots_[key & mask_];
    if (slot.depth < 0 || slot.key != key) return std::nullopt;
    return slot;
}

void TranspositionTable::store(const TableEntry& entry)
{
    TableEntry& slot = slots_[entry.key & mask_];
    // Keep a deeper result of the same position; anything else gives way.
    if (slot.key == entry.key && slot.depth > entry.depth && entry.bound != Bound::Exact) return;
    slot = entry;
}

} // namespace palisade
