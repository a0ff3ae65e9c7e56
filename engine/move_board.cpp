#include "engine/move_board.h"

#include "engine/castling.h"
#include "engine/apply.h"

#include <cassert>
#include <cstdlib>

namespace palisade {

namespace {

constexpr std::uint64_t splitMix(std::uint64_t& state)
{
    std::uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

struct KeyTables {
    std::array<std::array<std::uint64_t, kSquareCount>, 13> piece{};
    std::array<std::uint64_t, kSquareCount> enPassant{};
    std::array<std::array<std::uint64_t, 256>, 2> castleLost{};
    std::uint64_t blackToMove = 0;
    std::uint64_t result = 0;
};

constexpr KeyTables buildKeyTables()
{
    KeyTables keys;
    std::uint64_t state = 0x5061'6c69'7361'6465ULL;
    for (int code = 1; code < 13; ++code) {
        for (auto& key : keys.piece[code]) key = splitMix(state);
    }
    for (auto& key : keys.enPassant) key = splitMix(state);
    for (auto& half : keys.castleLost) {
        for (auto& key : half) key = splitMix(state);
    }
    keys.blackToMove = splitMix(state);
    keys.result = splitMix(state);
    return keys;
}

constexpr KeyTables kKeys = buildKeyTables();

// The castle flags a rook or a king loses by leaving a square, in each
// orientation, read off the rules themselves.
struct LostRights {
    std::array<std::array<std::uint16_t, kSquareCount>, 2> rook{};
    std::array<std::array<std::uint16_t, kSquareCount>, 2> king{};
};

std::uint16_t lostFlags(int code, int square, int sidesSwitched)
{
    Position position;
    position.sidesSwitched = sidesSwitched;
    position.squares[square] = code;
    loseCastlingRights(position, square);
    std::uint16_t flags = 0;
    for (int flag = 0; flag < kCastleFlagCount; ++flag) {
        if (position.castleLost[flag] != 0) flags |= static_cast<std::uint16_t>(1u << flag);
    }
    return flags;
}

LostRights buildLostRights()
{
    LostRights lost;
    for (int sw = 0; sw < 2; ++sw) {
        for (int square = 0; square < kSquareCount; ++square) {
            lost.rook[sw][square] = lostFlags(kWhiteRook, square, sw);
            lost.king[sw][square] = lostFlags(kWhiteKing, square, sw);
        }
    }
    return lost;
}

const LostRights kLostRights = buildLostRights();

constexpr bool onFarColmn(int square)
{
    const int colmn = coordsOf(square).colmn;
    return colmn == 0 || colmn == 7;
}

} // namespace

MoveBoard::MoveBoard(const Position& position)
    : status_(position.status), sidesSwitched_(position.sidesSwitched), upPawn_(position.upPawn),
      downPawn_(position.downPawn), enPassant_(position.enPassantSquare),
      kingTrial_(static_cast<std::int8_t>(position.kingTrial)),
      loneKingFree_(static_cast<std::int8_t>(position.loneKingFree)),
      winOption_(static_cast<std::int8_t>(position.winOption)),
      kingsStanding_(static_cast<std::int8_t>(position.kingsStanding))
{
    for (int square = 0; square < kSquareCount; ++square) put(square, position.squares[square]);
    for (int flag = 0; flag < kCastleFlagCount; ++flag) {
        if (position.castleLost[flag] != 0) castleLost_ |= static_cast<std::uint16_t>(1u << flag);
    }
}

Position MoveBoard::position() const
{
    Position position;
    for (int square = 0; square < kSquareCount; ++square) position.squares[square] = squares_[square];
    position.status = status_;
    position.sidesSwitched = sidesSwitched_;
    position.upPawn = upPawn_;
    position.downPawn = downPawn_;
    position.enPassantSquare = enPassant_;
    for (int flag = 0; flag < kCastleFlagCount; ++flag) position.castleLost[flag] = (castleLost_ >> flag) & 1;
    position.winOption = winOption_;
    position.kingsStanding = kingsStanding_;
    position.kingTrial = kingTrial_;
    position.loneKingFree = loneKingFree_;
    return position;
}

std::uint64_t MoveBoard::key() const
{
    std::uint64_t key = pieceKey_ ^ kKeys.castleLost[0][castleLost_ & 0xff] ^ kKeys.castleLost[1][castleLost_ >> 8];
    if (status_ == Status::BlackToMove) key ^= kKeys.blackToMove;
    if (!sideToMove()) key ^= kKeys.result;
    if (isSquare(enPassant_)) key ^= kKeys.enPassant[enPassant_];
    return key;
}

void MoveBoard::put(int square, int code)
{
    assert(isSquare(square));
    assert(code == kEmpty || isPiece(code));
    const int old = squares_[square];
    const Bits bit = bitOf(square);
    if (isPiece(old)) {
        pieces_[old] ^= bit;
        sides_[isBlack(old)] ^= bit;
        pieceKey_ ^= kKeys.piece[old][square];
    }
    if (isPiece(code)) {
        pieces_[code] |= bit;
        sides_[isBlack(code)] |= bit;
        pieceKey_ ^= kKeys.piece[code][square];
    }
    squares_[square] = static_cast<std::int8_t>(code);
}

void MoveBoard::change(Undo& undo, int square, int code)
{
    assert(undo.count < static_cast<int>(undo.changes.size()));
    undo.changes[undo.count++] = {static_cast<std::uint8_t>(square), squares_[square]};
    put(square, code);
}

// The same steps, in the same order, as a click's move.
void MoveBoard::make(Move move)
{
    Undo& undo = undo_.emplace_back();
    undo.status = status_;
    undo.enPassant = enPassant_;
    undo.castleLost = castleLost_;
    undo.kingTrial = kingTrial_;
#ifndef NDEBUG
    undo.keyBefore = key();
#endif

    const int pick = move.pick;
    const int drop = move.drop;
    assert(isSquare(pick) && isSquare(drop) && isPiece(squares_[pick]));
    status_ = nextTurn(status_);
    kingTrial_ = 0;

    // The pawn taken en passant.
    if (drop >= 1 && squares_[pick] == upPawn_ && squares_[drop - 1] == downPawn_ && enPassant_ == drop - 1) {
        change(undo, drop - 1, kEmpty);
    }
    if (drop <= kSquareCount - 2 && squares_[pick] == downPawn_ && squares_[drop + 1] == upPawn_
        && enPassant_ == drop + 1) {
        change(undo, drop + 1, kEmpty);
    }
    const bool pawn = isPawn(squares_[pick]);
    enPassant_ = pawn && std::abs(drop - pick) == 2 ? drop : 0;
    if (pawn && onFarColmn(drop)) {
        const Side side = isWhite(squares_[pick]) ? Side::White : Side::Black;
        change(undo, pick, codeOf(side, promotedKind(move.extra)));
    }
    const int mover = squares_[pick];
    if (isPiece(mover) && kindOf(mover) == Kind::Rook) castleLost_ |= kLostRights.rook[sidesSwitched_][pick];
    if (isKing(mover)) castleLost_ |= kLostRights.king[sidesSwitched_][pick];

    change(undo, drop, mover);
    change(undo, pick, kEmpty);
    if (move.extra != MoveExtra::Castle) return;
    if (const auto rook = castleRookMove(drop, castleMark(move))) {
        change(undo, rook->from, kEmpty);
        change(undo, rook->to, rook->code);
    }
}

void MoveBoard::unmake()
{
    assert(!undo_.empty());
    const Undo& undo = undo_.back();
    for (int i = undo.count - 1; i >= 0; --i) put(undo.changes[i].square, undo.changes[i].code);
    status_ = undo.status;
    enPassant_ = undo.enPassant;
    castleLost_ = undo.castleLost;
    kingTrial_ = undo.kingTrial;
    assert(key() == undo.keyBefore);
    undo_.pop_back();
}

} // namespace palisade
