#include "../engine/test_positions.h"
#include "computer/game_positions.h"
#include "computer/game_review.h"
#include "computer/move_marks.h"
#include "computer/review_file.h"
#include "engine/move_board.h"
#include "gameroom/game_room.h"
#include "gameroom/silent_view.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

namespace palisade {
namespace {

using namespace letters;
using Marks = std::vector<MoveMark>;
constexpr MoveMark o = MoveMark::None, m = MoveMark::Mistake, b = MoveMark::Blunder;

const std::atomic<bool> kNoStop{false};
// Small, so that the tests are quick; the program's budget is larger.
constexpr std::int64_t kTestNodes = 3000;

TEST(MarkMoves, AMistakeCostsItsMoverTwoPawns)
{
    // White moves first: a fall of White's evaluation is White's loss.
    EXPECT_EQ(markMoves({0.0, -1.99}), (Marks{o, o}));
    EXPECT_EQ(markMoves({0.0, -2.0}), (Marks{o, m}));
    // Black's loss is a rise.
    EXPECT_EQ(markMoves({0.0, 0.5, 2.5}), (Marks{o, o, m}));
    EXPECT_EQ(markMoves({0.0, 0.5, 2.49}), (Marks{o, o, o}));
    // A side already lost still loses.
    EXPECT_EQ(markMoves({-5.0, -9.0}), (Marks{o, m}));
    // With Black to move first, the turns start with Black.
    EXPECT_EQ(markMoves({0.0, 2.0, 0.0}, Side::Black), (Marks{o, m, m}));
    EXPECT_TRUE(markMoves({}).empty());
    EXPECT_EQ(markMoves({1.0}), (Marks{o}));
}

TEST(MarkMoves, ABlunderThrowsAWonPositionAwayToALostOrDrawnOne)
{
    EXPECT_EQ(markMoves({3.0, -3.0}), (Marks{o, b}));
    EXPECT_EQ(markMoves({0.0, -3.5, 4.0}), (Marks{o, m, b})); // Black, won at -3.5, now lost
    // Drawn: within a pawn of even, or an actual draw.
    EXPECT_EQ(markMoves({4.0, 1.0}), (Marks{o, b}));
    EXPECT_EQ(markMoves({kMateInPawns, 0.0}), (Marks{o, b}));
    EXPECT_EQ(markMoves({0.0, -6.0, -0.5}), (Marks{o, m, b}));
    // Anything between drawn and lost too.
    EXPECT_EQ(markMoves({5.0, -2.0}), (Marks{o, b}));
}

TEST(MarkMoves, AWonPositionThatStaysWonOrWasNeverWonIsNoBlunder)
{
    // Still ahead by more than a pawn: a mistake at most.
    EXPECT_EQ(markMoves({4.0, 1.01}), (Marks{o, m}));
    EXPECT_EQ(markMoves({8.0, 4.0}), (Marks{o, m}));
    // Not won before: a mistake, however far it falls.
    EXPECT_EQ(markMoves({2.9, -3.0}), (Marks{o, m}));
    // Beyond ten pawns the game is decided: from a mate to a rook ahead costs nothing.
    EXPECT_EQ(markMoves({kMateInPawns, 12.0}), (Marks{o, o}));
    EXPECT_EQ(markMoves({12.0, 10.5}), (Marks{o, o}));
    EXPECT_EQ(markMoves({-kMateInPawns, -kMateInPawns}), (Marks{o, o}));
}

TEST(MarkMoves, TextOfEachMark)
{
    EXPECT_EQ(markText(MoveMark::None), "");
    EXPECT_EQ(markText(MoveMark::Mistake), "?");
    EXPECT_EQ(markText(MoveMark::Blunder), "??");
}

// A game room playing the first plain move of a piece other than a king each
// turn, as clicks: a few half-moves of a real game, no questions asked.
struct PlayedGame {
    explicit PlayedGame(int halfMoves)
    {
        for (int i = 0; i < halfMoves; ++i) playFirstMove(i);
    }

    void playFirstMove(int skip)
    {
        MoveList moves;
        MoveBoard(room->position()).generate(moves);
        std::vector<Move> plain;
        for (const Move move : moves) {
            if (move.extra == MoveExtra::Plain && !isKing(room->position().squares[move.pick])) plain.push_back(move);
        }
        ASSERT_FALSE(plain.empty());
        const Move move = plain[static_cast<std::size_t>(skip) * 7 % plain.size()];
        room->clickSquare(move.pick);
        room->clickSquare(move.drop);
    }

    SilentView view;
    std::unique_ptr<GameRoom> room = std::make_unique<GameRoom>(view);
};

TEST(GamePositions, EveryPositionOfTheGameWhicheverIsShownAndHoweverTurned)
{
    PlayedGame game(6);
    GameRoom& room = *game.room;
    ASSERT_EQ(room.history().lastHalfMove(), 6);
    const std::vector<Position> record = gamePositions(room, 0);
    ASSERT_EQ(record.size(), 7u);
    EXPECT_EQ(record.front().squares, standardPosition().squares);
    EXPECT_EQ(record.back(), (Position{room.position()}));
    EXPECT_EQ(record[3].status, Status::BlackToMove);

    room.takeBack();
    room.takeBack();
    EXPECT_EQ(gamePositions(room, 0), record);
    room.switchSides();
    EXPECT_EQ(gamePositions(room, 0), record);
    const std::vector<Position> turned = gamePositions(room, 1);
    EXPECT_EQ(turned[4].squares, room.position().squares);
    EXPECT_NE(turned, record);
    room.backToFirstMove();
    EXPECT_EQ(gamePositions(room, 0), record);
    room.forwardToEnd();
    EXPECT_EQ(gamePositions(room, 0), record);

    // A new line is another game.
    room.takeBack();
    game.playFirstMove(3);
    const std::vector<Position> other = gamePositions(room, 0);
    EXPECT_EQ(other.size(), 7u);
    EXPECT_NE(other, record);
}

TEST(ReviewGame, OneEvaluationAPositionTheSameEachTime)
{
    PlayedGame game(8);
    const std::vector<Position> positions = gamePositions(*game.room, 0);
    std::vector<int> told;
    const std::vector<double> first =
        reviewGame(positions, kTestNodes, kNoStop, [&](int judged, int total) {
            EXPECT_EQ(total, 9);
            told.push_back(judged);
        });
    ASSERT_EQ(first.size(), positions.size());
    EXPECT_EQ(told, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(reviewGame(positions, kTestNodes, kNoStop), first);
}

TEST(ReviewGame, AQueenLeftToBeTakenShowsInTheEvaluations)
{
    // White's rook on 0 reaches Black's queen on 7 along its line; Black to move
    // first may save it, and instead plays a king's step.
    const Position threatened = with({{0, R}, {7, q}, {40, K}, {48, K}, {110, k}, {118, k}}, Bl);
    Position left = threatened;
    MoveList moves;
    MoveBoard board(threatened);
    board.generate(moves);
    for (const Move move : moves) {
        if (move.pick == 110) {
            board.make(move);
            left = board.position();
            break;
        }
    }
    ASSERT_NE(left, threatened);
    const std::vector<double> evaluations = reviewGame({threatened, left}, kTestNodes, kNoStop);
    ASSERT_EQ(evaluations.size(), 2u);
    EXPECT_LT(evaluations[0], -3.0);
    EXPECT_GT(evaluations[1], 3.0);
    EXPECT_EQ(markMoves(evaluations, Side::Black), (Marks{o, b}));
}

// Ends are judged as the game judges them, from the side whose turn it was.
TEST(ReviewGame, FinishedPositionsAreScoredByTheirEnd)
{
    // The fork of both kings is a mate in the standard game...
    Position forked = with({{10, N}, {16, k}, {25, k}, {110, K}, {118, K}}, Bl);
    EXPECT_EQ(reviewGame({forked}, kTestNodes, kNoStop), (std::vector<double>{kMateInPawns}));
    // ... shown with its result after White's move ...
    Position before = with({{4, N}, {16, k}, {25, k}, {110, K}, {118, K}});
    Position won = forked;
    won.status = Status::WhiteWins;
    const std::vector<double> ended = reviewGame({before, won}, kTestNodes, kNoStop);
    EXPECT_EQ(ended, (std::vector<double>{kMateInPawns, kMateInPawns}));
    // ... and under "Destroy Both Kings!" costs Black a king, not the game.
    forked.winOption = 1;
    const std::vector<double> trial = reviewGame({forked}, kTestNodes, kNoStop);
    ASSERT_EQ(trial.size(), 1u);
    EXPECT_GT(trial[0], 5.0);
    EXPECT_LT(trial[0], kMateInPawns);
    // A result with no side known to have moved is the result.
    Position drawn = standardPosition();
    drawn.status = Status::Draw;
    EXPECT_EQ(reviewGame({drawn}, kTestNodes, kNoStop), (std::vector<double>{0.0}));
}

TEST(ReviewGame, AStopEndsItPromptlyWithWhatWasFound)
{
    PlayedGame game(4);
    const std::vector<Position> positions = gamePositions(*game.room, 0);
    std::atomic<bool> stop{false};
    std::atomic<int> judged{0};
    std::vector<double> found;
    std::thread reviewing([&] {
        // A budget no test would wait for.
        found = reviewGame(positions, std::int64_t{1} << 40, stop, [&](int n, int) { judged = n; });
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto asked = std::chrono::steady_clock::now();
    stop = true;
    reviewing.join();
    EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::milliseconds(500));
    EXPECT_LT(found.size(), positions.size());
    EXPECT_EQ(static_cast<int>(found.size()), judged.load());
}

TEST(ReviewFile, TextRoundTripsAndAnythingElseIsRefused)
{
    const GameReview review{100000, {0.0, 0.35, -1.2, kMateInPawns, -kMateInPawns, -0.05, 12.34}};
    EXPECT_EQ(reviewText(review), "nodes 100000\n0.00\n0.35\n-1.20\n100.00\n-100.00\n-0.05\n12.34\n");
    EXPECT_EQ(reviewOfText(reviewText(review)), review);
    std::string tooLong = "nodes 5\n";
    for (int k = 0; k < 403; ++k) tooLong += "0.00\n";
    for (const std::string& text :
         {std::string(), std::string("nodes 5\n"), std::string("nodes 5\n0.00"), std::string("nodes 0\n0.00\n"),
          std::string("nodes -5\n0.00\n"), std::string("nodes x\n0.00\n"), std::string("nodes 5\n0.0\n"),
          std::string("nodes 5\n1\n"), std::string("nodes 5\n+1.00\n"), std::string("nodes 5\n100.01\n"),
          std::string("nodes 5\n-.50\n"), std::string("nodes 5\n1.-5\n"), std::string("nodes 5\n 1.00\n"),
          std::string("nodes 5\n1.00\n\n"), std::string("nodes 5\n99999999999999999999.00\n"),
          std::string("nodes 5\n1.00\nmore\n"), std::string("node 5\n1.00\n"), tooLong, std::string(5000, '\0')}) {
        EXPECT_FALSE(reviewOfText(text)) << text;
    }
}

// A folder of its own, gone afterwards.
struct Folder {
    Folder() { std::filesystem::create_directories(path); }
    ~Folder() { std::filesystem::remove_all(path); }
    std::string file(const char* name) const { return (path / name).string(); }
    std::filesystem::path path = std::filesystem::temp_directory_path() / "palisade_review_test";
};

void write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

TEST(ReviewFile, KeptBesideTheGameUntilTheGameChanges)
{
    const Folder folder;
    const std::string game = folder.file("game.brd");
    write(game, "the game's bytes");
    const GameReview review{kReviewNodes, {0.1, -0.2, 3.5}};
    ASSERT_TRUE(keepReview(game, review));
    EXPECT_EQ(reviewFileName(game), game + ".review");
    EXPECT_EQ(readReview(game).state, KeptReview::State::Kept);
    EXPECT_EQ(readReview(game).review, review);

    write(game, "the game saved again by another program");
    EXPECT_EQ(readReview(game).state, KeptReview::State::NotThisGame);
    EXPECT_EQ(readReview(game).review, GameReview{});

    // A file this program did not write, or a review spoiled, is no review of the game.
    ASSERT_TRUE(keepReview(game, review));
    const std::string kept = [&] {
        std::ifstream in(reviewFileName(game), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    for (const std::string& strange : {std::string(), std::string(1000, 'x'), reviewText(review),
                                       kept.substr(0, kept.size() - 3), kept + "7.00\nx"}) {
        write(reviewFileName(game), strange);
        EXPECT_EQ(readReview(game).state, KeptReview::State::NotThisGame) << strange;
    }

    ASSERT_TRUE(keepReview(game, std::nullopt));
    EXPECT_FALSE(std::filesystem::exists(reviewFileName(game)));
    EXPECT_EQ(readReview(game).state, KeptReview::State::None);
}

} // namespace
} // namespace palisade
