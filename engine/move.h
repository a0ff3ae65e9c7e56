#pragma once

#include "engine/piece.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace palisade {

// What a move does besides taking its piece from `pick` to `drop`: the piece a
// promoted pawn becomes, or the rook of a castle.
enum class MoveExtra : std::uint8_t { Plain, Queen, Knight, Rook, Bishop, Castle };

struct Move {
    std::uint8_t pick = 0;
    std::uint8_t drop = 0;
    MoveExtra extra = MoveExtra::Plain;

    friend bool operator==(const Move&, const Move&) = default;
};

// Scripts' order: by pick, then drop, then the extra's letter with the plain move first.
bool operator<(const Move& a, const Move& b);

// "q", "n", "r", "b", "c", or nothing for a plain move.
std::string_view extraLetter(MoveExtra extra);
std::optional<MoveExtra> extraOfLetter(std::string_view letter);

// "PICK DROP" or "PICK DROP X".
std::string moveText(const Move& move);

// The piece a promotion leaves, Queen for a move that promotes nothing.
Kind promotedKind(MoveExtra extra);

// The legal moves of one position. A side has at most 32 pieces and none has
// more than 25 moves (a queen in the middle of the block; a pawn's promotions
// come to 20), so the capacity is never reached.
class MoveList {
public:
    static constexpr std::size_t kCapacity = 1024;

    void push(Move move) { moves_[size_++] = move; }
    void clear() { size_ = 0; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const Move& operator[](std::size_t i) const { return moves_[i]; }
    Move& operator[](std::size_t i) { return moves_[i]; }
    const Move* begin() const { return moves_.data(); }
    const Move* end() const { return moves_.data() + size_; }
    Move* begin() { return moves_.data(); }
    Move* end() { return moves_.data() + size_; }

private:
    std::array<Move, kCapacity> moves_;
    std::size_t size_ = 0;
};

// The moves of the piece on `pick` alone: a king kept after the two-king
// trial is the one piece its side may move.
MoveList movesFrom(const MoveList& moves, int pick);

} // namespace palisade
