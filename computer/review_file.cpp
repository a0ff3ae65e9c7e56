#include "computer/review_file.h"

#include "computer/game_review.h"
#include "gameroom/beside_file.h"
#include "gameroom/move_history.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace palisade {

namespace {

constexpr std::string_view kKind = "review";
constexpr std::string_view kNodesPrefix = "nodes ";
constexpr std::int64_t kMostNodes = 1'000'000'000;
constexpr long kMostCentipawns = static_cast<long>(kMateInPawns * 100);

std::string pawnsText(double pawns)
{
    const long centipawns = std::lround(pawns * 100.0);
    const long whole = std::labs(centipawns) / 100;
    const long hundredths = std::labs(centipawns) % 100;
    return (centipawns < 0 ? "-" : "") + std::to_string(whole) + '.' + (hundredths < 10 ? "0" : "")
           + std::to_string(hundredths);
}

// Digits, optionally after a minus; nothing else.
template <typename Number> std::optional<Number> wholeNumber(std::string_view text)
{
    const bool negative = !text.empty() && text.front() == '-';
    const std::string_view digits = negative ? text.substr(1) : text;
    if (digits.empty() || digits.size() > 10) return std::nullopt;
    Number value{};
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
    return negative ? -value : value;
}

// "-12.34": an optional minus, digits, a point and two digits.
std::optional<double> pawnsOfText(std::string_view text)
{
    const std::size_t point = text.find('.');
    if (point == std::string_view::npos || text.size() != point + 3 || text.substr(0, point) == "-") return std::nullopt;
    const auto whole = wholeNumber<long>(text.substr(0, point));
    const auto hundredths = wholeNumber<long>(text.substr(point + 1));
    if (!whole || !hundredths || text[point + 1] == '-') return std::nullopt;
    const bool negative = text.front() == '-';
    const long centipawns = std::labs(*whole) * 100 + *hundredths;
    if (centipawns > kMostCentipawns) return std::nullopt;
    return (negative ? -centipawns : centipawns) / 100.0;
}

} // namespace

std::string reviewFileName(const std::string& gameFileName) { return besideFileName(gameFileName, kKind); }

std::string reviewText(const GameReview& review)
{
    std::string text = std::string(kNodesPrefix) + std::to_string(review.nodes) + '\n';
    for (const double pawns : review.evaluations) text += pawnsText(pawns) + '\n';
    return text;
}

std::optional<GameReview> reviewOfText(const std::string& text)
{
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line.compare(0, kNodesPrefix.size(), kNodesPrefix) != 0) return std::nullopt;
    GameReview review;
    const auto nodes = wholeNumber<std::int64_t>(std::string_view(line).substr(kNodesPrefix.size()));
    if (!nodes || *nodes < 1 || *nodes > kMostNodes) return std::nullopt;
    review.nodes = *nodes;
    while (std::getline(in, line)) {
        const auto pawns = pawnsOfText(line);
        if (!pawns || review.evaluations.size() == MoveHistory::kEntries) return std::nullopt;
        review.evaluations.push_back(*pawns);
    }
    if (review.evaluations.empty() || text.back() != '\n') return std::nullopt;
    return review;
}

KeptReview readReview(const std::string& gameFileName)
{
    const BesideFile file = readBeside(gameFileName, kKind);
    if (file.state == BesideFile::State::Missing) return {};
    const auto review = reviewOfText(file.content);
    if (file.state != BesideFile::State::Belongs || !review) return {KeptReview::State::NotThisGame, {}};
    return {KeptReview::State::Kept, *review};
}

bool keepReview(const std::string& gameFileName, const std::optional<GameReview>& review)
{
    if (review) return !writeBeside(gameFileName, kKind, reviewText(*review));
    removeBeside(gameFileName, kKind);
    return true;
}

} // namespace palisade
