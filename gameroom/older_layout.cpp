#include "gameroom/older_layout.h"

#include <charconv>
#include <optional>
#include <string>
#include <vector>

namespace palisade {

namespace {

struct Value {
    bool quoted = false;
    std::string text;
};

// Splits the file into values: quoted strings, or anything up to the next
// comma or line end, with the blanks around it dropped.
std::optional<std::vector<Value>> splitValues(std::string_view text)
{
    std::vector<Value> values;
    std::size_t at = 0;
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    auto isBreak = [](char c) { return c == ',' || c == '\n' || c == '\r'; };
    while (at < text.size()) {
        while (at < text.size() && (isBlank(text[at]) || text[at] == '\n' || text[at] == '\r')) ++at;
        if (at >= text.size()) break;
        Value value;
        if (text[at] == '"') {
            const std::size_t close = text.find('"', at + 1);
            if (close == std::string_view::npos) return std::nullopt;
            value = {true, std::string(text.substr(at + 1, close - at - 1))};
            at = close + 1;
        } else {
            const std::size_t start = at;
            while (at < text.size() && !isBreak(text[at])) ++at;
            std::size_t end = at;
            while (end > start && isBlank(text[end - 1])) --end;
            value.text = std::string(text.substr(start, end - start));
        }
        values.push_back(std::move(value));
        while (at < text.size() && isBlank(text[at])) ++at;
        if (at < text.size() && text[at] == ',') ++at;
    }
    return values;
}

class ValueReader {
public:
    explicit ValueReader(std::vector<Value> values) : values_(std::move(values)) {}

    bool atEnd() const { return next_ == values_.size(); }

    std::optional<int> number()
    {
        if (atEnd() || values_[next_].quoted) return std::nullopt;
        const std::string& text = values_[next_].text;
        int value = 0;
        const auto [ptr, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
        ++next_;
        return value;
    }

    // A status text into `status`; the empty text stands for an entry never
    // written. False when the value is no status text.
    bool status(std::optional<Status>& status)
    {
        if (atEnd() || !values_[next_].quoted) return false;
        const std::string& text = values_[next_++].text;
        status.reset();
        if (text.empty()) return true;
        for (Status s : {Status::WhiteToMove, Status::BlackToMove, Status::WhiteWins, Status::BlackWins, Status::Draw}) {
            if (text == statusText(s)) status = s;
        }
        return status.has_value();
    }

private:
    std::vector<Value> values_;
    std::size_t next_ = 0;
};

template <typename Container> bool readNumbers(ValueReader& in, Container& fields)
{
    for (int& field : fields) {
        const auto value = in.number();
        if (!value) return false;
        field = *value;
    }
    return true;
}

bool readNumbers(ValueReader& in, std::initializer_list<int*> fields)
{
    for (int* field : fields) {
        const auto value = in.number();
        if (!value) return false;
        *field = *value;
    }
    return true;
}

bool readEntry(ValueReader& in, HistoryEntry& entry)
{
    if (!readNumbers(in, entry.squares) || !readNumbers(in, entry.castleLost) || !readNumbers(in, {&entry.check})) {
        return false;
    }
    // Earlier versions stored "Check!" shown as -1.
    if (entry.check == -1) entry.check = 1;
    if (!in.status(entry.status)) return false;
    return readNumbers(in, {&entry.loneKingFree, &entry.sidesSwitched, &entry.enPassantSquare});
}

bool readHeader(ValueReader& in, SavedGame& game)
{
    Position& p = game.position;
    if (!readNumbers(in, p.squares) || !readNumbers(in, p.castleLost)
        || !readNumbers(in, {&p.sidesSwitched, &p.kingsStanding, &p.enPassantSquare, &game.selectionLocked,
                             &p.loneKingFree})) {
        return false;
    }
    std::optional<Status> status;
    if (!in.status(status) || !status) return false;
    p.status = *status;
    int forward = 0;
    if (!readNumbers(in, {&p.winOption, &game.pieceSelected, &game.selectedSquare, &p.upPawn, &p.downPawn,
                          &game.lastHalfMove, &game.halfMoves, &forward})) {
        return false;
    }
    game.forwardVisible = forward != 0;
    return true;
}

} // namespace

std::variant<SavedGame, FileError> readOlderLayout(std::string_view text)
{
    const FileError unreadable{"it is not a saved game of this program"};
    auto values = splitValues(text);
    if (!values) return unreadable;
    ValueReader in(std::move(*values));
    SavedGame game;
    if (!readHeader(in, game)) return unreadable;
    if (game.lastHalfMove < 0 || game.lastHalfMove > MoveHistory::kLast) {
        return FileError{"it holds more moves than a game can record"};
    }
    game.entries.resize(static_cast<std::size_t>(game.lastHalfMove) + 1);
    for (HistoryEntry& entry : game.entries) {
        if (!readEntry(in, entry)) return unreadable;
    }
    if (!in.atEnd()) return unreadable;
    return game;
}

} // namespace palisade
