#include "cli/state_line.h"

#include "gameroom/game_room.h"

namespace palisade {

namespace {

std::string marksOf(const GameRoom& room)
{
    std::string marks;
    for (int square = 0; square < kSquareCount; ++square) {
        if (!room.isTarget(square)) continue;
        if (!marks.empty()) marks += ',';
        marks += std::to_string(square) + ':' + std::to_string(room.mark(square));
    }
    return marks.empty() ? "-" : marks;
}

std::string boardOf(const GameRoom& room)
{
    std::string board;
    for (int code : room.position().squares) board += "0123456789abc"[code];
    return board;
}

} // namespace

std::optional<int> squareToken(const std::string& token)
{
    if (token.empty() || token.size() > 3 || (token.size() > 1 && token[0] == '0')) return std::nullopt;
    int value = 0;
    for (char c : token) {
        if (c < '0' || c > '9') return std::nullopt;
        value = 10 * value + (c - '0');
    }
    return isSquare(value) ? std::optional<int>(value) : std::nullopt;
}

void writeState(std::ostream& out, const std::string& token, const GameRoom& room)
{
    const MoveHistory& history = room.history();
    out << token << " | " << room.statusText() << " | check " << room.checkShown() << " | "
        << (room.notation().empty() ? "-" : room.notation()) << " | half " << history.halfMoves() << '/'
        << history.lastHalfMove() << " | forward " << room.forwardVisible() << " | selected "
        << (room.pieceSelected() ? std::to_string(room.selectedSquare()) : "-") << " | option "
        << room.position().winOption << " | kings " << room.position().kingsStanding << " | marks "
        << marksOf(room) << " | board " << boardOf(room) << '\n';
}

} // namespace palisade
