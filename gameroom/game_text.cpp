#include "gameroom/game_text.h"

#include "gameroom/notation.h"
#include "gameroom/saved_game_check.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <utility>

namespace palisade {

namespace {

constexpr std::string_view kPieceLetters = ".PNBRQKpnbrqk";
constexpr int kRows = 16;
constexpr int kRowLength = 8;
// What an error message quotes of a text it could not read.
constexpr std::size_t kQuoted = 40;

constexpr std::array<std::pair<EndReason, std::string_view>, 6> kTerminations = {{
    {EndReason::Checkmate, "Checkmate"},
    {EndReason::Stalemate, "Stalemate"},
    {EndReason::LoneKing, "Lone king stalemate"},
    {EndReason::Repetition, "Repetition"},
    {EndReason::Resignation, "Resignation"},
    {EndReason::DrawDeclared, "Draw declared"},
}};

constexpr std::array<std::pair<Status, std::string_view>, 3> kResults = {{
    {Status::WhiteWins, "1-0"},
    {Status::BlackWins, "0-1"},
    {Status::Draw, "1/2-1/2"},
}};
constexpr std::string_view kGoesOn = "*";

std::string quoted(std::string_view text)
{
    const std::string shown(text.substr(0, kQuoted));
    return "\"" + shown + (text.size() > kQuoted ? "...\"" : "\"");
}

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::optional<int> numberOf(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
    return value;
}

std::string resultToken(const std::optional<Status>& result)
{
    for (const auto& [status, token] : kResults) {
        if (result == status) return std::string(token);
    }
    return std::string(kGoesOn);
}

// Whether `token` is a result, and which: nothing for a game that goes on.
bool readResult(std::string_view token, std::optional<Status>& result)
{
    if (token == kGoesOn) {
        result.reset();
        return true;
    }
    for (const auto& [status, text] : kResults) {
        if (token == text) {
            result = status;
            return true;
        }
    }
    return false;
}

std::optional<int> winOptionOf(std::string_view name)
{
    for (int option = 0; option <= 1; ++option) {
        if (name == winOptionName(option)) return option;
    }
    return std::nullopt;
}

// --- Writing ---------------------------------------------------------------

std::string escaped(std::string_view value)
{
    std::string out;
    for (const char c : value) {
        if (c == '"' || c == '\\') out += '\\';
        // A tag is one line of printing characters.
        out += static_cast<unsigned char>(c) < ' ' ? ' ' : c;
    }
    return out;
}

void writeTag(std::string& out, std::string_view name, std::string_view value)
{
    out += "[" + std::string(name) + " \"" + escaped(value) + "\"]\n";
}

void writeMove(std::string& out, const TextMove& move)
{
    out += move.notation;
    if (move.keptKing) out += " {keeps " + *move.keptKing + "}";
    if (move.castleDeclined) out += " {no castle}";
}

std::string rowText(const Board& squares, int row)
{
    std::string text;
    int empties = 0;
    for (int i = 0; i < kRowLength; ++i) {
        const int code = squares[row * kRowLength + i];
        if (code == kEmpty) {
            ++empties;
            continue;
        }
        if (empties > 0) text += static_cast<char>('0' + empties);
        empties = 0;
        text += kPieceLetters[static_cast<std::size_t>(code)];
    }
    if (empties > 0) text += static_cast<char>('0' + empties);
    return text;
}

// --- Reading ---------------------------------------------------------------

std::optional<Board> boardOfText(std::string_view text)
{
    Board squares{};
    int square = 0;
    int row = 0;
    for (const char c : text) {
        if (c == '/') {
            if (square != (row + 1) * kRowLength || row + 1 == kRows) return std::nullopt;
            ++row;
        } else if (c >= '1' && c <= '8') {
            square += c - '0';
        } else {
            const auto code = kPieceLetters.find(c);
            if (code == std::string_view::npos || code == 0 || square >= (row + 1) * kRowLength) return std::nullopt;
            squares[static_cast<std::size_t>(square++)] = static_cast<int>(code);
        }
        if (square > (row + 1) * kRowLength) return std::nullopt;
    }
    if (row != kRows - 1 || square != kSquareCount) return std::nullopt;
    return squares;
}

std::vector<std::string_view> fieldsOf(std::string_view text)
{
    std::vector<std::string_view> fields;
    while (!(text = trimmed(text)).empty()) {
        const auto end = std::min(text.find(' '), text.size());
        fields.push_back(text.substr(0, end));
        text.remove_prefix(end);
    }
    return fields;
}

// A tag line: [Name "value"], the value with \" and \\ escaped.
std::optional<std::pair<std::string, std::string>> tagOf(std::string_view line)
{
    if (line.size() < 2 || line.front() != '[' || line.back() != ']') return std::nullopt;
    line = line.substr(1, line.size() - 2);
    const auto space = line.find(' ');
    if (space == 0 || space == std::string_view::npos) return std::nullopt;
    const std::string name(line.substr(0, space));
    const bool plainName = std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    });
    const std::string_view rest = trimmed(line.substr(space));
    if (!plainName || rest.size() < 2 || rest.front() != '"' || rest.back() != '"') return std::nullopt;
    std::string value;
    for (std::size_t i = 1; i + 1 < rest.size(); ++i) {
        char c = rest[i];
        if (c == '"' || static_cast<unsigned char>(c) < ' ') return std::nullopt;
        if (c == '\\') {
            if (i + 2 >= rest.size()) return std::nullopt;
            c = rest[++i];
            if (c != '"' && c != '\\') return std::nullopt;
        }
        value += c;
    }
    return std::pair{name, value};
}

class TextReader {
public:
    std::variant<GameText, TextError> read(std::string_view text)
    {
        if (text.size() > kMaxGameTextBytes) return TextError{"The text is too long to be a game."};
        std::size_t lineNumber = 0;
        while (!text.empty()) {
            const auto end = std::min(text.find('\n'), text.size());
            const std::string_view line = trimmed(text.substr(0, end));
            ++lineNumber;
            if (!line.empty() && line.front() != '[') break;
            text.remove_prefix(std::min(end + 1, text.size()));
            if (line.empty()) continue;
            const auto tag = tagOf(line);
            if (!tag) return TextError{"Line " + std::to_string(lineNumber) + " is not a tag: " + quoted(line)};
            if (auto error = takeTag(tag->first, tag->second)) return *error;
        }
        if (auto error = readMoves(text)) return *error;
        if (auto error = finish()) return *error;
        return game_;
    }

private:
    std::optional<TextError> takeTag(const std::string& name, const std::string& value)
    {
        static constexpr std::array<std::string_view, 9> kOnce = {
            "Date", "White", "Black", "WinOption", "Start", "Result", "Termination", "AtHalfMove", "Selected"};
        if (std::find(kOnce.begin(), kOnce.end(), name) != kOnce.end()) {
            if (std::find(seen_.begin(), seen_.end(), name) != seen_.end()) {
                return TextError{"The tag " + name + " is given twice."};
            }
            seen_.push_back(name);
        }
        const auto bad = [&] { return TextError{"The tag " + name + " has a value it cannot have: " + quoted(value)}; };
        if (name == "Date") {
            game_.date = value;
        } else if (name == "White") {
            game_.white = value;
        } else if (name == "Black") {
            game_.black = value;
        } else if (name == "WinOption") {
            const auto option = winOptionOf(value);
            if (!option) return bad();
            game_.winOption = *option;
        } else if (name == "WinOptionChange") {
            const auto space = value.find(' ');
            const auto halfMove = numberOf(std::string_view(value).substr(0, space));
            const auto option = space == std::string::npos ? std::nullopt : winOptionOf(value.substr(space + 1));
            if (!halfMove || !option) return bad();
            game_.winOptionChanges.push_back({*halfMove, *option});
        } else if (name == "Start") {
            game_.start = startOfText(value);
            if (!game_.start) return bad();
        } else if (name == "Result") {
            if (!readResult(value, game_.result)) return bad();
        } else if (name == "Termination") {
            const auto found = std::find_if(kTerminations.begin(), kTerminations.end(),
                                            [&](const auto& entry) { return entry.second == value; });
            if (found == kTerminations.end()) return bad();
            game_.termination = found->first;
        } else if (name == "Selected") {
            if (!squareOfText(value)) return bad();
            game_.selected = value;
        } else if (name == "AtHalfMove") {
            game_.shownHalfMove = numberOf(value);
            if (!game_.shownHalfMove) return bad();
        }
        return std::nullopt;
    }

    std::string moveName() const
    {
        return "Move " + std::to_string(game_.moves.size() / 2 + 1);
    }

    std::optional<TextError> readMoves(std::string_view text)
    {
        std::vector<std::string_view> tokens;
        while (!(text = trimmed(skipSpace(text))).empty()) {
            if (text.front() == '{') {
                const auto close = text.find('}');
                if (close == std::string_view::npos) return TextError{"A comment after " + lastMoveName() + " is not closed."};
                if (auto error = takeComment(trimmed(text.substr(1, close - 1)))) return error;
                text.remove_prefix(close + 1);
                continue;
            }
            const auto end = std::min(text.find_first_of(" \t\r\n{"), text.size());
            const std::string_view token = text.substr(0, end);
            text.remove_prefix(end);
            if (auto error = takeToken(token)) return error;
        }
        if (!pendingPick_.empty()) return TextError{moveName() + " " + quoted(pendingPick_) + " is cut short."};
        return std::nullopt;
    }

    static std::string_view skipSpace(std::string_view text)
    {
        const auto first = text.find_first_not_of(" \t\r\n");
        return first == std::string_view::npos ? std::string_view() : text.substr(first);
    }

    std::string lastMoveName() const
    {
        return game_.moves.empty() ? "the tags" : "move " + std::to_string((game_.moves.size() - 1) / 2 + 1);
    }

    std::optional<TextError> takeComment(std::string_view comment)
    {
        if (game_.moves.empty() || !pendingPick_.empty()) return std::nullopt;
        TextMove& move = game_.moves.back();
        constexpr std::string_view kKeeps = "keeps ";
        if (comment.substr(0, kKeeps.size()) == kKeeps) {
            const std::string_view square = trimmed(comment.substr(kKeeps.size()));
            if (!squareOfText(square)) {
                return TextError{"Move " + std::to_string((game_.moves.size() - 1) / 2 + 1) + " (" + move.notation
                                 + ") keeps a king on no square: " + quoted(square)};
            }
            move.keptKing = std::string(square);
        } else if (comment == "no castle") {
            move.castleDeclined = true;
        }
        return std::nullopt;
    }

    std::optional<TextError> takeToken(std::string_view token)
    {
        if (ended_) return TextError{"The text goes on after the result: " + quoted(token)};
        if (!pendingPick_.empty()) {
            if (!dashSeen_) {
                if (token != "-") return TextError{moveName() + " " + quoted(pendingPick_ + " " + std::string(token)) + " cannot be read."};
                dashSeen_ = true;
                return std::nullopt;
            }
            game_.moves.push_back({pendingPick_ + " - " + std::string(token), std::nullopt, false});
            pendingPick_.clear();
            dashSeen_ = false;
            return std::nullopt;
        }
        if (isMoveNumber(token)) return std::nullopt;
        if (readResult(token, resultOfMoves_)) {
            ended_ = true;
            return std::nullopt;
        }
        if (isCastle(token)) {
            game_.moves.push_back({std::string(token), std::nullopt, false});
            return std::nullopt;
        }
        if (squareOfText(token)) {
            pendingPick_ = std::string(token);
            return std::nullopt;
        }
        return TextError{moveName() + " cannot be read: " + quoted(token)};
    }

    static bool isMoveNumber(std::string_view token)
    {
        const auto dots = token.find('.');
        return dots != 0 && dots != std::string_view::npos && numberOf(token.substr(0, dots))
               && token.find_first_not_of('.', dots) == std::string_view::npos;
    }

    // "2O-O1", "2O-O-O4": the half-board the king leaves and the one it reaches.
    static bool isCastle(std::string_view token)
    {
        const auto board = [](char c) { return c >= '1' && c <= '4'; };
        if (token.size() != 5 && token.size() != 7) return false;
        const std::string_view middle = token.substr(1, token.size() - 2);
        return board(token.front()) && board(token.back()) && (middle == "O-O" || middle == "O-O-O");
    }

    std::optional<TextError> finish()
    {
        if (ended_ && seenTag("Result") && resultOfMoves_ != game_.result) {
            return TextError{"The result after the moves is not the one the Result tag gives."};
        }
        if (ended_ && !seenTag("Result")) game_.result = resultOfMoves_;
        if (game_.termination && !game_.result) return TextError{"The tag Termination is given for a game that goes on."};
        if (game_.start) {
            game_.start->winOption = game_.winOption;
            SavedGame check;
            check.position = *game_.start;
            check.entries.emplace_back();
            if (const auto error = checkSavedGame(check)) return TextError{"The start position cannot be played: " + error->reason + "."};
        }
        return std::nullopt;
    }

    bool seenTag(std::string_view name) const
    {
        return std::find(seen_.begin(), seen_.end(), name) != seen_.end();
    }

    GameText game_;
    std::vector<std::string> seen_;
    std::string pendingPick_;
    bool dashSeen_ = false;
    bool ended_ = false;
    std::optional<Status> resultOfMoves_;
};

} // namespace

std::string_view winOptionName(int winOption)
{
    return winOption == 0 ? "Standard" : "Destroy Both Kings!";
}

std::string_view terminationName(EndReason reason)
{
    for (const auto& [known, name] : kTerminations) {
        if (known == reason) return name;
    }
    return {};
}

std::optional<int> squareOfText(std::string_view text)
{
    if (text.size() != 3) return std::nullopt;
    const int boards = text[0] - '1';
    const int rw = text[1] - 'a';
    const int colmn = text[2] - '1';
    if (boards < 0 || boards > 3 || rw < 0 || rw > 3 || colmn < 0 || colmn > 7) return std::nullopt;
    return indexOf(boards, rw, colmn);
}

std::string startText(const Position& start)
{
    std::string text;
    for (int row = 0; row < kRows; ++row) {
        if (row > 0) text += '/';
        text += rowText(start.squares, row);
    }
    text += start.status == Status::BlackToMove ? " b " : " w ";
    for (const int flag : start.castleLost) text += flag == 0 ? '0' : '1';
    text += " " + (start.enPassantSquare == 0 ? std::string("-") : squareText(start.enPassantSquare, 0));
    text += " " + std::to_string(start.kingsStanding) + " " + std::to_string(start.loneKingFree);
    return text;
}

std::optional<Position> startOfText(std::string_view text)
{
    const std::vector<std::string_view> fields = fieldsOf(text);
    if (fields.size() != 6) return std::nullopt;
    const auto squares = boardOfText(fields[0]);
    const auto epSquare = fields[3] == "-" ? std::optional<int>(0) : squareOfText(fields[3]);
    if (!squares || (fields[1] != "w" && fields[1] != "b") || fields[2].size() != kCastleFlagCount || !epSquare
        || (fields[4] != "1" && fields[4] != "2") || (fields[5] != "0" && fields[5] != "1")) {
        return std::nullopt;
    }
    Position start;
    start.squares = *squares;
    start.status = fields[1] == "w" ? Status::WhiteToMove : Status::BlackToMove;
    for (int i = 0; i < kCastleFlagCount; ++i) {
        const char flag = fields[2][static_cast<std::size_t>(i)];
        if (flag != '0' && flag != '1') return std::nullopt;
        start.castleLost[static_cast<std::size_t>(i)] = flag - '0';
    }
    start.enPassantSquare = *epSquare;
    start.kingsStanding = fields[4][0] - '0';
    start.loneKingFree = fields[5][0] - '0';
    return start;
}

std::string writeGameText(const GameText& game)
{
    std::string out;
    writeTag(out, "Date", game.date);
    writeTag(out, "White", game.white);
    writeTag(out, "Black", game.black);
    writeTag(out, "WinOption", winOptionName(game.winOption));
    for (const WinOptionChange& change : game.winOptionChanges) {
        writeTag(out, "WinOptionChange", std::to_string(change.halfMove) + " " + std::string(winOptionName(change.winOption)));
    }
    if (game.start) writeTag(out, "Start", startText(*game.start));
    if (game.shownHalfMove) writeTag(out, "AtHalfMove", std::to_string(*game.shownHalfMove));
    if (game.selected) writeTag(out, "Selected", *game.selected);
    writeTag(out, "Result", resultToken(game.result));
    if (game.termination) writeTag(out, "Termination", terminationName(*game.termination));
    out += '\n';
    for (std::size_t k = 0; k < game.moves.size(); ++k) {
        if (k % 2 == 0) out += std::to_string(k / 2 + 1) + ". ";
        writeMove(out, game.moves[k]);
        out += k % 2 == 0 && k + 1 < game.moves.size() ? "  " : "\n";
    }
    out += resultToken(game.result) + "\n";
    return out;
}

std::variant<GameText, TextError> readGameText(std::string_view text)
{
    return TextReader().read(text);
}

} // namespace palisade
