#include "remote/position_hash.h"

#include "engine/orientation.h"
#include "gameroom/game_room.h"

namespace palisade::remote {

namespace {

constexpr std::uint64_t kFnvOffset = 14695981039346656037ull;
constexpr std::uint64_t kFnvPrime = 1099511628211ull;
constexpr int kNoEnPassant = 0xff;

class Fnv1a {
public:
    void add(int value)
    {
        // Two bytes hold every field: squares, codes, flags and half-moves.
        mix(static_cast<std::uint8_t>(value & 0xff));
        mix(static_cast<std::uint8_t>((value >> 8) & 0xff));
    }
    std::uint64_t value() const { return hash_; }

private:
    void mix(std::uint8_t byte)
    {
        hash_ ^= byte;
        hash_ *= kFnvPrime;
    }
    std::uint64_t hash_ = kFnvOffset;
};

// A square as it stands in orientation 0.
int unturned(int square, int sidesSwitched) { return sidesSwitched == 0 ? square : turnedSquare(square); }

// The en passant square only when a pawn of the side to move stands beside
// it and could take it; otherwise every stored value is the same "none".
int usableEnPassant(const Position& position)
{
    const int ep = position.enPassantSquare;
    const auto side = sideToMove(position.status);
    if (!side || !isSquare(ep)) return kNoEnPassant;
    const int pawn = codeOf(*side, Kind::Pawn);
    const int forward = pawn == position.upPawn ? 1 : -1;
    const Coords at = coordsOf(ep);
    const Coords beside[] = {{at.boards, at.rw - 1, at.colmn}, {at.boards, at.rw + 1, at.colmn},
                             {at.boards - 1, at.rw, at.colmn}, {at.boards + 1, at.rw, at.colmn}};
    const int landing = at.colmn + forward;
    if (landing < 0 || landing > 7 || !areEnemies(pawn, position.squares[ep])) return kNoEnPassant;
    for (const Coords& c : beside) {
        const bool onBoard = c.boards >= 0 && c.boards < 4 && c.rw >= 0 && c.rw < 4;
        if (onBoard && position.squares[indexOf(c)] == pawn) return unturned(ep, position.sidesSwitched);
    }
    return kNoEnPassant;
}

} // namespace

std::uint64_t positionHash(const Position& position, int halfMoves)
{
    Fnv1a hash;
    for (int square = 0; square < kSquareCount; ++square) {
        hash.add(position.squares[unturned(square, position.sidesSwitched)]);
    }
    hash.add(static_cast<int>(position.status));
    for (const int lost : position.castleLost) hash.add(lost);
    hash.add(position.winOption);
    hash.add(position.kingsStanding);
    hash.add(position.loneKingFree);
    hash.add(halfMoves);
    hash.add(usableEnPassant(position));
    return hash.value();
}

std::uint64_t roomHash(const GameRoom& room)
{
    Position position = room.position();
    if (const auto& choice = room.kingChoice()) position.squares[choice->other] = position.squares[choice->offered];
    return positionHash(position, room.halfMoves());
}

} // namespace palisade::remote
