#include "gameroom/saved_game_check.h"

#include "engine/check.h"

#include <algorithm>

namespace palisade {

namespace {

bool isFlag(int value) { return value == 0 || value == 1; }

bool boardIsSound(const Board& squares)
{
    return std::all_of(squares.begin(), squares.end(), [](int code) { return code >= 0 && code <= kBlackKing; });
}

bool flagsAreSound(const std::array<int, kCastleFlagCount>& flags)
{
    return std::all_of(flags.begin(), flags.end(), isFlag);
}

bool entryIsSound(const HistoryEntry& entry)
{
    return boardIsSound(entry.squares) && flagsAreSound(entry.castleLost) && isFlag(entry.check)
           && isFlag(entry.loneKingFree) && isFlag(entry.sidesSwitched) && isSquare(entry.enPassantSquare);
}

// A pawn is promoted on reaching the far end and never stands on its own back row.
bool noPawnAtAnEnd(const Board& squares)
{
    for (int square = 0; square < kSquareCount; ++square) {
        const int colmn = coordsOf(square).colmn;
        if (isPawn(squares[square]) && (colmn == 0 || colmn == 7)) return false;
    }
    return true;
}

bool atMostTwoKings(const Board& squares, Side side)
{
    const int king = codeOf(side, Kind::King);
    return std::count(squares.begin(), squares.end(), king) <= 2;
}

std::optional<FileError> checkPosition(const SavedGame& game)
{
    const Position& p = game.position;
    const bool pawnsFollowSides = p.sidesSwitched == 0 ? p.upPawn == kWhitePawn && p.downPawn == kBlackPawn
                                                       : p.upPawn == kBlackPawn && p.downPawn == kWhitePawn;
    if (!boardIsSound(p.squares) || !flagsAreSound(p.castleLost)) return FileError{"it holds an unknown piece or flag"};
    if (!isFlag(p.sidesSwitched) || !pawnsFollowSides || !isFlag(p.loneKingFree) || !isFlag(p.winOption)
        || !isFlag(game.selectionLocked) || !isFlag(game.pieceSelected)
        || (p.kingsStanding != 1 && p.kingsStanding != 2)) {
        return FileError{"one of its game settings has a value no game can have"};
    }
    if (!isSquare(p.enPassantSquare) || !isSquare(game.selectedSquare)) return FileError{"it names a square off the board"};
    if (!noPawnAtAnEnd(p.squares)) return FileError{"a pawn stands on the first or last colmn"};
    if (!atMostTwoKings(p.squares, Side::White) || !atMostTwoKings(p.squares, Side::Black)) {
        return FileError{"one side has more than two kings"};
    }
    return std::nullopt;
}

} // namespace

std::optional<FileError> checkSavedGame(const SavedGame& game)
{
    if (auto error = checkPosition(game)) return error;
    if (game.lastHalfMove < 0 || game.lastHalfMove > MoveHistory::kLast || game.halfMoves < 0
        || game.halfMoves > game.lastHalfMove || game.entries.size() != static_cast<std::size_t>(game.lastHalfMove) + 1) {
        return FileError{"its move count does not fit its history"};
    }
    for (std::size_t k = 0; k < game.entries.size(); ++k) {
        // Only an entry no position was ever written to goes without a status,
        // and only the last one can be such.
        const HistoryEntry& entry = game.entries[k];
        const bool last = k + 1 == game.entries.size();
        const bool blankAsWritten = entry.status || (last && entry == HistoryEntry{});
        if (!entryIsSound(entry) || !blankAsWritten) {
            return FileError{"a recorded position in its history is damaged"};
        }
    }
    return std::nullopt;
}

} // namespace palisade
