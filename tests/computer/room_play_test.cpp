#include "../gameroom/recording_view.h"
#include "computer/computer_answers.h"
#include "computer/match.h"
#include "computer/room_moves.h"
#include "random_positions.h"

#include <gtest/gtest.h>

namespace palisade {
namespace {

using namespace letters;

// A game room whose screen is a RecordingView, with the computer's answers between them.
struct ComputerRoom {
    explicit ComputerRoom(const Position& start, Players players)
    {
        answers.watch(room);
        answers.setPlayers(players);
        room.setUp(start);
    }
    RecordingView screen;
    ComputerAnswers answers{screen};
    GameRoom room{answers};
};

const Players kWhiteComputer{{true, 1}, {false, 3}};
const Players kBlackComputer{{false, 3}, {true, 1}};

// White's pawn on 6 stands one step from promotion on 7.
const Position kPromotion = with({{6, P}, {40, K}, {48, K}, {110, k}, {118, k}});

TEST(ComputerMoves, PromotionsAreAnsweredForTheComputerAndWrittenLikeAnyOther)
{
    const std::pair<MoveExtra, int> cases[] = {
        {MoveExtra::Queen, Q}, {MoveExtra::Knight, N}, {MoveExtra::Rook, R}, {MoveExtra::Bishop, B}};
    for (const auto& [extra, code] : cases) {
        ComputerRoom game(kPromotion, kWhiteComputer);
        ASSERT_TRUE(isLegal(kPromotion, {6, 7, extra}));
        playComputerMove(game.room, game.answers, {6, 7, extra});
        EXPECT_EQ(game.room.position().squares[7], code);
        EXPECT_TRUE(game.screen.questions.empty());
        EXPECT_EQ(game.room.history().moveText(1), game.room.notation());
        EXPECT_EQ(game.room.statusText(), "Black to Move");
    }
}

TEST(ComputerMoves, APersonStillAnswersTheirOwnQuestions)
{
    ComputerRoom game(kPromotion, kBlackComputer);
    game.screen.answers = {false, true};
    game.room.clickSquare(6);
    game.room.clickSquare(7);
    EXPECT_EQ(game.screen.questions, (std::vector<std::string>{"Queen?", "Knight?"}));
    EXPECT_EQ(game.room.position().squares[7], N);
}

// Notes whether the computer's layer counted the screen as waiting while it asked.
struct WatchedScreen : RecordingView {
    bool ask(Question question) override
    {
        waitingSeen.push_back(answers->screenWaiting());
        return RecordingView::ask(question);
    }
    const ComputerAnswers* answers = nullptr;
    std::vector<bool> waitingSeen;
};

TEST(ComputerMoves, TheScreenCountsAsWaitingOnlyWhileItAsks)
{
    WatchedScreen screen;
    ComputerAnswers answers(screen);
    screen.answers = &answers;
    GameRoom room(answers);
    answers.setPlayers(kBlackComputer);
    room.setUp(kPromotion);
    room.clickSquare(6);
    room.clickSquare(7);
    EXPECT_EQ(screen.waitingSeen, (std::vector<bool>{true, true, true}));
    EXPECT_FALSE(answers.screenWaiting());
}

TEST(ComputerMoves, KingsideCastleOnlyForTheCastleMove)
{
    // The knight and bishop have left 8 and 32 so that king A may castle there.
    Position position = standardPosition();
    position.squares[8] = kEmpty;
    position.squares[32] = kEmpty;
    for (const MoveExtra extra : {MoveExtra::Castle, MoveExtra::Plain}) {
        ComputerRoom game(position, kWhiteComputer);
        ASSERT_TRUE(isLegal(position, {40, 8, extra}));
        playComputerMove(game.room, game.answers, {40, 8, extra});
        const Board& squares = game.room.position().squares;
        EXPECT_EQ(squares[8], K);
        EXPECT_EQ(squares[40], extra == MoveExtra::Castle ? R : kEmpty);
        EXPECT_EQ(game.room.notation(), extra == MoveExtra::Castle ? "2O-O1" : "2b1 - K1b1");
        EXPECT_TRUE(game.screen.questions.empty());
    }
}

// The knight from 4 to 10 attacks both of Black's kings on 16 and 25; under
// "Destroy Both Kings!" Black keeps one of them.
Position forkToDestroy()
{
    Position position = with({{4, N}, {16, k}, {25, k}, {110, K}, {118, K}});
    position.winOption = 1;
    return position;
}

TEST(ComputerMoves, TheComputerChoosesTheKingToSaveAndMovesIt)
{
    ComputerRoom game(forkToDestroy(), kBlackComputer);
    game.room.clickSquare(4);
    game.room.clickSquare(10);
    EXPECT_TRUE(game.screen.questions.empty());
    // The room waits for the computer's choice and takes no click meanwhile.
    ASSERT_EQ(game.room.kingChoice(), (KingChoice{16, 25}));
    game.room.clickSquare(16);
    EXPECT_TRUE(game.room.pieceSelected() && game.room.selectedSquare() == 16);
    chooseKingNow(game.room);
    EXPECT_FALSE(game.room.kingChoice());
    ASSERT_EQ(game.room.position().kingsStanding, 1);
    ASSERT_TRUE(game.room.selectionLocked());
    const int kept = game.room.selectedSquare();

    Searcher searcher(1);
    const std::atomic<bool> noStop{false};
    const auto move = searcher.search(game.room.position(), roomLimits(game.room, levelOf(1), 3), noStop).best;
    ASSERT_TRUE(move);
    EXPECT_EQ(move->pick, kept);
    playComputerMove(game.room, game.answers, *move);
    EXPECT_EQ(game.room.position().squares[move->drop], k);
    EXPECT_EQ(game.room.statusText(), "White to Move");
}

TEST(ComputerMoves, APersonIsAskedWhichKingToSaveWhenTheComputerForks)
{
    ComputerRoom game(forkToDestroy(), kWhiteComputer);
    game.screen.answers = {true};
    playComputerMove(game.room, game.answers, {4, 10, MoveExtra::Plain});
    EXPECT_EQ(game.screen.questions, std::vector<std::string>{"Save this king?"});
    EXPECT_EQ(game.room.selectedSquare(), 16);
}

// Knights out and back, "Switch Sides", and out and back again: the eighth
// half-move repeats the boards four and eight back only as the board now
// stands. Black, two queens down, must see that going home is the draw.
TEST(ComputerRepetition, SeesTheDrawTheGameSeesAcrossSwitchSides)
{
    Position start = standardPosition();
    start.squares[55] = kEmpty;
    start.squares[79] = kEmpty;
    ComputerRoom game(start, kBlackComputer);
    const auto play = [&](const Line& line) {
        for (const auto& [from, to] : line) {
            game.room.clickSquare(from);
            game.room.clickSquare(to);
        }
    };
    play({{8, 18}, {15, 5}, {18, 8}, {5, 15}});
    game.room.switchSides();
    play({{23, 13}, {16, 26}, {13, 23}});
    ASSERT_EQ(game.room.halfMoves(), 7);

    SearchLimits limits = roomLimits(game.room, levelOf(kLevelCount), 0);
    limits.maxTime = std::chrono::milliseconds(0);
    limits.maxNodes = 0;
    limits.maxDepth = 3;
    limits.noise = 0;
    Searcher searcher(1);
    const std::atomic<bool> noStop{false};
    const SearchReport report = searcher.search(game.room.position(), limits, noStop);
    ASSERT_TRUE(report.best);
    EXPECT_EQ(*report.best, (Move{26, 16, MoveExtra::Plain}));
    EXPECT_EQ(report.score, 0);

    playComputerMove(game.room, game.answers, *report.best);
    EXPECT_EQ(game.room.statusText(), "DRAW!");
    EXPECT_EQ(game.room.result(), (GameResult{Status::Draw, EndReason::Repetition}));
}

TEST(SelfPlay, HundredsOfFastGamesEndWithoutAFault)
{
    // Each game throws if a player finds no move in a game still going or the
    // game room refuses its move.
    const auto random = makeAgent("random");
    const auto greedy = makeAgent("greedy");
    const auto beginner = makeAgent("1");
    const MatchScore quick = playMatch(*random, *greedy, 200, 1, 200);
    EXPECT_EQ(quick.games, 200);
    EXPECT_GT(quick.losses, quick.wins);
    const MatchScore searched = playMatch(*beginner, *random, 40, 2, 120);
    EXPECT_EQ(searched.losses, 0);
    EXPECT_GT(searched.wins, 20);
}

} // namespace
} // namespace palisade
