#include "gameroom/saved_game.h"

#include "gameroom/older_layout.h"
#include "gameroom/saved_game_check.h"

#include <charconv>

namespace palisade {

namespace {

constexpr char kTextTag = 8;
constexpr std::size_t kHeaderLength = 155;
constexpr std::size_t kEntryLength = 149;

char digit(int value) { return static_cast<char>('0' + value); }
char code(int value) { return static_cast<char>(value); }

// Status codes: "0" White to Move, "1" Black to Move, "2" DRAW!, "3" White
// Wins!, "4" Black Wins!.
char statusCode(Status status)
{
    switch (status) {
    case Status::WhiteToMove: return '0';
    case Status::BlackToMove: return '1';
    case Status::Draw: return '2';
    case Status::WhiteWins: return '3';
    case Status::BlackWins: return '4';
    }
    return '0';
}

std::optional<Status> statusOfCode(char c)
{
    switch (c) {
    case '0': return Status::WhiteToMove;
    case '1': return Status::BlackToMove;
    case '2': return Status::Draw;
    case '3': return Status::WhiteWins;
    case '4': return Status::BlackWins;
    default: return std::nullopt;
    }
}

void appendEntry(std::string& text, const HistoryEntry& entry)
{
    for (int piece : entry.squares) text += code(piece);
    for (int flag : entry.castleLost) text += code(flag);
    text += digit(entry.check);
    // An entry no position was written to has no status character.
    if (entry.status) text += statusCode(*entry.status);
    text += digit(entry.loneKingFree);
    text += digit(entry.sidesSwitched);
    text += code(entry.enPassantSquare);
}

std::string encodeText(const SavedGame& game)
{
    const Position& p = game.position;
    std::string text;
    for (int piece : p.squares) text += code(piece);
    for (int flag : p.castleLost) text += code(flag);
    text += digit(p.sidesSwitched);
    text += digit(p.kingsStanding);
    text += code(p.enPassantSquare);
    text += digit(game.selectionLocked);
    text += digit(p.loneKingFree);
    text += statusCode(p.status);
    text += digit(p.winOption);
    text += digit(game.pieceSelected);
    text += code(game.selectedSquare);
    text += digit(p.upPawn);
    text += digit(p.downPawn);
    text += std::to_string(game.lastHalfMove) + ';' + std::to_string(game.halfMoves) + ';'
            + (game.forwardVisible ? "-1" : "0");
    for (const HistoryEntry& entry : game.entries) appendEntry(text, entry);
    return text;
}

// Reads the binary layout's text field by field; every read is bounds-checked.
class TextReader {
public:
    explicit TextReader(std::string_view text) : text_(text) {}

    bool atEnd() const { return at_ == text_.size(); }
    std::size_t left() const { return text_.size() - at_; }

    std::optional<int> code()
    {
        if (atEnd()) return std::nullopt;
        return static_cast<unsigned char>(text_[at_++]);
    }

    std::optional<int> digit()
    {
        if (atEnd() || text_[at_] < '0' || text_[at_] > '9') return std::nullopt;
        return text_[at_++] - '0';
    }

    std::optional<char> peek() const
    {
        if (atEnd()) return std::nullopt;
        return text_[at_];
    }

    void skip() { ++at_; }

    // A decimal number ended by `end` (or by the end of the text when end is 0).
    std::optional<int> number(char end)
    {
        const std::size_t stop = end ? text_.find(end, at_) : text_.size();
        if (stop == std::string_view::npos || stop == at_ || stop - at_ > 4) return std::nullopt;
        int value = 0;
        const auto [ptr, error] = std::from_chars(text_.data() + at_, text_.data() + stop, value);
        if (error != std::errc() || ptr != text_.data() + stop) return std::nullopt;
        at_ = end ? stop + 1 : stop;
        return value;
    }

    // The Forward flag: "-1" or "0".
    std::optional<bool> flag()
    {
        if (text_.substr(at_, 2) == "-1") {
            at_ += 2;
            return true;
        }
        if (text_.substr(at_, 1) == "0") {
            at_ += 1;
            return false;
        }
        return std::nullopt;
    }

private:
    std::string_view text_;
    std::size_t at_ = 0;
};

template <typename T> bool readInto(std::optional<T> value, int& field)
{
    if (!value) return false;
    field = *value;
    return true;
}

bool readBoard(TextReader& in, Board& squares)
{
    for (int& piece : squares) {
        if (!readInto(in.code(), piece)) return false;
    }
    return true;
}

bool readFlags(TextReader& in, std::array<int, kCastleFlagCount>& flags)
{
    for (int& flag : flags) {
        if (!readInto(in.code(), flag)) return false;
    }
    return true;
}

bool readEntry(TextReader& in, HistoryEntry& entry, bool last)
{
    if (!readBoard(in, entry.squares) || !readFlags(in, entry.castleLost)) return false;
    if (!readInto(in.digit(), entry.check)) return false;
    // Only the last entry may have been written without a status character.
    const bool noStatus = last && in.left() == 3;
    if (!noStatus) {
        const auto c = in.peek();
        if (!c) return false;
        entry.status = statusOfCode(*c);
        if (!entry.status) return false;
        in.skip();
    }
    return readInto(in.digit(), entry.loneKingFree) && readInto(in.digit(), entry.sidesSwitched)
           && readInto(in.code(), entry.enPassantSquare);
}

bool readHeader(TextReader& in, SavedGame& game)
{
    Position& p = game.position;
    if (!readBoard(in, p.squares) || !readFlags(in, p.castleLost)) return false;
    if (!readInto(in.digit(), p.sidesSwitched) || !readInto(in.digit(), p.kingsStanding)
        || !readInto(in.code(), p.enPassantSquare) || !readInto(in.digit(), game.selectionLocked)
        || !readInto(in.digit(), p.loneKingFree)) {
        return false;
    }
    const auto c = in.peek();
    const auto status = c ? statusOfCode(*c) : std::nullopt;
    if (!status) return false;
    p.status = *status;
    in.skip();
    return readInto(in.digit(), p.winOption) && readInto(in.digit(), game.pieceSelected)
           && readInto(in.code(), game.selectedSquare) && readInto(in.digit(), p.upPawn)
           && readInto(in.digit(), p.downPawn);
}

std::variant<SavedGame, FileError> decodeText(std::string_view text)
{
    const FileError damaged{"its contents are damaged or cut short"};
    if (text.size() < kHeaderLength) return damaged;
    TextReader in(text);
    SavedGame game;
    if (!readHeader(in, game)) return damaged;
    const auto last = in.number(';');
    const auto current = in.number(';');
    const auto forward = in.flag();
    if (!last || !current || !forward) return damaged;
    if (*last > MoveHistory::kLast) return FileError{"it holds more moves than a game can record"};
    game.lastHalfMove = *last;
    game.halfMoves = *current;
    game.forwardVisible = *forward;
    // Every entry is 149 characters but the last, which may be 148.
    const std::size_t count = static_cast<std::size_t>(*last) + 1;
    if (in.left() != count * kEntryLength && in.left() != count * kEntryLength - 1) return damaged;
    game.entries.resize(count);
    for (std::size_t k = 0; k < count; ++k) {
        if (!readEntry(in, game.entries[k], k + 1 == count)) return damaged;
    }
    if (!in.atEnd()) return damaged;
    return game;
}

} // namespace

std::string encodeSavedGame(const SavedGame& game)
{
    const std::string text = encodeText(game);
    std::string bytes;
    bytes += kTextTag;
    bytes += '\0';
    bytes += static_cast<char>(text.size() & 0xff);
    bytes += static_cast<char>((text.size() >> 8) & 0xff);
    return bytes + text;
}

std::variant<SavedGame, FileError> decodeSavedGame(std::string_view bytes)
{
    std::variant<SavedGame, FileError> result = FileError{};
    if (bytes.size() >= 4 && bytes[0] == kTextTag && bytes[1] == '\0') {
        const std::size_t length = static_cast<unsigned char>(bytes[2])
                                   | (static_cast<std::size_t>(static_cast<unsigned char>(bytes[3])) << 8);
        if (length != bytes.size() - 4) return FileError{"its contents are damaged or cut short"};
        result = decodeText(bytes.substr(4));
    } else {
        result = readOlderLayout(bytes);
    }
    if (const auto* game = std::get_if<SavedGame>(&result)) {
        if (auto error = checkSavedGame(*game)) return *error;
    }
    return result;
}

} // namespace palisade
