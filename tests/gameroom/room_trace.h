#pragma once

#include "gameroom/game_room.h"
#include "gameroom/result_text.h"
#include "gameroom/sha256.h"

#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace palisade::trace {

// One game written down line by line as its player saw it, and fingerprinted
// as it goes; the lines are echoed when someone wants to read them.
class Trace {
public:
    explicit Trace(std::ostream* echo) : echo_(echo) {}

    void line(const std::string& text)
    {
        sha_.add(text);
        sha_.add("\n");
        if (echo_) *echo_ << text << '\n';
    }
    std::string digest() { return sha_.hex(); }

private:
    Sha256 sha_;
    std::ostream* echo_;
};

// 128 squares by half-board, each half-board by rw: one character a square.
template <typename CharOf> std::string squaresText(CharOf charOf)
{
    std::string text;
    for (int square = 0; square < kSquareCount; ++square) {
        if (square > 0)
            text += square % kBoardStep == 0 ? " / " : square % kRowStep == 0 ? " " : "";
        text += charOf(square);
    }
    return text;
}

inline std::string boardText(const Board& squares)
{
    return squaresText([&](int square) {
        return ".PNBRQKpnbrqk"[isPiece(squares[square]) ? squares[square] : 0];
    });
}

// The selection, the board and the marks, as the board picture shows them.
inline std::string pictureText(const GameRoom& room)
{
    std::string selection = room.pieceSelected() ? "selected " : "none ";
    selection += std::to_string(room.selectedSquare()) + (room.selectionLocked() ? " locked" : "");
    const std::string marks =
        squaresText([&](int square) { return "0123456789"[room.mark(square) % 10]; });
    return selection + " | " + boardText(room.position().squares) + " | marks " + marks;
}

// Bytes as text on one line: printable characters as they are, others as \xNN.
inline std::string escaped(std::string_view bytes)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7f && byte != '\\') {
            text += c;
        } else {
            text += "\\x";
            text += kDigits[byte >> 4];
            text += kDigits[byte & 0xf];
        }
    }
    return text;
}

// The answer the player gives to a question the room asks.
using Answerer = std::function<bool(std::string_view question)>;

// The screen of a test: keeps what the window would show and writes it down.
// The labels and the move list are what the window read at the room's last
// "status changed"; the board is painted after an action that asked for a
// redraw. Questions are written with the picture at that moment and the
// answer given; beeps, notices and refusals as they come.
class TraceView : public GameRoomView {
public:
    TraceView(Trace& trace, Answerer answerer, std::string hiddenDir)
        : trace_(trace), answerer_(std::move(answerer)), hiddenDir_(std::move(hiddenDir))
    {}

    void watch(const GameRoom& room) { room_ = &room; }

    void boardChanged() override { repaint_ = true; }
    void statusChanged() override
    {
        labels_ = labelsOf(*room_);
        rows_ = moveListOf(*room_);
        repaint_ = true;
    }
    bool ask(Question question) override
    {
        return put(buttonsOf(question) == Buttons::OkCancel ? "confirm" : "ask", questionText(question));
    }
    void message(std::string_view text) override { trace_.line("message " + shown(text)); }
    void beep() override { trace_.line("beep"); }
    void moveRefused(std::string_view reason) override
    {
        trace_.line("refused " + std::string(reason));
    }

    // After each action: the screen as the player now sees it, and the
    // game's flags a save would write.
    void writeScreen()
    {
        if (repaint_) picture_ = pictureText(*room_);
        repaint_ = false;
        trace_.line("labels " + labels_);
        trace_.line("list " + rowsChange());
        trace_.line("board " + picture_);
        trace_.line("flags " + flagsOf(room_->position())
                    + (room_->gameSaved() ? " saved" : " unsaved"));
    }

    // A text as shown, the test's own folder left out.
    std::string shown(std::string_view text) const
    {
        std::string out(text);
        for (auto at = out.find(hiddenDir_); !hiddenDir_.empty() && at != std::string::npos;
             at = out.find(hiddenDir_)) {
            out.replace(at, hiddenDir_.size(), "TMP");
        }
        return out;
    }

private:
    bool put(const std::string& kind, std::string_view question)
    {
        trace_.line(kind + " " + std::string(question) + " | " + pictureText(*room_));
        const bool yes = answerer_(question);
        trace_.line(yes ? "answer yes" : "answer no");
        return yes;
    }

    std::string labelsOf(const GameRoom& room) const
    {
        return std::string(room.statusText()) + (room.checkShown() ? " | Check!" : " | -") + " | "
               + room.moveNumberText() + " | " + room.notation() + " | half "
               + std::to_string(room.halfMoves()) + "/"
               + std::to_string(room.history().lastHalfMove())
               + (room.forwardVisible() ? " | forward" : " | -") + " | "
               + std::string(room.winOptionText()) + " | file " + shown(room.fileName())
               + " | notice " + room.standingNotice();
    }

    // Every half-move, and the result under the move that ended the game.
    static std::vector<std::string> moveListOf(const GameRoom& room)
    {
        std::vector<std::string> rows;
        const auto result = room.result();
        for (int k = 0; k <= room.history().lastHalfMove(); ++k) {
            if (k > 0) rows.push_back(room.moveListText(k));
            if (result && k == room.halfMoves()) rows.push_back(resultLine(*result));
        }
        return rows;
    }

    // The move list written as its change since it was last written: the
    // rows from the first that differs, and its length.
    std::string rowsChange()
    {
        std::size_t same = 0;
        while (same < rows_.size() && same < writtenRows_.size()
               && rows_[same] == writtenRows_[same])
            ++same;
        std::string text = std::to_string(rows_.size()) + " from " + std::to_string(same);
        for (std::size_t i = same; i < rows_.size(); ++i) text += " | " + rows_[i];
        writtenRows_ = rows_;
        return text;
    }

    static std::string flagsOf(const Position& p)
    {
        std::string castles;
        for (const int lost : p.castleLost) castles += static_cast<char>('0' + lost % 10);
        return "switched " + std::to_string(p.sidesSwitched) + " ep "
               + std::to_string(p.enPassantSquare) + " castles " + castles + " kings "
               + std::to_string(p.kingsStanding) + " lone " + std::to_string(p.loneKingFree)
               + " option " + std::to_string(p.winOption);
    }

    Trace& trace_;
    Answerer answerer_;
    std::string hiddenDir_;
    const GameRoom* room_ = nullptr;
    std::string labels_;
    std::vector<std::string> rows_, writtenRows_;
    std::string picture_;
    bool repaint_ = false;
};

} // namespace palisade::trace
