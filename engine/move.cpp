#include "engine/move.h"

#include <tuple>

namespace palisade {

namespace {

constexpr std::array<std::string_view, 6> kLetters = {"", "q", "n", "r", "b", "c"};

} // namespace

std::string_view extraLetter(MoveExtra extra) { return kLetters[static_cast<std::size_t>(extra)]; }

std::optional<MoveExtra> extraOfLetter(std::string_view letter)
{
    for (std::size_t i = 0; i < kLetters.size(); ++i) {
        if (kLetters[i] == letter) return static_cast<MoveExtra>(i);
    }
    return std::nullopt;
}

bool operator<(const Move& a, const Move& b)
{
    return std::tuple(a.pick, a.drop, extraLetter(a.extra)) < std::tuple(b.pick, b.drop, extraLetter(b.extra));
}

std::string moveText(const Move& move)
{
    std::string text = std::to_string(move.pick) + ' ' + std::to_string(move.drop);
    if (move.extra != MoveExtra::Plain) (text += ' ') += extraLetter(move.extra);
    return text;
}

Kind promotedKind(MoveExtra extra)
{
    switch (extra) {
    case MoveExtra::Knight: return Kind::Knight;
    case MoveExtra::Rook: return Kind::Rook;
    case MoveExtra::Bishop: return Kind::Bishop;
    default: return Kind::Queen;
    }
}

MoveList movesFrom(const MoveList& moves, int pick)
{
    MoveList kept;
    for (const Move move : moves) {
        if (move.pick == pick) kept.push(move);
    }
    return kept;
}

} // namespace palisade
