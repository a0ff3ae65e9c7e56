// Random games played through the game room, Switch Sides and all, written as
// text and played back from the text: the game they give is saved in the same
// bytes as the same game played again without its Switch Sides.

#include "dice.h"
#include "engine/apply.h"
#include "engine/orientation.h"
#include "engine/remember.h"
#include "engine/targets.h"
#include "gameroom/game_room.h"
#include "gameroom/game_text_file.h"
#include "random_starts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <string>
#include <vector>

namespace palisade {
namespace {

using trace::Dice;

// One thing the player did, with the sides not switched.
struct Action {
    enum class Kind { Move, SwitchSides, WinOption, Resign, DeclareDraw, GoTo, PickUp };
    Kind kind = Kind::Move;
    int pick = 0;
    int drop = 0;
    std::vector<bool> answers; // to the questions of the move, in order
    int keptKing = -1;         // the king kept when the room asked
    int halfMove = 0;          // GoTo
    int square = 0;            // PickUp
};

Action actionOf(Action::Kind kind)
{
    Action action;
    action.kind = kind;
    return action;
}

// Answers questions from a list, or at random while it records them; a king
// choice is always left for later.
class ScriptedView : public GameRoomView {
public:
    explicit ScriptedView(Dice* dice) : dice_(dice) {}
    void boardChanged() override {}
    void statusChanged() override {}
    void message(std::string_view) override {}
    void beep() override {}
    std::optional<bool> keepOfferedKing() override { return std::nullopt; }
    bool ask(Question) override
    {
        bool yes = false;
        if (dice_) {
            yes = dice_->chance(50);
            given.push_back(yes);
        } else if (!script.empty()) {
            yes = script.front();
            script.pop_front();
        }
        return yes;
    }

    std::vector<bool> given;
    std::deque<bool> script;

private:
    Dice* dice_;
};

struct Counts {
    int games = 0;
    int halfMoves = 0;
    int switches = 0;
    int optionChanges = 0;
    int kingChoices = 0;
    int kingsGivenUp = 0;
    int promotions = 0;
    int castles = 0;
    int castlesDeclined = 0;
    int results = 0;
    int pickedUp = 0;
};

int unswitched(const GameRoom& room, int square)
{
    return room.position().sidesSwitched == 0 ? square : turnedSquare(square);
}

int kingCount(const Board& squares)
{
    int kings = 0;
    for (const int code : squares) kings += isKing(code) ? 1 : 0;
    return kings;
}

// The enemy king nearest to `square`, in steps along any coordinate.
int nearestEnemyKing(const Position& position, int square, Side side)
{
    int nearest = 9;
    const Coords at = coordsOf(square);
    for (int king = 0; king < kSquareCount; ++king) {
        if (position.squares[king] != codeOf(opponent(side), Kind::King)) continue;
        const Coords k = coordsOf(king);
        nearest = std::min(nearest, std::max({std::abs(k.boards - at.boards), std::abs(k.rw - at.rw), std::abs(k.colmn - at.colmn)}));
    }
    return nearest;
}

class RoundTrip {
public:
    explicit RoundTrip(unsigned seed) : dice_(seed * 2246822519u + 7u), view_(&dice_), room_(view_) {}

    // Plays one game; the actions as they would be made without Switch Sides.
    void play(Counts& counts)
    {
        const trace::Start start = trace::randomStart(dice_);
        start_ = start.position;
        // A start seen from the other side is the unswitched one, switched.
        const bool switched = start_.sidesSwitched == 1;
        if (switched) {
            turnHalfBoards(start_.squares);
            start_.enPassantSquare = turnedSquare(start_.enPassantSquare);
            start_.sidesSwitched = 0;
            std::swap(start_.upPawn, start_.downPawn);
        }
        room_.setUp(start_);
        if (switched) {
            room_.switchSides();
            actions_.push_back(actionOf(Action::Kind::SwitchSides));
        }
        const int budget = dice_.chance(50) ? 10 + dice_.below(60) : 10 + dice_.below(390);
        for (int step = 0; step < budget && sideToMove(room_.position().status); ++step) {
            const int roll = dice_.below(100);
            if (roll < 4 && !room_.kingChoice()) {
                room_.switchSides();
                actions_.push_back(actionOf(Action::Kind::SwitchSides));
                ++counts.switches;
            } else if (roll < 7) {
                room_.toggleWinOption();
                actions_.push_back(actionOf(Action::Kind::WinOption));
                ++counts.optionChanges;
            } else {
                playMove(counts);
            }
        }
        end(counts);
    }

    // The same game in a fresh room, the sides never switched.
    std::string replayedBytes() const
    {
        ScriptedView view(nullptr);
        GameRoom room(view);
        room.setUp(start_);
        for (const Action& action : actions_) {
            switch (action.kind) {
            case Action::Kind::Move:
                view.script.assign(action.answers.begin(), action.answers.end());
                room.clickSquare(action.pick);
                room.clickSquare(action.drop);
                if (action.keptKing >= 0) room.answerKingChoice(action.keptKing);
                break;
            case Action::Kind::SwitchSides: break;
            case Action::Kind::WinOption: room.toggleWinOption(); break;
            case Action::Kind::Resign: room.resign(); break;
            case Action::Kind::DeclareDraw: room.declareDraw(); break;
            case Action::Kind::GoTo: room.goToHalfMove(action.halfMove); break;
            case Action::Kind::PickUp: room.clickSquare(action.square); break;
            }
        }
        return encodeSavedGame(room.savedGame());
    }

    const GameRoom& room() const { return room_; }

private:
    void playMove(Counts& counts)
    {
        const Position& position = room_.position();
        const Side side = *sideToMove(position.status);
        std::vector<Move> moves;
        std::vector<int> weights;
        for (int pick = 0; pick < kSquareCount; ++pick) {
            if (!belongsTo(position.squares[pick], side)) continue;
            if (room_.selectionLocked() && pick != room_.selectedSquare()) continue;
            for (const Target& target : generateTargets(position, pick)) {
                moves.push_back({static_cast<std::uint8_t>(pick), static_cast<std::uint8_t>(target.square)});
                // Captures, castles, pawns and the enemy kings draw the hand.
                int weight = 2;
                if (position.squares[target.square] != kEmpty) weight += 6;
                if (target.mark != kTargetMark) weight += 12;
                if (isPawn(position.squares[pick])) weight += 3;
                if (promotes(position, target.square, pick)) weight += 20;
                weight += std::max(0, 4 - nearestEnemyKing(position, target.square, side)) * 4;
                weights.push_back(weight);
            }
        }
        if (moves.empty()) return;
        const Move move = moves[dice_.weighted(weights)];
        view_.given.clear();
        const int mark = [&] {
            if (!room_.pieceSelected() || room_.selectedSquare() != move.pick) room_.clickSquare(move.pick);
            return room_.mark(move.drop);
        }();
        const bool promoting = promotes(position, move.drop, move.pick);
        const int kingsBefore = kingCount(position.squares);
        Action action = actionOf(Action::Kind::Move);
        action.pick = unswitched(room_, move.pick);
        action.drop = unswitched(room_, move.drop);
        room_.clickSquare(move.drop);
        action.answers = view_.given;
        if (const auto choice = room_.kingChoice()) {
            const int kept = dice_.chance(50) ? choice->offered : choice->other;
            action.keptKing = unswitched(room_, kept);
            room_.answerKingChoice(kept);
            ++counts.kingChoices;
        }
        counts.kingsGivenUp += kingsBefore - kingCount(room_.position().squares);
        counts.promotions += promoting ? 1 : 0;
        if (mark == kKingsideCastleMark || mark == kQueensideCastleMark) {
            const bool declined = mark == kKingsideCastleMark && !action.answers.empty() && !action.answers.front();
            ++(declined ? counts.castlesDeclined : counts.castles);
        }
        ++counts.halfMoves;
        actions_.push_back(action);
    }

    void end(Counts& counts)
    {
        const int roll = dice_.below(100);
        if (room_.kingChoice()) return;
        if (roll < 15) {
            room_.resign();
            actions_.push_back(actionOf(Action::Kind::Resign));
        } else if (roll < 25) {
            room_.declareDraw();
            actions_.push_back(actionOf(Action::Kind::DeclareDraw));
        } else if (roll < 30) {
            room_.toggleWinOption();
            actions_.push_back(actionOf(Action::Kind::WinOption));
        }
        if (!sideToMove(room_.position().status)) ++counts.results;
        if (dice_.chance(10)) {
            Action goTo = actionOf(Action::Kind::GoTo);
            goTo.halfMove = dice_.below(room_.history().lastHalfMove() + 1);
            room_.goToHalfMove(goTo.halfMove);
            actions_.push_back(goTo);
        }
        if (dice_.chance(15)) pickUp(counts);
    }

    // A piece of the side to move picked up and left standing.
    void pickUp(Counts& counts)
    {
        const auto side = sideToMove(room_.position().status);
        if (!side || room_.pieceSelected()) return;
        std::vector<int> pieces;
        for (int square = 0; square < kSquareCount; ++square) {
            if (belongsTo(room_.position().squares[square], *side)) pieces.push_back(square);
        }
        if (pieces.empty()) return;
        const int square = pieces[dice_.below(static_cast<int>(pieces.size()))];
        room_.clickSquare(square);
        Action pick = actionOf(Action::Kind::PickUp);
        pick.square = unswitched(room_, square);
        actions_.push_back(pick);
        ++counts.pickedUp;
    }

    Dice dice_;
    ScriptedView view_;
    GameRoom room_;
    Position start_;
    std::vector<Action> actions_;
};

int gameCount()
{
    const char* count = std::getenv("PALISADE_TEXT_GAMES");
    return count ? std::atoi(count) : 1000;
}

TEST(GameTextRoundTrip, RandomGamesComeBackInTheSameBytes)
{
    Counts counts;
    for (int game = 0; game < gameCount(); ++game) {
        RoundTrip trip(static_cast<unsigned>(game));
        trip.play(counts);
        ++counts.games;
        const auto text = gameTextOf(trip.room().savedGame(), {});
        ASSERT_TRUE(std::holds_alternative<GameText>(text))
            << "game " << game << ": " << std::get<TextError>(text).reason;
        const std::string written = writeGameText(std::get<GameText>(text));
        const auto imported = importGameText(written);
        ASSERT_TRUE(std::holds_alternative<SavedGame>(imported))
            << "game " << game << ": " << std::get<TextError>(imported).reason << "\n" << written;
        ASSERT_EQ(encodeSavedGame(std::get<SavedGame>(imported)), trip.replayedBytes())
            << "game " << game << "\n" << written;
    }
    std::cout << counts.games << " games, " << counts.halfMoves << " half-moves, " << counts.switches
              << " switches, " << counts.optionChanges << " win option changes, " << counts.kingChoices
              << " king choices, " << counts.kingsGivenUp << " kings given up, " << counts.promotions
              << " promotions, " << counts.castles << " castles, " << counts.castlesDeclined
              << " castles declined, " << counts.results << " results, " << counts.pickedUp << " pieces left picked up\n";
    if (gameCount() >= 1000) {
        EXPECT_GT(counts.kingChoices, 0);
        EXPECT_GT(counts.kingsGivenUp, counts.kingChoices);
        EXPECT_GT(counts.promotions, 0);
        EXPECT_GT(counts.castles, 0);
        EXPECT_GT(counts.castlesDeclined, 0);
        EXPECT_GT(counts.switches, 0);
    }
}

} // namespace
} // namespace palisade
