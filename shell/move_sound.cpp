#include "shell/move_sound.h"

#include "engine/piece.h"
#include "gameroom/game_room.h"

#include <algorithm>

namespace palisade {

namespace {

int piecesOn(const Board& squares)
{
    return static_cast<int>(std::count_if(squares.begin(), squares.end(), [](int code) { return isPiece(code); }));
}

SoundKind kindOf(const GameRoom& room, bool pieceTaken)
{
    if (room.result()) return SoundKind::GameEnd;
    if (room.checkShown()) return SoundKind::Check;
    if (room.notation().find("O-O") != std::string::npos) return SoundKind::Castle;
    return pieceTaken ? SoundKind::Capture : SoundKind::Move;
}

} // namespace

std::optional<SoundKind> MoveSound::after(const GameRoom& room)
{
    const int pieces = piecesOn(room.position().squares);
    const bool moved = room.movesPlayed() != movesSeen_;
    const bool pieceTaken = pieces < piecesSeen_;
    movesSeen_ = room.movesPlayed();
    piecesSeen_ = pieces;
    if (!moved) return std::nullopt;
    return kindOf(room, pieceTaken);
}

} // namespace palisade
