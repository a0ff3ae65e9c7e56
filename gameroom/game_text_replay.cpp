#include "gameroom/game_text_replay.h"

#include "engine/check.h"
#include "gameroom/notation.h"
#include "gameroom/replay_room.h"

#include <algorithm>

namespace palisade {

namespace {

std::string moveLabel(std::size_t k, const TextMove& move)
{
    return "Move " + std::to_string(k / 2 + 1) + " (" + move.notation + ")";
}

// The square a move written "2b2 - ..." starts from; nothing for a castle.
std::optional<int> namedPick(const std::string& notation)
{
    if (notation.size() <= 3 || notation[3] != ' ') return std::nullopt;
    return squareOfText(std::string_view(notation).substr(0, 3));
}

// The squares a move written as `notation` may start from: the square it
// names, or for a castle every king of the side to move.
std::vector<int> picksOf(const Position& position, const std::string& notation)
{
    if (const auto square = namedPick(notation)) return {*square};
    const auto side = sideToMove(position.status);
    if (!side) return {};
    const KingSquares kings = kingsOf(position.squares, *side);
    return std::vector<int>(kings.square.begin(), kings.square.begin() + kings.count);
}

class TextReplay {
public:
    explicit TextReplay(const GameText& text) : text_(text), replay_(text.start, text.winOption) {}

    std::variant<SavedGame, TextError> run()
    {
        for (std::size_t k = 0; k < text_.moves.size(); ++k) {
            if (auto error = changeWinOption(static_cast<int>(k))) return *error;
            if (auto error = playMove(k)) return *error;
        }
        if (auto error = changeWinOption(static_cast<int>(text_.moves.size()))) return *error;
        for (const WinOptionChange& change : text_.winOptionChanges) {
            if (change.halfMove > static_cast<int>(text_.moves.size())) {
                return TextError{"The win option changes after half-move " + std::to_string(change.halfMove)
                                 + ", but the game has only " + std::to_string(text_.moves.size()) + "."};
            }
        }
        if (auto error = endAsWritten()) return *error;
        if (text_.shownHalfMove) {
            if (*text_.shownHalfMove > room().history().lastHalfMove()) {
                return TextError{"The tag AtHalfMove names a half-move the game does not reach."};
            }
            room().goToHalfMove(*text_.shownHalfMove);
        }
        if (auto error = pickUpSelected()) return *error;
        return room().savedGame();
    }

private:
    GameRoom& room() { return replay_.room(); }

    std::optional<TextError> changeWinOption(int halfMove)
    {
        for (const WinOptionChange& change : text_.winOptionChanges) {
            if (change.halfMove != halfMove || replay_.setWinOption(change.winOption)) continue;
            return TextError{"The win option cannot become " + std::string(winOptionName(change.winOption))
                             + " after half-move " + std::to_string(halfMove) + "."};
        }
        return std::nullopt;
    }

    std::optional<TextError> playMove(std::size_t k)
    {
        const TextMove& written = text_.moves[k];
        const auto refused = [&](const std::string& why) {
            return TextError{moveLabel(k, written) + " cannot be played: " + why + "."};
        };
        if (!sideToMove(room().position().status)) return refused("the game has already ended");
        const std::vector<Move> moves = replay_.movesFrom(picksOf(room().position(), written.notation));
        const auto found = std::find_if(moves.begin(), moves.end(), [&](const Move& move) {
            return notationOf(room().position(), move) == written.notation;
        });
        if (found == moves.end()) return refused(whyNoMove(written.notation));
        std::optional<int> kept;
        if (written.keptKing) kept = squareOfText(*written.keptKing);
        const ReplayRoom::Played played = replay_.play(*found, kept);
        if (played.refusal) return refused(*played.refusal);
        if (written.castleDeclined && !played.castleDeclined) return refused("the king had no castle to decline");
        if (written.keptKing && !played.kingChosen) return refused("no king had to be chosen after it");
        return std::nullopt;
    }

    // A move written from a square names the piece it moves.
    std::string whyNoMove(const std::string& notation)
    {
        const auto pick = namedPick(notation);
        const auto side = sideToMove(room().position().status);
        if (pick && side && !belongsTo(room().position().squares[*pick], *side)) {
            return "no piece of the side to move stands on " + notation.substr(0, 3);
        }
        return "no piece of the side to move can make it";
    }

    std::optional<TextError> pickUpSelected()
    {
        if (!text_.selected) return std::nullopt;
        const int square = *squareOfText(*text_.selected);
        if (!room().pieceSelected() || room().selectedSquare() != square) room().clickSquare(square);
        if (room().pieceSelected() && room().selectedSquare() == square) return std::nullopt;
        return TextError{"The tag Selected names no piece the side to move can pick up: " + *text_.selected + "."};
    }

    // The game ends as the text says: by its moves, or by a resignation or a
    // draw declared after them.
    std::optional<TextError> endAsWritten()
    {
        const auto reached = room().result();
        if (!text_.result) {
            if (!reached) return std::nullopt;
            return TextError{"The moves end the game (" + std::string(room().statusText()) + "), but the text says it goes on."};
        }
        if (reached) {
            const bool sameReason = !text_.termination || !reached->reason || text_.termination == reached->reason;
            if (reached->status == *text_.result && sameReason) return std::nullopt;
            return TextError{"The moves end the game otherwise than the text says: " + std::string(room().statusText())};
        }
        const auto side = sideToMove(room().position().status);
        if (*text_.result == Status::Draw && text_.termination.value_or(EndReason::DrawDeclared) == EndReason::DrawDeclared) {
            room().declareDraw();
            return std::nullopt;
        }
        const bool resigns = side && *text_.result == winFor(opponent(*side));
        if (resigns && text_.termination.value_or(EndReason::Resignation) == EndReason::Resignation) {
            room().resign();
            return std::nullopt;
        }
        return TextError{"The moves do not end the game as the text says."};
    }

    const GameText& text_;
    ReplayRoom replay_;
};

} // namespace

std::variant<SavedGame, TextError> replayGameText(const GameText& text)
{
    return TextReplay(text).run();
}

} // namespace palisade
