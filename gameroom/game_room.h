#pragma once

#include "engine/attack_lines.h"
#include "engine/check.h"
#include "engine/move.h"
#include "engine/position.h"
#include "engine/targets.h"
#include "engine/verdict.h"
#include "gameroom/cell_layout.h"
#include "gameroom/game_room_view.h"
#include "gameroom/move_history.h"
#include "gameroom/move_reading.h"
#include "gameroom/result_reading.h"
#include "gameroom/saved_game.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace palisade {

enum class MouseButton { Left, Right, Middle };

// The two kings of a side that must give one up, both able to escape alone:
// the room shows the offered one selected, the other off the board.
struct KingChoice {
    int offered = 0;
    int other = 0;

    friend bool operator==(const KingChoice&, const KingChoice&) = default;
};

// The controller of one game: turns clicks on squares into selections and
// moves, keeps the history, and owns everything a game is made of besides the
// pictures.
class GameRoom {
public:
    // Starts on a fresh game without calling the view, which may still be
    // under construction.
    explicit GameRoom(GameRoomView& view);

    // A fresh game in the standard position, shown on the view.
    void setUp();
    // A game that starts from the given position, with an empty history.
    void setUp(const Position& start);

    // Saved games. Loading takes a game already read and checked; saving
    // tells the player when the file could not be written.
    SavedGame savedGame() const;
    void load(const SavedGame& game, const std::string& fileName);
    // A game kept for recovery: opened under no name, and unsaved until saved.
    void loadRecovered(const SavedGame& game);
    bool save(const std::string& fileName);
    const std::string& fileName() const { return fileName_; }

    // The king the side to move keeps, once the view has left the choice for
    // later: one of the two kings of `kingChoice`. Anything else is ignored.
    void answerKingChoice(int square);
    // The choice waiting for an answer. Meanwhile the board takes no clicks and
    // the game stays as it is: no history, command or saving changes it.
    const std::optional<KingChoice>& kingChoice() const { return kingChoice_; }

    // The window became active: redraw, and select a selected square again so
    // that its marks show.
    void activate();

    // A left click on a square: select, deselect, or move to a marked square.
    void clickSquare(int square);

    // A press and a release on the board picture, in twips from its top-left.
    // A press clicks every cell under it and starts a drag; releasing over
    // another cell clicks that one too.
    void pressAt(MouseButton button, double xTwips, double yTwips);
    void releaseAt(double xTwips, double yTwips);
    void dragOver(int square);
    void dragDrop(int square);
    // The button came up where the board could not see it (a question box
    // took the release): the drag ends without a click.
    void abandonDrag() { dragActive_ = false; }
    bool dragActive() const { return dragActive_; }
    int dragOrigin() const { return dragOrigin_; }

    // The history: each drops the selection and shows another recorded position.
    void takeBack();
    void forward();
    void backToFirstMove();
    void forwardToEnd();
    // Takes back or goes forward, one position at a time, until the position
    // after `halfMove` half-moves is on the board.
    void goToHalfMove(int halfMove);

    // The game commands.
    void switchSides();
    void newGame();     // asks first when the game has unsaved moves
    void declareDraw();
    void resign();
    // The time of `side` ran out: the other side wins. Nothing once a result
    // shows or while a king choice waits.
    void flagFall(Side side);
    // `side` gives up, whoever is to move (a player of a game across two
    // computers resigns only for their own side). Told like a resignation.
    void resignSide(Side side);
    void toggleWinOption();

    // Leaving the game room: asks first when the game has unsaved moves.
    bool mayExit();

    // A click on a square the selected piece may not go to always tells the
    // view why; with this set it also keeps the piece selected instead of
    // putting it down.
    void setKeepSelectionOnRefusal(bool keep) { keepSelectionOnRefusal_ = keep; }

    void setCellLayout(const CellLayout& layout) { cells_ = layout; }
    const CellLayout& cells() const { return cells_; }

    const Position& position() const { return position_; }
    const MoveHistory& history() const { return history_; }
    int mark(int square) const { return marks_[square]; }
    bool isTarget(int square) const { return marks_[square] >= kTargetMark; }
    bool pieceSelected() const { return pieceSelected_; }
    int selectedSquare() const { return selectedSquare_; }
    bool selectionLocked() const { return selectionLocked_; }
    bool gameSaved() const { return gameSaved_; }
    bool checkShown() const { return checkShown_; }
    bool forwardVisible() const { return history_.canGoForward(); }
    int halfMoves() const { return history_.halfMoves(); }
    // Moves played since this game room was made, over every game in it.
    int movesPlayed() const { return movesPlayed_; }
    // The last move played in this room as it was clicked (its pick and drop
    // in the orientation of that moment) and what completed it.
    const Move& lastPlayed() const { return lastPlayed_; }

    // The move that led to the position on the board, in its orientation.
    std::optional<PlayedMove> lastMove() const;
    // While "Check!" shows: every attack on a king.
    std::vector<Attack> checkAttacks() const;

    // How the game on the board ended; nothing while a side is to move.
    std::optional<GameResult> result() const;
    // The king a side gave up right after half-move `halfMove`, on its square
    // as the board now stands.
    std::optional<GivenUpKing> kingGivenUp(int halfMove) const;
    // What the status line keeps saying while this position is on the board:
    // why the game ended, or which king was given up just now.
    std::string standingNotice() const;
    // Half-move `halfMove` as the move list shows it: its notation, and the
    // king given up after it.
    std::string moveListText(int halfMove) const;

    std::string_view statusText() const { return palisade::statusText(position_.status); }
    std::string moveNumberText() const;
    std::string_view winOptionText() const;
    // The last move played, as the notation writes it.
    const std::string& notation() const { return notation_; }

private:
    void selectSquare(int square);
    void dropSelection();
    std::optional<std::string> refusalOf(int square) const;
    void playMove(int drop);
    MoveExtra promotionChosen();
    bool castleTaken(const Move& move);
    void cleanScreen();

    void judge();
    Lookback lookback() const;
    void kingTrial(const KingTrial& trial);
    void offerKing(int offered, int other);
    void keepKing(int kept, int givenUp);
    void endGame(Status result);

    HistoryEntry snapshot() const;
    void restore(int entry);
    Board seenNow(const HistoryEntry& entry) const;
    void restoreFirst();
    void updateKingTrial();
    void nameLoadedMoves();
    void showRestored();
    void goTo(std::optional<int> k);
    void releaseSelection();

    GameRoomView& view_;
    CellLayout cells_;
    Position position_;
    MoveHistory history_;
    std::array<int, kSquareCount> marks_{};
    bool pieceSelected_ = false;
    int selectedSquare_ = 0;
    bool selectionLocked_ = false;
    bool dragActive_ = false;
    int dragOrigin_ = 0;
    bool gameSaved_ = true;
    bool checkShown_ = false;
    bool keepSelectionOnRefusal_ = false;
    int movesPlayed_ = 0;
    Move lastPlayed_{};
    std::string notation_;
    std::string fileName_;
    // A resignation, a declared draw or a flag fall, which the record cannot tell: kept
    // while the position it ended stays on the board.
    std::optional<EndReason> spokenEnd_;
    std::optional<KingChoice> kingChoice_;
};

} // namespace palisade
