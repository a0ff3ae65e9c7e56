#include "gameroom/game_room.h"

#include "gameroom/game_file.h"
#include "gameroom/notation.h"

namespace palisade {

SavedGame GameRoom::savedGame() const
{
    SavedGame game;
    game.position = position_;
    game.selectionLocked = selectionLocked_ ? 1 : 0;
    game.pieceSelected = pieceSelected_ ? 1 : 0;
    game.selectedSquare = selectedSquare_;
    game.lastHalfMove = history_.lastHalfMove();
    game.halfMoves = history_.halfMoves();
    game.forwardVisible = history_.canGoForward();
    for (int k = 0; k <= game.lastHalfMove; ++k) game.entries.push_back(history_.entry(k));
    return game;
}

void GameRoom::load(const SavedGame& game, const std::string& fileName)
{
    std::vector<HistoryEntry> entries = game.entries;
    // The file keeps no count of kings standing: an entry with fewer than two
    // kings of a side is after a king was given up.
    for (HistoryEntry& entry : entries) {
        const bool bothPairs = kingsOf(entry.squares, Side::White).count == 2
                               && kingsOf(entry.squares, Side::Black).count == 2;
        entry.kingsStanding = bothPairs ? 2 : 1;
    }
    history_.load(entries, game.halfMoves);
    position_ = game.position;
    spokenEnd_.reset();
    kingChoice_.reset();
    updateKingTrial();
    marks_.fill(kNoMark);
    pieceSelected_ = game.pieceSelected == 1;
    selectedSquare_ = game.selectedSquare;
    selectionLocked_ = game.selectionLocked == 1;
    dragActive_ = false;
    gameSaved_ = true;
    // The file keeps no "Check!": it shows when a king of the side to move is attacked.
    checkShown_ = sideInCheck(position_);
    nameLoadedMoves();
    fileName_ = fileName;
    view_.statusChanged();
    activate();
}

void GameRoom::loadRecovered(const SavedGame& game)
{
    load(game, "");
    gameSaved_ = false;
    view_.statusChanged();
}

// The file keeps positions, not moves: each move of the list is read off the
// positions before and after it. The one on the board is the last written.
void GameRoom::nameLoadedMoves()
{
    const HistoryEntry now = snapshot();
    for (int k = 1; k <= history_.lastHalfMove(); ++k) {
        const HistoryEntry& after = k == history_.halfMoves() ? now : history_.entry(k);
        history_.setMoveText(k, moveTextBetween(history_.entry(k - 1), after));
    }
    notation_ = history_.halfMoves() > 0 ? history_.moveText(history_.halfMoves()) : "";
}

bool GameRoom::save(const std::string& fileName)
{
    // Half a trial is no game to keep: one king is off the board unanswered.
    if (kingChoice_) {
        view_.message("Choose the king to save first.");
        return false;
    }
    if (const auto error = writeSavedGame(fileName, savedGame())) {
        view_.message("Could Not Open File To Save " + fileName);
        return false;
    }
    gameSaved_ = true;
    fileName_ = fileName;
    view_.statusChanged();
    return true;
}

} // namespace palisade
