#pragma once

#include "dice.h"
#include "engine/orientation.h"
#include "foresight.h"
#include "gameroom/game_file.h"
#include "random_starts.h"
#include "room_trace.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace palisade::trace {

// The rare turns a game can take; each counts the games that took it.
enum Branch {
    kKeptFirstKing,  // both kings could escape alone: "Save this king?" answered Yes
    kKeptSecondKing, // the same answered No
    kOneKingEscapes, // only one king could escape: the other given up unasked
    kNoKingEscapes,  // neither could: mate with both kings on the board
    kQueen,
    kKnight,
    kRook,
    kBishop,
    kCastleDeclined, // "Castle?" answered No
    kRepetition,     // the draw by the same position after 4 and 8 half-moves
    kLoneKingFreed,  // a lone king without a move freed to move
    kLoneKingDraw,   // not even the freed lone king can move
    kBranchCount
};

inline constexpr std::array<std::string_view, kBranchCount> kBranchNames = {
    "two kings, Save this king? Yes",
    "two kings, Save this king? No",
    "two kings, only one can escape",
    "two kings, neither can escape",
    "promotion to queen",
    "promotion to knight",
    "promotion to rook",
    "promotion to bishop",
    "castle declined",
    "repetition draw",
    "lone king freed",
    "lone king stalemate draw",
};

// One seeded game played through the game room by clicks, presses, commands,
// answers and saved-game round trips chosen at random, written down as the
// player saw it.
class RandomGame {
public:
    RandomGame(unsigned number, std::string dir, std::ostream* echo)
        : dice_(number * 2654435761u + 12345u), trace_(echo), dir_(std::move(dir)),
          marathon_(number % 1000 == 999)
    {}
    // The view answers through this game: it stays where it was made.
    RandomGame(const RandomGame&) = delete;
    RandomGame& operator=(const RandomGame&) = delete;

    // Plays the game to its end; returns the fingerprint of all it showed.
    std::string play()
    {
        const Start start = randomStart(dice_);
        opening_ = marathon_ ? Opening::Standard : start.opening;
        hunter_ = start.hunter;
        trace_.line(std::string("game ") + std::string(openingName(opening_)));
        openRoom();
        act("set up", [&] {
            if (opening_ == Opening::Standard) {
                room_->setUp();
            } else {
                room_->setUp(start.position);
            }
        });
        const int budget = marathon_                       ? 1300
                           : opening_ == Opening::Standard ? 70 + dice_.below(90)
                                                           : 40 + dice_.below(80);
        for (int step = 0; step < budget; ++step) {
            if (sideToMove(room_->position().status)) {
                playOn();
            } else if (!lookBack()) {
                break;
            }
        }
        return trace_.digest();
    }

    const std::array<bool, kBranchCount>& reached() const { return reached_; }

private:
    enum class Input { Clicks, CellDrag, PictureDrag, ClickThenPress };

    // A piece going out and back, so that positions repeat.
    struct Cycle {
        int from = -1;
        int to = -1;
        bool out = true;
    };

    // A fresh game room on the screen, with the player's preferences.
    void openRoom()
    {
        room_.reset();
        view_ = std::make_unique<TraceView>(
            trace_, [this](std::string_view q) { return answer(q); }, dir_);
        room_ = std::make_unique<GameRoom>(*view_);
        view_->watch(*room_);
        room_->setKeepSelectionOnRefusal(keepSelection_);
        room_->setCellLayout(CellLayout(twipsPerPixel_, twipsPerPixel_));
    }

    // One input or command: written down, carried out, and followed by the screen.
    template <typename Action> void act(const std::string& what, Action action)
    {
        trace_.line("> " + what);
        asked_.clear();
        const GameRoom* room = room_.get();
        const int moves = room_->movesPlayed();
        const int loneKingFree = room_->position().loneKingFree;
        action();
        view_->writeScreen();
        if (room == room_.get() && room_->movesPlayed() > moves) noteBranches(loneKingFree);
    }

    bool answer(std::string_view question)
    {
        const bool yes = dice_.chance(question == "Exit Game without saving?" ? 25 : 50);
        asked_.emplace_back(question, yes);
        return yes;
    }

    bool asked(std::string_view question, bool yes) const
    {
        return std::find(asked_.begin(), asked_.end(), std::pair<std::string, bool>(question, yes))
               != asked_.end();
    }

    void noteBranches(int loneKingFreeBefore)
    {
        const bool choseKing = asked("Save this king?", true) || asked("Save this king?", false);
        reached_[kKeptFirstKing] |= asked("Save this king?", true);
        reached_[kKeptSecondKing] |= asked("Save this king?", false);
        reached_[kOneKingEscapes] |=
            !choseKing && room_->kingGivenUp(room_->halfMoves()).has_value();
        reached_[kQueen] |= asked("Queen?", true);
        reached_[kKnight] |= asked("Knight?", true);
        reached_[kRook] |= asked("Rook?", true);
        reached_[kBishop] |= asked("Rook?", false);
        reached_[kCastleDeclined] |= asked("Castle?", false);
        reached_[kLoneKingFreed] |= loneKingFreeBefore == 0 && room_->position().loneKingFree == 1;
        const auto result = room_->result();
        if (!result || !result->reason) return;
        reached_[kRepetition] |= *result->reason == EndReason::Repetition;
        reached_[kLoneKingDraw] |= *result->reason == EndReason::LoneKing;
        const Side loser = result->status == Status::WhiteWins ? Side::Black : Side::White;
        reached_[kNoKingEscapes] |= *result->reason == EndReason::Checkmate
                                    && room_->position().winOption == 1 && kingCount(loser) == 2;
    }

    int kingCount(Side side) const
    {
        const Board& squares = room_->position().squares;
        return static_cast<int>(
            std::count(squares.begin(), squares.end(), codeOf(side, Kind::King)));
    }

    // While a side is to move: mostly a move, now and then anything else the
    // player can do.
    void playOn()
    {
        static const std::vector<int> kWeights = {800, 30, 30, 20, 5,  10, 10, 30, 20,
                                                  2,   2,  20, 1,  10, 5,  2,  8,  4};
        std::vector<int> weights = kWeights;
        if (marathon_)
            weights[2] = weights[4] = weights[6] = weights[9] = weights[10] = weights[15] = 0;
        switch (dice_.weighted(weights)) {
        case 0: playMove(); break;
        case 1: misclick(); break;
        case 2: takeBack(); break;
        case 3: act("forward", [&] { room_->forward(); }); break;
        case 4: jump("back to first move", [&] { room_->backToFirstMove(); }); break;
        case 5: jump("forward to end", [&] { room_->forwardToEnd(); }); break;
        case 6: goToHalfMove(); break;
        case 7: switchSides(); break;
        case 8: act("win option", [&] { room_->toggleWinOption(); }); break;
        case 9: act("declare draw", [&] { room_->declareDraw(); }); break;
        case 10: act("resign", [&] { room_->resign(); }); break;
        case 11: roundTripBytes(); break;
        case 12: roundTripFile(); break;
        case 13: act("activate", [&] { room_->activate(); }); break;
        case 14: mayExit(); break;
        case 15: jump("new", [&] { room_->newGame(); }); break;
        case 16: keepSelectionOnRefusal(); break;
        case 17: changeCells(); break;
        }
    }

    // Once a result shows: often the game is over; else the player looks
    // back, saves, or tries the board and the commands.
    bool lookBack()
    {
        static const std::vector<int> kWeights = {60, 50, 10, 5, 10, 15, 1, 10, 3, 3, 5};
        switch (dice_.weighted(kWeights)) {
        case 0: return false;
        case 1: takeBack(); break;
        case 2: goToHalfMove(); break;
        case 3: jump("back to first move", [&] { room_->backToFirstMove(); }); break;
        case 4: switchSides(); break;
        case 5: roundTripBytes(); break;
        case 6: roundTripFile(); break;
        case 7: misclick(); break;
        case 8: act("declare draw", [&] { room_->declareDraw(); }); break;
        case 9: act("resign", [&] { room_->resign(); }); break;
        case 10: act("win option", [&] { room_->toggleWinOption(); }); break;
        }
        return true;
    }

    // Steps through the record leave any out-and-back behind.
    template <typename Action> void jump(const std::string& what, Action action)
    {
        act(what, action);
        cycles_ = {};
    }
    void takeBack()
    {
        jump("take back", [&] { room_->takeBack(); });
    }
    void goToHalfMove()
    {
        const int k = dice_.below(room_->history().lastHalfMove() + 3) - 1;
        jump("go to half-move " + std::to_string(k), [&] { room_->goToHalfMove(k); });
    }

    void switchSides()
    {
        act("switch sides", [&] { room_->switchSides(); });
        for (Cycle& cycle : cycles_) {
            if (cycle.from >= 0)
                cycle = {turnedSquare(cycle.from), turnedSquare(cycle.to), cycle.out};
        }
    }

    void mayExit()
    {
        act("exit", [&] { trace_.line(room_->mayExit() ? "may exit" : "stays"); });
    }

    void keepSelectionOnRefusal()
    {
        keepSelection_ = !keepSelection_;
        act(std::string("keep selection on refusal ") + (keepSelection_ ? "on" : "off"),
            [&] { room_->setKeepSelectionOnRefusal(keepSelection_); });
    }

    // Click cells for another screen: narrower cells overlap.
    void changeCells()
    {
        static constexpr int kTwipsPerPixel[] = {15, 12, 10, 20};
        twipsPerPixel_ = kTwipsPerPixel[dice_.below(4)];
        act("cells " + std::to_string(twipsPerPixel_),
            [&] { room_->setCellLayout(CellLayout(twipsPerPixel_, twipsPerPixel_)); });
    }

    // A click or a press anywhere, maybe on nothing.
    void misclick()
    {
        const int kind = dice_.below(10);
        if (kind < 6) {
            const int square = dice_.below(kSquareCount);
            act("click " + std::to_string(square), [&] { room_->clickSquare(square); });
            return;
        }
        const int x = dice_.below(12000), y = dice_.below(12000);
        const MouseButton button = kind < 9 ? MouseButton::Left : MouseButton::Right;
        act("press " + std::to_string(x) + " " + std::to_string(y) + (kind < 9 ? "" : " right"),
            [&] {
                if (room_->dragActive()) room_->abandonDrag();
                room_->pressAt(button, x, y);
            });
        const int toX = dice_.below(12000), toY = dice_.below(12000);
        act("release " + std::to_string(toX) + " " + std::to_string(toY),
            [&] { room_->releaseAt(toX, toY); });
    }

    // --- Saved games --------------------------------------------------------

    // Saved to bytes, read back into a fresh game room, played on there.
    void roundTripBytes()
    {
        std::string bytes;
        act("save to bytes", [&] {
            bytes = encodeSavedGame(room_->savedGame());
            trace_.line("bytes " + escaped(bytes));
        });
        reopen(decodeSavedGame(bytes), dice_.chance(30) ? "" : "game.brd");
    }

    // Saved with the room's own writer, read from the file into a fresh room;
    // now and then into a folder that is not there.
    void roundTripFile()
    {
        const std::string path = dir_ + (dice_.chance(10) ? "/missing/game.brd" : "/game.brd");
        bool saved = false;
        act("save as " + view_->shown(path), [&] {
            saved = room_->save(path);
            if (!saved) return;
            std::ifstream in(path, std::ios::binary);
            trace_.line("file " + escaped(std::string(std::istreambuf_iterator<char>(in), {})));
        });
        if (saved) reopen(readSavedGame(path), path);
    }

    void reopen(const std::variant<SavedGame, FileError>& read, const std::string& fileName)
    {
        if (const auto* error = std::get_if<FileError>(&read)) {
            trace_.line("refused file: " + view_->shown(error->reason));
            return;
        }
        const SavedGame& game = std::get<SavedGame>(read);
        openRoom();
        cycles_ = {};
        if (fileName.empty()) {
            act("open recovered", [&] { room_->loadRecovered(game); });
        } else {
            act("open " + view_->shown(fileName), [&] { room_->load(game, fileName); });
        }
    }

    // --- Moves --------------------------------------------------------------

    void playMove()
    {
        const Side side = *sideToMove(room_->position().status);
        if (room_->pieceSelected() && room_->selectionLocked()) {
            // The king kept after the two-king choice must move.
            const std::vector<int> targets = targetsShown();
            if (fumble(20) || targets.empty()) return;
            drop(room_->selectedSquare(), targets[dice_.below(static_cast<int>(targets.size()))],
                 Input::Clicks);
            return;
        }
        if (repeatLeft_ == 0 && dice_.chance(opening_ == Opening::Standard ? 6 : 4))
            repeatLeft_ = 10 + dice_.below(8);
        if (repeatLeft_ > 0) {
            --repeatLeft_;
            if (playCycle(side)) return;
        }
        if (opening_ == Opening::NearEnd && side == hunter_ && playForeseen(1000)) return;
        if (hunting(side) && dice_.chance(20) && playForeseen(30)) return;
        std::vector<int> pieces, weights;
        for (int square = 0; square < kSquareCount; ++square) {
            if (!belongsTo(room_->position().squares[square], side)) continue;
            pieces.push_back(square);
            weights.push_back(pieceWeight(square, side));
        }
        for (int tries = 0; tries < 6 && !pieces.empty(); ++tries) {
            const std::size_t i = dice_.weighted(weights);
            const int from = pieces[i];
            pieces.erase(pieces.begin() + static_cast<std::ptrdiff_t>(i));
            weights.erase(weights.begin() + static_cast<std::ptrdiff_t>(i));
            const Input input = chooseInput();
            const bool picked = pick(from, input);
            // A piece without a target is refused everywhere, each square for its reason.
            if (input == Input::Clicks && room_->pieceSelected() && fumble(picked ? 8 : 15)) return;
            if (!picked) continue;
            const std::vector<int> targets = targetsShown();
            std::vector<int> targetWeights;
            for (const int to : targets) targetWeights.push_back(targetWeight(from, to, side));
            drop(from, targets[dice_.weighted(targetWeights)], input);
            return;
        }
    }

    // Now and then a click misses the marks, mostly on a line from the piece:
    // the room says why the piece may not go there, or puts it down, or picks
    // another.
    bool fumble(int percent)
    {
        if (!dice_.chance(percent)) return false;
        const bool onALine = dice_.chance(70);
        const std::vector<int> lines = linesFrom(room_->selectedSquare());
        std::vector<int> unmarked;
        for (int square = 0; square < kSquareCount; ++square) {
            if (room_->isTarget(square)) continue;
            if (onALine && std::find(lines.begin(), lines.end(), square) == lines.end()) continue;
            unmarked.push_back(square);
        }
        if (unmarked.empty()) return false;
        const int square = unmarked[dice_.below(static_cast<int>(unmarked.size()))];
        act("click " + std::to_string(square), [&] { room_->clickSquare(square); });
        return true;
    }

    // A hunter looks ahead at some of its moves. Of those that lead somewhere
    // it plays one of the rarest kind, or, often, passes over a common kind
    // to keep the hunt on for a rarer end.
    bool playForeseen(int looks)
    {
        std::vector<std::pair<int, int>> moves = foresight_.moves(room_->position());
        std::array<std::vector<std::pair<int, int>>, 7> byOutcome;
        for (int n = 0; n < looks && !moves.empty(); ++n) {
            const auto at = moves.begin() + dice_.below(static_cast<int>(moves.size()));
            const auto [from, to] = *at;
            moves.erase(at);
            byOutcome[static_cast<std::size_t>(foresight_.after(from, to))].emplace_back(from, to);
        }
        // Percent of the time a kind is taken, from Check to LoneKingDraw.
        static constexpr std::array<int, 7> kTaken = {0, 60, 50, 25, 80, 100, 100};
        for (std::size_t kind = byOutcome.size(); kind-- > 1;) {
            const auto& found = byOutcome[kind];
            if (found.empty() || !dice_.chance(kTaken[kind])) continue;
            const auto [from, to] = found[dice_.below(static_cast<int>(found.size()))];
            const Input input = chooseInput();
            if (!pick(from, input)) return false;
            drop(from, to, input);
            return true;
        }
        return false;
    }

    // Each side takes a piece out and back; the 8th half-move repeats the 4th and the start.
    bool playCycle(Side side)
    {
        Cycle& cycle = cycles_[side == Side::White ? 0 : 1];
        if (cycle.from < 0) return startCycle(side, cycle);
        const int from = cycle.out ? cycle.from : cycle.to;
        const int to = cycle.out ? cycle.to : cycle.from;
        if (!belongsTo(room_->position().squares[from], side) || !pick(from, Input::Clicks)
            || room_->mark(to) != kTargetMark) {
            cycle = {};
            return false;
        }
        cycle.out = !cycle.out;
        drop(from, to, Input::Clicks);
        return true;
    }

    bool startCycle(Side side, Cycle& cycle)
    {
        for (int tries = 0; tries < 3; ++tries) {
            const int from = dice_.below(kSquareCount);
            const int code = room_->position().squares[from];
            if (!belongsTo(code, side) || kindOf(code) == Kind::Pawn || !pick(from, Input::Clicks))
                continue;
            std::vector<int> quiet;
            for (const int to : targetsShown()) {
                if (room_->mark(to) == kTargetMark && room_->position().squares[to] == kEmpty)
                    quiet.push_back(to);
            }
            if (quiet.empty()) continue;
            const int to = quiet[dice_.below(static_cast<int>(quiet.size()))];
            cycle = {from, to, false};
            drop(from, to, Input::Clicks);
            return true;
        }
        return false;
    }

    Input chooseInput()
    {
        const int roll = dice_.below(10);
        return roll < 6   ? Input::Clicks
               : roll < 8 ? Input::CellDrag
               : roll < 9 ? Input::PictureDrag
                          : Input::ClickThenPress;
    }

    std::vector<int> targetsShown() const
    {
        std::vector<int> targets;
        for (int square = 0; square < kSquareCount; ++square) {
            if (room_->isTarget(square)) targets.push_back(square);
        }
        return targets;
    }

    // Selects the piece on `from`; true when it shows a target.
    bool pick(int from, Input input)
    {
        const bool already = room_->pieceSelected() && room_->selectedSquare() == from;
        if (input == Input::CellDrag || input == Input::PictureDrag) {
            press(from, input);
        } else if (!already) {
            act("click " + std::to_string(from), [&] { room_->clickSquare(from); });
        }
        const bool ready =
            room_->pieceSelected() && room_->selectedSquare() == from && !targetsShown().empty();
        if (!ready && room_->dragActive()) release(from, input);
        return ready;
    }

    // Moves the selected piece from `from` to its target `to`; a drag
    // sometimes comes back to where it began first, the piece staying picked.
    void drop(int from, int to, Input input)
    {
        if (input == Input::CellDrag || input == Input::PictureDrag) {
            if (dice_.chance(10)) {
                release(from, input);
                act("click " + std::to_string(to), [&] { room_->clickSquare(to); });
            } else {
                release(to, input);
            }
            return;
        }
        if (input == Input::Clicks) {
            act("click " + std::to_string(to), [&] { room_->clickSquare(to); });
            return;
        }
        press(to, Input::CellDrag);
        // A question box took the release: the board never sees it.
        if (asked_.empty()) release(to, Input::CellDrag);
    }

    // Inside a square's click cell, clear of its neighbours on a standard screen.
    std::pair<int, int> cellPoint(int square) const
    {
        const CellRect& cell = room_->cells().cell(square);
        return {static_cast<int>(cell.left) + 186, static_cast<int>(cell.top) + 300};
    }

    void press(int square, Input input)
    {
        if (input == Input::PictureDrag) {
            act("press on the piece on " + std::to_string(square), [&] {
                if (room_->dragActive()) room_->abandonDrag();
                room_->dragOver(square);
            });
            return;
        }
        const auto [x, y] = cellPoint(square);
        act("press " + std::to_string(x) + " " + std::to_string(y), [&] {
            if (room_->dragActive()) room_->abandonDrag();
            room_->pressAt(MouseButton::Left, x, y);
        });
    }

    void release(int square, Input input)
    {
        if (input == Input::PictureDrag) {
            act("release on the piece on " + std::to_string(square),
                [&] { room_->dragDrop(square); });
            return;
        }
        const auto [x, y] = cellPoint(square);
        act("release " + std::to_string(x) + " " + std::to_string(y),
            [&] { room_->releaseAt(x, y); });
    }

    bool hunting(Side side) const
    {
        return opening_ != Opening::Standard && opening_ != Opening::Thinned && side == hunter_;
    }

    int pieceWeight(int square, Side side) const
    {
        const Kind kind = kindOf(room_->position().squares[square]);
        if (hunting(side))
            return kind == Kind::Queen || kind == Kind::Rook ? 6 : kind == Kind::Knight ? 4 : 1;
        if (kind == Kind::Pawn) return opening_ == Opening::Thinned ? 4 : 2;
        if (kind == Kind::King) return opening_ == Opening::Thinned ? 5 : 2;
        return 3;
    }

    // Captures, castles and, for a hunter, squares next to the hunted kings come first.
    int targetWeight(int from, int to, Side side) const
    {
        const Board& squares = room_->position().squares;
        int weight = 2;
        if (isPiece(squares[to]) && !belongsTo(squares[to], side)) weight += hunting(side) ? 10 : 6;
        if (room_->mark(to) > kTargetMark) weight += 12;
        if (kindOf(squares[from]) == Kind::Pawn) weight += 3;
        if (hunting(side)) {
            const int near = distanceToKing(to, opponent(side));
            weight += near <= 1 ? 10 : near <= 2 ? 5 : 0;
        }
        return weight;
    }

    // Squares up to three steps from `square` along the straight lines and
    // the diagonals through it, in order.
    static std::vector<int> linesFrom(int square)
    {
        static constexpr Coords kDirections[] = {
            {1, 0, 0},  {-1, 0, 0}, {0, 1, 0},   {0, -1, 0}, {0, 0, 1},  {0, 0, -1}, {0, 1, 1},
            {0, 1, -1}, {0, -1, 1}, {0, -1, -1}, {1, 0, 1},  {1, 0, -1}, {-1, 0, 1}, {-1, 0, -1},
        };
        std::vector<int> squares;
        const Coords at = coordsOf(square);
        for (const Coords& d : kDirections) {
            for (int k = 1; k <= 3; ++k) {
                const Coords c{at.boards + k * d.boards, at.rw + k * d.rw, at.colmn + k * d.colmn};
                if (c.boards < 0 || c.boards > 3 || c.rw < 0 || c.rw > 3 || c.colmn < 0
                    || c.colmn > 7)
                    break;
                squares.push_back(indexOf(c));
            }
        }
        return squares;
    }

    // The most any coordinate differs between two squares.
    static int stepsBetween(int a, int b)
    {
        const Coords p = coordsOf(a), q = coordsOf(b);
        return std::max(
            {std::abs(p.boards - q.boards), std::abs(p.rw - q.rw), std::abs(p.colmn - q.colmn)});
    }

    // From `square` to the nearest king of `side`.
    int distanceToKing(int square, Side side) const
    {
        int nearest = 99;
        for (int king = 0; king < kSquareCount; ++king) {
            if (room_->position().squares[king] == codeOf(side, Kind::King))
                nearest = std::min(nearest, stepsBetween(square, king));
        }
        return nearest;
    }

    Dice dice_;
    Trace trace_;
    std::string dir_;
    bool marathon_;
    Opening opening_ = Opening::Standard;
    Side hunter_ = Side::White;
    std::unique_ptr<TraceView> view_;
    std::unique_ptr<GameRoom> room_;
    Foresight foresight_;
    bool keepSelection_ = false;
    int twipsPerPixel_ = 15;
    std::vector<std::pair<std::string, bool>> asked_;
    std::array<Cycle, 2> cycles_{};
    int repeatLeft_ = 0;
    std::array<bool, kBranchCount> reached_{};
};

} // namespace palisade::trace
