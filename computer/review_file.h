#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace palisade {

// A finished review: the evaluation of each position of the game, in pawns
// from White's side, and the search's nodes a position that found them.
struct GameReview {
    std::int64_t nodes = 0;
    std::vector<double> evaluations;

    friend bool operator==(const GameReview&, const GameReview&) = default;
};

// A review is kept beside its saved game, NAME.brd.review, so that opening
// the game shows it at once.
std::string reviewFileName(const std::string& gameFileName);

// "nodes N", then one evaluation a line with two decimals: "0.35", "-1.20".
std::string reviewText(const GameReview& review);
// Anything else, a game of no position or of more than a game can hold, or an
// evaluation beyond a mate's, is no review.
std::optional<GameReview> reviewOfText(const std::string& text);

// The review kept beside a game: none, the one of the game file as it is, or
// one that does not belong to it (kept for other bytes, or not a review).
struct KeptReview {
    enum class State { None, Kept, NotThisGame };
    State state = State::None;
    GameReview review;
};
KeptReview readReview(const std::string& gameFileName);
// Written once the game file is; with no review an old one is removed, so it
// cannot outlive the game it judged.
bool keepReview(const std::string& gameFileName, const std::optional<GameReview>& review);

} // namespace palisade
