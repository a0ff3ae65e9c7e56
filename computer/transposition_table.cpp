#include "computer/transposition_table.h"

#include <bit>

namespace palisade {

namespace {

// The packed entry, from the low bit: score (24 bits, signed), depth (16),
// bound (2), pick (8), drop (8), extra (4), and the top bit set in a filled slot.
constexpr std::uint64_t kFilled = std::uint64_t{1} << 63;
constexpr int kScoreBits = 24;

std::uint64_t bits(std::uint64_t value, int from, int count) { return (value >> from) & ((std::uint64_t{1} << count) - 1); }

std::uint64_t pack(const TableEntry& entry)
{
    const auto score = static_cast<std::uint64_t>(static_cast<std::uint32_t>(entry.score)) & ((1u << kScoreBits) - 1);
    return score | std::uint64_t{static_cast<std::uint16_t>(entry.depth)} << 24
           | std::uint64_t{static_cast<std::uint8_t>(entry.bound)} << 40 | std::uint64_t{entry.best.pick} << 42
           | std::uint64_t{entry.best.drop} << 50 | std::uint64_t{static_cast<std::uint8_t>(entry.best.extra)} << 58
           | kFilled;
}

TableEntry unpack(std::uint64_t key, std::uint64_t data)
{
    TableEntry entry;
    entry.key = key;
    // The score's sign bit spread back over the upper bits.
    const auto score = static_cast<std::uint32_t>(bits(data, 0, kScoreBits)) << (32 - kScoreBits);
    entry.score = static_cast<std::int32_t>(score) >> (32 - kScoreBits);
    entry.depth = static_cast<std::int16_t>(bits(data, 24, 16));
    entry.bound = static_cast<Bound>(bits(data, 40, 2));
    entry.best.pick = static_cast<std::uint8_t>(bits(data, 42, 8));
    entry.best.drop = static_cast<std::uint8_t>(bits(data, 50, 8));
    entry.best.extra = static_cast<MoveExtra>(bits(data, 58, 4));
    return entry;
}

} // namespace

// As many slots as whole entries would fill, so the table stays within its megabytes.
TranspositionTable::TranspositionTable(std::size_t megabytes)
{
    const std::size_t wanted = megabytes * 1024 * 1024 / sizeof(TableEntry);
    const std::size_t count = std::bit_floor(wanted > 1 ? wanted : std::size_t{2});
    slots_ = std::vector<Slot>(count);
    mask_ = count - 1;
}

std::optional<TableEntry> TranspositionTable::read(const Slot& slot) const
{
    const std::uint64_t data = slot.data.load(std::memory_order_relaxed);
    const std::uint64_t check = slot.check.load(std::memory_order_relaxed);
    if ((data & kFilled) == 0) return std::nullopt;
    return unpack(check ^ data, data);
}

std::optional<TableEntry> TranspositionTable::find(std::uint64_t key) const
{
    const auto entry = read(slots_[key & mask_]);
    if (!entry || entry->key != key) return std::nullopt;
    return entry;
}

void TranspositionTable::store(const TableEntry& entry)
{
    Slot& slot = slots_[entry.key & mask_];
    // Keep a deeper result of the same position; anything else gives way.
    const auto kept = read(slot);
    if (kept && kept->key == entry.key && kept->depth > entry.depth && entry.bound != Bound::Exact) return;
    const std::uint64_t data = pack(entry);
    slot.check.store(entry.key ^ data, std::memory_order_relaxed);
    slot.data.store(data, std::memory_order_relaxed);
}

} // namespace palisade
