#include "gameroom/game_text_replay.h"

#include "engine/apply.h"
#include "engine/check.h"
#include "engine/orientation.h"
#include "gameroom/notation.h"
#include "gameroom/replay_room.h"

namespace palisade {

namespace {

// A position of the line of play as it stands with the sides not switched.
Position unswitched(Position position)
{
    if (position.sidesSwitched == 0) return position;
    turnHalfBoards(position.squares);
    position.enPassantSquare = turnedSquare(position.enPassantSquare);
    position.sidesSwitched = 0;
    position.upPawn = kWhitePawn;
    position.downPawn = kBlackPawn;
    return position;
}

Position positionOf(const HistoryEntry& entry, int winOption)
{
    Position position;
    position.squares = entry.squares;
    position.castleLost = entry.castleLost;
    position.sidesSwitched = entry.sidesSwitched;
    position.upPawn = entry.sidesSwitched == 0 ? kWhitePawn : kBlackPawn;
    position.downPawn = entry.sidesSwitched == 0 ? kBlackPawn : kWhitePawn;
    position.enPassantSquare = entry.enPassantSquare;
    position.status = entry.status.value_or(Status::WhiteToMove);
    position.loneKingFree = entry.loneKingFree;
    position.winOption = winOption;
    // A file keeps no count of kings standing: it follows from the kings.
    const bool bothPairs = kingsOf(entry.squares, Side::White).count == 2 && kingsOf(entry.squares, Side::Black).count == 2;
    const bool counted = entry.kingsStanding == 1 || entry.kingsStanding == 2;
    position.kingsStanding = counted ? entry.kingsStanding : bothPairs ? 2 : 1;
    return unswitched(position);
}

int kingCount(const Board& squares, Side side) { return kingsOf(squares, side).count; }

// The positions of the line of play, the first to the newest, unswitched.
std::vector<Position> lineOf(const SavedGame& game)
{
    std::vector<Position> line;
    const int last = game.lastHalfMove;
    for (int k = 0; k < last; ++k) line.push_back(positionOf(game.entries[static_cast<std::size_t>(k)], game.position.winOption));
    // The newest position is on the board, unless the player stepped back.
    line.push_back(game.halfMoves == last ? unswitched(game.position)
                                          : positionOf(game.entries[static_cast<std::size_t>(last)], game.position.winOption));
    return line;
}

// A move from `before` that gives `after`, with the king the side then to
// move kept, when it gave one up.
struct FoundMove {
    Move move;
    std::optional<int> keptKing;
};

std::optional<FoundMove> moveBetween(const ReplayRoom& replay, const Board& after)
{
    const Position& before = replay.room().position();
    std::vector<int> picks;
    for (int square = 0; square < kSquareCount; ++square) {
        if (before.squares[square] != after[square]) picks.push_back(square);
    }
    for (const Move& move : replay.movesFrom(picks)) {
        Position played = before;
        apply(played, move);
        int differences = 0;
        int gone = -1;
        for (int square = 0; square < kSquareCount; ++square) {
            if (played.squares[square] == after[square]) continue;
            ++differences;
            gone = square;
        }
        if (differences == 0) return FoundMove{move, std::nullopt};
        // One king of the side now to move given up, the other kept.
        const auto side = sideToMove(played.status);
        if (differences != 1 || !side || played.squares[gone] != codeOf(*side, Kind::King) || after[gone] != kEmpty) continue;
        const KingSquares kings = kingsOf(played.squares, *side);
        if (kings.count != 2) continue;
        return FoundMove{move, kings.square[0] == gone ? kings.square[1] : kings.square[0]};
    }
    return std::nullopt;
}

bool kingGivenUpIn(const std::vector<Position>& line)
{
    for (std::size_t k = 1; k < line.size(); ++k) {
        for (const Side side : {Side::White, Side::Black}) {
            if (kingCount(line[k].squares, side) < kingCount(line[k - 1].squares, side)) return true;
        }
    }
    return false;
}

// The option the game was played under until its last move. It tells only
// when a side is mated with both kings on the board: under "Destroy Both
// Kings!" each king is tried alone and, when neither can escape, the board
// stays as it was and only the selected square, the lower king, tells the
// trial from a plain mate. Once a king is given up the option stays.
int optionOfPlay(const SavedGame& game, const std::vector<Position>& line)
{
    if (kingGivenUpIn(line)) return 1;
    const Status end = line.back().status;
    if (line.size() < 2 || (end != Status::WhiteWins && end != Status::BlackWins)) return game.position.winOption;
    const Side loser = end == Status::WhiteWins ? Side::Black : Side::White;
    const HistoryEntry& before = game.entries[line.size() - 2];
    Board board = line.back().squares;
    if (before.sidesSwitched != 0) turnHalfBoards(board);
    const KingSquares kings = kingsOf(board, loser);
    if (kings.count != 2) return game.position.winOption;
    return game.selectedSquare == kings.square[0] ? 1 : 0;
}

class TextExport {
public:
    TextExport(const SavedGame& game, const GameTextHeader& header)
        : game_(game), line_(lineOf(game)),
          startOption_(optionOfPlay(game, line_)),
          replay_(startOf(line_.front()), startOption_)
    {
        text_.date = header.date;
        text_.white = header.white;
        text_.black = header.black;
        text_.winOption = startOption_;
        text_.start = startOf(line_.front());
    }

    std::variant<GameText, TextError> run()
    {
        for (std::size_t k = 1; k < line_.size(); ++k) {
            if (auto error = playTowards(k)) return *error;
        }
        if (auto error = endAsSaved()) return *error;
        const int last = static_cast<int>(line_.size()) - 1;
        if (!replay_.setWinOption(game_.position.winOption)) return TextError{"The win option of the game cannot be reached."};
        if (game_.position.winOption != startOption_) text_.winOptionChanges.push_back({last, game_.position.winOption});
        if (game_.halfMoves < last) {
            text_.shownHalfMove = game_.halfMoves;
            replay_.room().goToHalfMove(game_.halfMoves);
        }
        noteSelection();
        return text_;
    }

private:
    // The first position, when it is not the standard one.
    static std::optional<Position> startOf(const Position& first)
    {
        Position standard = standardPosition();
        standard.winOption = first.winOption;
        standard.kingTrial = first.kingTrial;
        if (first == standard) return std::nullopt;
        Position start = first;
        // A game over before its first move is written as its loser to move.
        if (first.status == Status::WhiteWins) start.status = Status::BlackToMove;
        if (first.status == Status::BlackWins || first.status == Status::Draw) start.status = Status::WhiteToMove;
        // Played from what the text keeps of it, as a reader of the text will.
        return startOfText(startText(start));
    }

    std::optional<TextError> playTowards(std::size_t k)
    {
        const auto unreadable = [&] {
            return TextError{"Half-move " + std::to_string(k) + " of the game cannot be read as one move."};
        };
        const auto found = moveBetween(replay_, line_[k].squares);
        if (!found) return unreadable();
        TextMove written;
        const ReplayRoom::Played played = replay_.play(found->move, found->keptKing);
        if (played.refusal || replay_.room().position().squares != line_[k].squares) return unreadable();
        written.notation = replay_.room().notation();
        if (played.kingChosen) written.keptKing = squareText(*found->keptKing, 0);
        written.castleDeclined = played.castleDeclined;
        text_.moves.push_back(written);
        return std::nullopt;
    }

    // A piece picked up and not yet moved; the kept king the replay has
    // picked up itself.
    void noteSelection()
    {
        if (game_.pieceSelected != 1) return;
        const int square = game_.position.sidesSwitched == 0 ? game_.selectedSquare : turnedSquare(game_.selectedSquare);
        const GameRoom& room = replay_.room();
        if (room.pieceSelected() && room.selectedSquare() == square) return;
        text_.selected = squareText(square, 0);
    }

    // How the saved game ended: by its moves, or a resignation or a draw declared.
    std::optional<TextError> endAsSaved()
    {
        const Status end = line_.back().status;
        const auto reached = replay_.room().result();
        if (sideToMove(end)) {
            if (reached) return TextError{"The moves of the game end it, but the game goes on."};
            return std::nullopt;
        }
        text_.result = end;
        if (reached) {
            if (reached->status != end) return TextError{"The moves of the game end it otherwise than it ended."};
            text_.termination = reached->reason;
            return std::nullopt;
        }
        text_.termination = end == Status::Draw ? EndReason::DrawDeclared : EndReason::Resignation;
        const auto side = sideToMove(replay_.room().position().status);
        if (end != Status::Draw && (!side || end != winFor(opponent(*side)))) {
            return TextError{"The side that lost the game was not the one to move."};
        }
        return std::nullopt;
    }

    const SavedGame& game_;
    std::vector<Position> line_;
    int startOption_;
    ReplayRoom replay_;
    GameText text_;
};

} // namespace

std::variant<GameText, TextError> gameTextOf(const SavedGame& game, const GameTextHeader& header)
{
    if (game.lastHalfMove < 0 || game.entries.size() != static_cast<std::size_t>(game.lastHalfMove) + 1
        || game.halfMoves < 0 || game.halfMoves > game.lastHalfMove) {
        return TextError{"The game's record is not whole."};
    }
    return TextExport(game, header).run();
}

} // namespace palisade
