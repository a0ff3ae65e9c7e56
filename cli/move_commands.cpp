#include "cli/move_commands.h"

#include "engine/move_board.h"
#include "engine/perft.h"
#include "engine/apply.h"
#include "engine/reference_moves.h"
#include "gameroom/game_file.h"
#include "gameroom/game_room.h"
#include "gameroom/silent_view.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace palisade {

namespace {

// Deep enough for any script; deeper trees take hours.
constexpr int kDeepestPerft = 12;

struct Request {
    bool reference = false;
    int depth = 0;
    std::string file;
};

std::optional<int> depthOf(const std::string& text)
{
    int depth = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), depth);
    if (error != std::errc() || end != text.data() + text.size() || depth < 0 || depth > kDeepestPerft) {
        return std::nullopt;
    }
    return depth;
}

std::optional<Request> parse(const std::string& command, const std::vector<std::string>& arguments,
                             std::ostream& err)
{
    Request request;
    std::vector<std::string> rest;
    for (const std::string& argument : arguments) {
        if (argument == "--reference") {
            request.reference = true;
        } else {
            rest.push_back(argument);
        }
    }
    const bool needsDepth = command != "moves";
    if (needsDepth) {
        if (rest.empty()) {
            err << "palisade-cli " << command << ": needs a depth\n";
            return std::nullopt;
        }
        const auto depth = depthOf(rest.front());
        if (!depth) {
            err << "palisade-cli " << command << ": the depth is a whole number from 0 to " << kDeepestPerft
                << ": " << rest.front() << '\n';
            return std::nullopt;
        }
        request.depth = *depth;
        rest.erase(rest.begin());
    }
    if (rest.size() > 1) {
        err << "palisade-cli " << command << ": one saved game at most, not " << rest[1] << '\n';
        return std::nullopt;
    }
    if (!rest.empty()) request.file = rest.front();
    return request;
}

// The position a player sees after opening the file, the lone king's trial included.
std::optional<Position> positionOf(const Request& request, const std::string& command, std::ostream& err)
{
    if (request.file.empty()) return standardPosition();
    auto read = readSavedGame(request.file);
    if (const auto* error = std::get_if<FileError>(&read)) {
        err << "palisade-cli " << command << ": could not open the saved game " << request.file << ": "
            << error->reason << ".\n";
        return std::nullopt;
    }
    SilentView view;
    GameRoom room(view);
    room.load(std::get<SavedGame>(read), request.file);
    return room.position();
}

std::vector<Move> sortedMoves(const Position& position, bool reference)
{
    if (reference) return referenceMoves(position);
    MoveList list;
    MoveBoard(position).generate(list);
    std::vector<Move> moves(list.begin(), list.end());
    std::sort(moves.begin(), moves.end());
    return moves;
}

std::uint64_t treeSize(const Position& position, int depth, bool reference)
{
    if (reference) return referencePerft(position, depth);
    MoveBoard board(position);
    return perft(board, depth);
}

void printDivide(const Position& position, const Request& request, std::ostream& out)
{
    std::uint64_t total = 0;
    for (const Move& move : sortedMoves(position, request.reference)) {
        Position next = position;
        apply(next, move);
        const std::uint64_t nodes = treeSize(next, request.depth - 1, request.reference);
        out << moveText(move) << ' ' << nodes << '\n';
        total += nodes;
    }
    out << "total " << total << '\n';
}

} // namespace

int runMoveCommand(const std::string& command, const std::vector<std::string>& arguments, std::ostream& out,
                   std::ostream& err)
{
    const auto request = parse(command, arguments, err);
    if (!request) return 2;
    const auto position = positionOf(*request, command, err);
    if (!position) return 2;

    if (command == "moves") {
        for (const Move& move : sortedMoves(*position, request->reference)) out << moveText(move) << '\n';
    } else if (command == "perft") {
        out << "perft " << request->depth << ' ' << treeSize(*position, request->depth, request->reference) << '\n';
    } else {
        printDivide(*position, *request, out);
    }
    return 0;
}

} // namespace palisade
