#pragma once

#include "engine/bits.h"
#include "engine/move.h"
#include "engine/position.h"

#include <array>
#include <cassert>
#include <cstdint>
#include <optional>
#include <vector>

namespace palisade {

// A position kept for speed: sets of squares a piece code besides the board,
// legal moves found with the checks and pins of each king worked out once, and
// moves played and taken back in place. It finds exactly the moves clicks find
// and plays them exactly as a click does (the lone king's trial ends with the
// first move; the end of the game is not judged).
class MoveBoard {
public:
    explicit MoveBoard(const Position& position);

    Position position() const;

    // The legal moves of the side to move, in no particular order.
    void generate(MoveList& out) const;
    std::uint64_t countMoves() const;
    // Whether any legal move other than a castle exists.
    bool hasOrdinaryMove() const;
    // Whether a king of the side to move is attacked.
    bool inCheck() const;

    // `move` must be one of generate's moves; unmake takes back the latest.
    void make(Move move);
    void unmake();

    Status status() const { return status_; }
    std::optional<Side> sideToMove() const { return palisade::sideToMove(status_); }
    int pieceAt(int square) const
    {
        assert(isSquare(square));
        return squares_[square];
    }
    Bits piecesOf(int code) const
    {
        assert(isPiece(code));
        return pieces_[code];
    }
    Bits piecesOf(Side side) const { return sides_[static_cast<int>(side)]; }
    Bits occupied() const { return sides_[0] | sides_[1]; }
    int sidesSwitched() const { return sidesSwitched_; }
    int enPassantSquare() const { return enPassant_; }
    // Differs between positions that differ in pieces, side to move, en
    // passant square or castling rights (up to hash collisions).
    std::uint64_t key() const;
    // Differs between boards that differ in their pieces alone, as the
    // repetition draw compares positions (up to hash collisions).
    std::uint64_t boardKey() const { return pieceKey_; }

private:
    struct Change {
        std::uint8_t square;
        std::int8_t code;
    };
    struct Undo {
        std::array<Change, 6> changes;
        int count = 0;
        Status status;
        int enPassant;
        std::uint16_t castleLost;
        std::int8_t kingTrial;
#ifndef NDEBUG
        std::uint64_t keyBefore; // what unmake must give back
#endif
    };
    struct KingWatch;
    template <typename Sink> void generateInto(Sink& sink, bool withCastles) const;
    template <typename Count> std::uint64_t countWith() const;
#if PALISADE_COUNT_INSTRUCTION
    std::uint64_t countWithInstruction() const;
#endif
    template <typename Sink> void addPawnMoves(Sink& sink, const KingWatch& watch) const;
    template <typename Sink> void addKingMoves(Sink& sink, const KingWatch& watch, bool withCastles) const;
    bool needsReference() const;

    void put(int square, int code);
    void change(Undo& undo, int square, int code);

    std::array<std::int8_t, kSquareCount> squares_{};
    std::array<Bits, 13> pieces_{};
    std::array<Bits, 2> sides_{};
    Status status_ = Status::WhiteToMove;
    int sidesSwitched_ = 0;
    int upPawn_ = kWhitePawn;
    int downPawn_ = kBlackPawn;
    int enPassant_ = 0;
    std::uint16_t castleLost_ = 0;
    std::int8_t kingTrial_ = 0;
    std::int8_t loneKingFree_ = 0;
    std::int8_t winOption_ = 0;
    std::int8_t kingsStanding_ = 2;
    std::uint64_t pieceKey_ = 0;
    std::vector<Undo> undo_;
};

} // namespace palisade
