#include "remote_pair.h"

#include "../gameroom/endings.h"

#include <gtest/gtest.h>

namespace palisade::remote {
namespace {

// White's pawn from 25 walks up and takes on 22; Black's knight steps out and back.
const Line kToPromotion = {{25, 27}, {15, 45}, {27, 28}, {45, 15}, {28, 29}, {15, 45}, {29, 22}, {45, 15}};
// Knight, bishop and the pieces between leave king A's kingside landing squares free.
const Line kToCastle = {{41, 43}, {15, 45}, {8, 18},  {45, 15}, {32, 50},  {15, 45}, {73, 75},
                        {45, 15}, {72, 74}, {15, 45}, {104, 73}, {45, 15}, {64, 34}, {15, 45}};

// Plays a line alternately on both sides, each move carried across at once.
void playLine(Pair& pair, Room& reference, const Line& line)
{
    for (const auto& [from, to] : line) {
        Player& mover = sideToMove(pair.white.room.position().status) == Side::White ? pair.white : pair.black;
        ASSERT_TRUE(mover.game->localTurn()) << from << " -> " << to;
        mover.play(from, to);
        pair.pump();
        reference.play(from, to);
    }
}

void expectBothLike(const Pair& pair, const GameRoom& reference)
{
    EXPECT_EQ(pair.white.bytes(), bytesOf(reference));
    EXPECT_EQ(pair.black.bytes(), bytesOf(reference));
    EXPECT_TRUE(pair.white.outbox.refusals.empty() && pair.black.outbox.refusals.empty())
        << (pair.white.outbox.refusals.empty() ? pair.black.outbox.refusals : pair.white.outbox.refusals).front();
    EXPECT_EQ(pair.white.game->state().agreedHalfMove, pair.black.game->state().agreedHalfMove);
    EXPECT_TRUE(pair.white.game->state().unacknowledged.empty() && pair.black.game->state().unacknowledged.empty());
}

TEST(RemoteGame, MovesTravelWithTheAnswersOfTheirQuestions)
{
    // Each promotion piece, and the kingside castle taken and declined.
    for (const MoveAnswer answer : {MoveAnswer::Queen, MoveAnswer::Knight, MoveAnswer::Rook, MoveAnswer::Bishop}) {
        Pair pair;
        Room reference;
        ASSERT_NO_FATAL_FAILURE(playLine(pair, reference, kToPromotion));
        const int noes = static_cast<int>(answer) - 1;
        pair.white.screen.answers.assign(noes, false);
        reference.answers.assign(noes, false);
        if (noes < 3) pair.white.screen.answers.push_back(true), reference.answers.push_back(true);
        ASSERT_NO_FATAL_FAILURE(playLine(pair, reference, {{22, 31}, {15, 45}}));
        EXPECT_TRUE(pair.black.screen.questions.empty());
        expectBothLike(pair, reference);
    }
    for (const bool taken : {true, false}) {
        Pair pair;
        Room reference;
        ASSERT_NO_FATAL_FAILURE(playLine(pair, reference, kToCastle));
        pair.white.screen.answers = {taken};
        reference.answers = {taken};
        ASSERT_NO_FATAL_FAILURE(playLine(pair, reference, {{40, 8}, {45, 15}}));
        EXPECT_EQ(pair.black.room.position().squares[40], taken ? kWhiteRook : kEmpty);
        expectBothLike(pair, reference);
    }
}

TEST(RemoteGame, TheMatedSideChoosesItsKingAndTheOtherWaits)
{
    using endings::kForkMate;
    for (const bool later : {false, true}) {
        for (const bool keepOffered : {true, false}) {
            const Position start = endings::withBothKingsToDestroy(kForkMate.start);
            Pair pair(start, true);
            Room reference(start);
            pair.black.screen.kingChoiceLater = later;
            pair.black.screen.answers = {keepOffered};
            reference.answers = {keepOffered};
            pair.white.play(kForkMate.from, kForkMate.to);
            pair.pump();
            reference.play(kForkMate.from, kForkMate.to);
            // White's program never asks: the choice is Black's.
            EXPECT_TRUE(pair.white.screen.questions.empty());
            EXPECT_EQ(pair.white.game->waitingText(), "Waiting for bob");
            if (later) {
                ASSERT_TRUE(pair.black.room.kingChoice().has_value());
                EXPECT_EQ(pair.black.game->waitingText(), "");
                const KingChoice choice = *pair.black.room.kingChoice();
                const RemoteGame::LocalInput input(*pair.black.game);
                pair.black.room.answerKingChoice(keepOffered ? choice.offered : choice.other);
            }
            pair.pump();
            ASSERT_FALSE(pair.white.room.kingChoice().has_value());
            EXPECT_EQ(pair.white.bytes(), pair.black.bytes());
            // The kept king, selected and locked, moves.
            const int kept = pair.black.room.selectedSquare();
            int to = 0;
            while (to < kSquareCount && !pair.black.room.isTarget(to)) ++to;
            ASSERT_LT(to, kSquareCount);
            pair.black.play(kept, to);
            pair.pump();
            reference.play(kept, to);
            expectBothLike(pair, reference);
        }
    }
}

TEST(RemoteGame, OffersAreAnsweredAtTheirPosition)
{
    Pair pair;
    Room reference;
    ASSERT_NO_FATAL_FAILURE(playLine(pair, reference, {{25, 27}, {15, 45}}));
    pair.white.game->offerDraw();
    pair.pump();
    ASSERT_EQ(pair.black.game->opponentOffer(), (OpenOffer{OfferKind::Draw, 2}));
    pair.black.game->answerOffer(false);
    pair.pump();
    EXPECT_FALSE(pair.white.game->ownOffer().has_value());

    // Take-back on White's turn: White's move and Black's reply.
    ASSERT_NO_FATAL_FAILURE(playLine(pair, reference, {{27, 28}, {45, 15}}));
    pair.white.game->requestTakeBack();
    pair.pump();
    pair.black.game->answerOffer(true);
    pair.pump();
    reference.takeBack();
    reference.takeBack();
    expectBothLike(pair, reference);
    EXPECT_EQ(pair.white.game->state().agreedHalfMove, 2);
    // On Black's turn, White's move alone.
    ASSERT_NO_FATAL_FAILURE(playLine(pair, reference, {{41, 43}}));
    pair.white.game->requestTakeBack();
    pair.pump();
    pair.black.game->answerOffer(true);
    pair.pump();
    reference.takeBack();
    expectBothLike(pair, reference);

    ASSERT_NO_FATAL_FAILURE(playLine(pair, reference, {{41, 42}, {45, 15}}));
    pair.black.game->offerDraw();
    pair.pump();
    pair.white.game->answerOffer(true);
    pair.pump();
    reference.declareDraw();
    expectBothLike(pair, reference);
    EXPECT_EQ(pair.black.room.statusText(), "DRAW!");

    // A new game: colours swap on both sides, under a new id both derive alike.
    const std::string oldId = pair.white.game->setup().gameId;
    pair.black.game->proposeNewGame();
    pair.pump();
    pair.white.game->answerOffer(true);
    pair.pump();
    EXPECT_TRUE(pair.white.outbox.newGames == 1 && pair.black.outbox.newGames == 1);
    EXPECT_EQ(pair.white.game->setup().gameId, pair.black.game->setup().gameId);
    EXPECT_NE(pair.white.game->setup().gameId, oldId);
    EXPECT_EQ(pair.black.game->setup().localSide, Side::White);
    ASSERT_TRUE(pair.black.game->localTurn());
    pair.black.play(25, 27);
    pair.pump();
    Room fresh;
    fresh.play(25, 27);
    EXPECT_EQ(pair.white.bytes(), bytesOf(fresh));
    EXPECT_EQ(pair.black.bytes(), bytesOf(fresh));
}

// An answer must never cross a move on the way: the offerer waits for it,
// and a move of the other side sets the offer aside on both.
TEST(RemoteGame, AnOfferAndAMoveNeverCross)
{
    Pair pair;
    Room reference;
    pair.white.game->offerDraw();
    EXPECT_FALSE(pair.white.game->localTurn());
    EXPECT_EQ(pair.white.game->waitingText(), "Waiting for bob");
    pair.pump();
    pair.black.game->answerOffer(false);
    pair.pump();
    ASSERT_TRUE(pair.white.game->localTurn());
    ASSERT_NO_FATAL_FAILURE(playLine(pair, reference, {{25, 27}}));

    // Offered on the opponent's turn, who moves instead of answering.
    pair.white.game->offerDraw();
    pair.pump();
    ASSERT_TRUE(pair.black.game->localTurn());
    pair.black.play(15, 45);
    pair.black.game->answerOffer(true);
    pair.pump();
    reference.play(15, 45);
    EXPECT_FALSE(pair.white.game->ownOffer().has_value());
    EXPECT_EQ(pair.white.bytes(), bytesOf(reference));
    EXPECT_EQ(pair.black.bytes(), bytesOf(reference));
    EXPECT_TRUE(pair.white.game->localTurn());
}

TEST(RemoteGame, ResignationLosesForTheResignerWhoeverIsToMove)
{
    Pair pair;
    Room reference;
    ASSERT_NO_FATAL_FAILURE(playLine(pair, reference, {{25, 27}, {15, 45}}));
    pair.black.game->resign();
    pair.pump();
    reference.resignSide(Side::Black);
    expectBothLike(pair, reference);
    EXPECT_EQ(pair.white.room.statusText(), "White Wins!");
    EXPECT_EQ(pair.white.room.standingNotice(), reference.standingNotice());
}

TEST(RemoteGame, SwitchSidesTurnsOneViewOnly)
{
    Pair pair;
    Room reference, turned;
    const Line opening(kToPromotion.begin(), kToPromotion.begin() + 2);
    const Line rest(kToPromotion.begin() + 2, kToPromotion.end());
    ASSERT_NO_FATAL_FAILURE(playLine(pair, reference, opening));
    turned.play(opening);
    pair.black.room.switchSides();
    turned.switchSides();
    ASSERT_NO_FATAL_FAILURE(playLine(pair, reference, rest));
    for (const auto& [from, to] : rest) turned.play(turnedSquare(from), turnedSquare(to));
    pair.black.screen.answers = {true}; // a question for White's program only; never asked here
    ASSERT_NO_FATAL_FAILURE(playLine(pair, reference, {{22, 31}}));
    turned.play(turnedSquare(22), turnedSquare(31));
    EXPECT_EQ(pair.white.bytes(), bytesOf(reference));
    EXPECT_EQ(pair.black.bytes(), bytesOf(turned));
    EXPECT_TRUE(pair.black.screen.questions.empty());
}

TEST(RemoteGame, ADroppedLinkResendsWhatWasNotAcknowledged)
{
    Pair pair;
    Room reference;
    pair.white.game->linkUp();
    pair.black.game->linkUp();
    pair.pump();
    pair.blackHears = false;
    pair.white.play(25, 27);
    reference.play(25, 27);
    pair.white.game->resendDue();
    pair.pump();
    EXPECT_EQ(pair.white.game->state().unacknowledged.size(), 1u);
    EXPECT_EQ(pair.black.room.halfMoves(), 0);
    pair.white.game->linkDown();
    pair.black.game->linkDown();
    pair.blackHears = true;
    pair.black.game->linkUp();
    pair.white.game->linkUp();
    pair.pump();
    ASSERT_NO_FATAL_FAILURE(playLine(pair, reference, {{15, 45}, {27, 28}}));
    expectBothLike(pair, reference);
    EXPECT_EQ(pair.white.outbox.resyncs + pair.black.outbox.resyncs, 0);
}

TEST(RemoteGame, PartedGamesAreOfferedTheOpponentsGameAndChangeOnlyOnAccept)
{
    Pair pair;
    Room reference;
    ASSERT_NO_FATAL_FAILURE(playLine(pair, reference, {{25, 27}, {15, 45}}));
    pair.black.room.toggleWinOption(); // a game that parted from White's
    const std::string parted = pair.black.bytes();
    pair.white.game->linkUp();
    pair.black.game->linkUp();
    pair.pump();
    ASSERT_EQ(pair.black.outbox.resyncs, 1);
    EXPECT_EQ(pair.black.bytes(), parted);
    pair.black.game->acceptResync();
    pair.white.game->declineResync();
    EXPECT_EQ(pair.black.bytes(), pair.white.bytes());
    ASSERT_NO_FATAL_FAILURE(playLine(pair, reference, {{27, 28}, {45, 15}}));
    expectBothLike(pair, reference);
}

TEST(RemoteGame, WaitsForInputAndQuestionsBeforeTheOpponentsMoves)
{
    Pair pair;
    pair.white.play(25, 27);
    {
        const RemoteGame::LocalInput input(*pair.black.game);
        pair.pump();
        EXPECT_EQ(pair.black.room.halfMoves(), 0);
    }
    EXPECT_EQ(pair.black.room.halfMoves(), 1);
    // A move the owner let through off the local turn is undone and never sent.
    const Position before = pair.white.room.position();
    pair.white.click(15);
    pair.white.click(45);
    EXPECT_TRUE(pair.white.room.position() == before && pair.white.room.halfMoves() == 1);
    EXPECT_TRUE(pair.white.outbox.sent.empty());
    pair.black.game->sendChat("gut gespielt \xe2\x99\x9e");
    pair.black.game->sendChat(std::string("bad\x01", 4));
    pair.pump();
    EXPECT_EQ(pair.white.outbox.chats, std::vector<std::string>{"gut gespielt \xe2\x99\x9e"});
}

TEST(RemoteGame, MessagesAreHandledOnceAndInOrder)
{
    Pair pair;
    pair.white.play(25, 27);
    const std::string first = pair.white.outbox.sent.front();
    pair.white.outbox.sent.clear();
    pair.white.game->sendChat("one");
    pair.white.game->sendChat("two");
    const std::string third = pair.white.outbox.sent.back();
    pair.white.outbox.sent.clear();
    // A gap waits; the same message twice counts once; the resend fills the gap.
    pair.black.game->received(third);
    pair.black.game->received(first);
    pair.black.game->received(first);
    EXPECT_EQ(pair.black.room.halfMoves(), 1);
    EXPECT_TRUE(pair.black.outbox.chats.empty());
    pair.white.game->linkUp();
    pair.pump();
    EXPECT_EQ(pair.black.outbox.chats, (std::vector<std::string>{"one", "two"}));
    EXPECT_TRUE(pair.white.game->state().unacknowledged.empty());
    EXPECT_TRUE(pair.black.outbox.refusals.empty());
}

TEST(RemoteGame, ADeclinedInvitationEndsTheGameBeforeItStarts)
{
    Player white;
    white.game = std::make_unique<RemoteGame>(white.room, white.answers, white.outbox,
                                              GameSetup{newGameId(), Side::Black, "bob"});
    white.game->sendInvite({Side::Black, 0, ""});
    EXPECT_EQ(white.game->waitingText(), "Waiting for bob");
    const auto invitation = std::get<WireMessage>(decode(white.outbox.sent.front()));
    white.game->received(RemoteGame::declineInvite(invitation));
    EXPECT_EQ(white.outbox.inviteAnswer, false);
    EXPECT_FALSE(white.game->started());
    EXPECT_EQ(white.game->waitingText(), "");
}

TEST(RemoteGame, AGameSentInTheInvitationGoesOnFromItsOwnMove)
{
    Player white, black;
    white.room.setUp();
    for (const int square : {41, 43, 54, 52}) white.room.clickSquare(square);
    white.game = std::make_unique<RemoteGame>(white.room, white.answers, white.outbox,
                                              GameSetup{newGameId(), Side::White, "bob"});
    white.game->sendInvite({Side::White, 0, bytesOf(white.room)});
    const auto invitation = std::get<WireMessage>(decode(white.outbox.sent.front()));
    black.room.loadRecovered(std::get<SavedGame>(decodeSavedGame(std::get<Invite>(invitation.body).savedGame)));
    black.game = std::make_unique<RemoteGame>(black.room, black.answers, black.outbox,
                                              GameSetup{invitation.gameId, Side::Black, "alice"});
    black.game->acceptInvite(invitation.sequence);
    for (const std::string& message : black.outbox.sent) white.game->received(message);

    ASSERT_TRUE(white.game->localTurn());
    white.play(43, 52);
    for (const std::string& message : white.outbox.sent) black.game->received(message);
    EXPECT_EQ(black.bytes(), white.bytes());
    EXPECT_TRUE(black.game->localTurn());
    EXPECT_TRUE(black.outbox.refusals.empty());
}

// The opponent's program may send anything: each refusal names why, and the
// game stays exactly as it was.
TEST(RemoteGame, HostileMessagesAreRefusedAndChangeNothing)
{
    Pair pair;
    Room reference;
    ASSERT_NO_FATAL_FAILURE(playLine(pair, reference, {{25, 27}, {15, 45}}));
    Player& black = pair.black;
    const std::string id = black.game->setup().gameId;
    const auto next = [&] { return black.game->state().lastReceived + 1; };
    const auto hashAfter = [&](int from, int to) {
        Room copy;
        copy.loadRecovered(black.room.savedGame());
        copy.play(from, to);
        return roomHash(copy);
    };
    const std::uint64_t good = hashAfter(27, 28);
    const auto move = [&](int halfMove, int from, int to, MoveAnswer answer, std::uint64_t hash) {
        return encode({id, next(), MoveMessage{halfMove, from, to, answer, hash}});
    };
    const std::vector<std::pair<const char*, std::function<std::string()>>> hostile = {
        {"illegal move", [&] { return move(2, 27, 30, MoveAnswer::None, good); }},
        {"a black piece", [&] { return move(2, 45, 15, MoveAnswer::None, good); }},
        {"wrong hash", [&] { return move(2, 27, 28, MoveAnswer::None, good ^ 1); }},
        {"answer never asked", [&] { return move(2, 27, 28, MoveAnswer::Queen, good); }},
        {"stale half-move", [&] { return move(1, 27, 28, MoveAnswer::None, good); }},
        {"king choice out of the blue", [&] { return encode({id, next(), KingMessage{2, 16, good}}); }},
        {"stale offer answer", [&] { return encode({id, next(), OfferAnswer{2, OfferKind::Draw, true}}); }},
        {"stale offer", [&] { return encode({id, next(), Offer{0, OfferKind::Draw}}); }},
        {"a second answer to the invitation", [&] { return encode({id, next(), InviteAnswer{true}}); }},
        {"another game", [&] { return encode({"0123456789abcdef", next(), Resignation{2}}); }},
        {"resync of garbage", [&] { return encode({id, next(), Resync{"not a game"}}); }},
        {"huge", [&] { return std::string(4 << 20, 'x'); }},
        {"garbage", [&] { return std::string("\x89PNG\r\n\x1a\n", 8); }},
        {"old version", [&] { return "palisade 0 " + id + " 9 move 2 27 28 - 0000000000000000"; }},
    };
    const std::string before = black.bytes();
    for (const auto& [what, text] : hostile) {
        const auto refusals = black.outbox.refusals.size();
        black.game->received(text());
        ASSERT_EQ(black.outbox.refusals.size(), refusals + 1) << what;
        EXPECT_FALSE(black.outbox.refusals.back().empty()) << what;
        EXPECT_EQ(black.bytes(), before) << what;
        EXPECT_FALSE(black.game->proposedGame().has_value()) << what;
        black.outbox.sent.clear();
    }
    EXPECT_EQ(black.outbox.refusals[2], "The opponent's move leads to another position than the opponent reports.");
    // Out of turn: White moves twice.
    pair.white.outbox.sent.clear();
    black.game->received(move(2, 27, 28, MoveAnswer::None, good));
    ASSERT_EQ(black.room.halfMoves(), 3);
    const auto refusals = black.outbox.refusals.size();
    black.game->received(move(3, 28, 29, MoveAnswer::None, good));
    EXPECT_EQ(black.outbox.refusals.size(), refusals + 1);
    EXPECT_EQ(black.outbox.refusals.back(), "The opponent moved out of turn.");
    EXPECT_EQ(black.room.halfMoves(), 3);
}

} // namespace
} // namespace palisade::remote
