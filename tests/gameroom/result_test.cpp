// How a game ended and which king was given up, as the status line and the
// move list tell them. Both are read off the position and its record, so they
// follow Take Back, Forward, the jumps, Switch Sides and reopening; only a
// resignation or a declared draw is known to the game being played alone.

#include "endings.h"
#include "engine/check.h"
#include "engine/orientation.h"
#include "gameroom/notation.h"
#include "gameroom/result_text.h"
#include "gameroom/saved_game.h"

#include <functional>
#include <set>

namespace palisade {
namespace {
using namespace letters;
using namespace endings;

struct EndingCase {
    const char* name;
    Position start;
    std::function<void(Room&)> play;
    GameResult result;
    bool recorded; // the record tells the reason, so it survives reopening
};

std::function<void(Room&)> playing(const Line& line)
{
    return [line](Room& room) { ASSERT_NO_FATAL_FAILURE(room.play(line)); };
}

std::function<void(Room&)> playing(const Ending& ending) { return playing(Line{{ending.from, ending.to}}); }

const std::vector<EndingCase>& endingCases()
{
    static const std::vector<EndingCase> cases = {
        {"White mates", kForkMate.start, playing(kForkMate), {Status::WhiteWins, EndReason::Checkmate}, true},
        {"Black mates", with({{4, n}, {16, K}, {25, K}, {110, k}, {118, k}}, Bl), playing(Line{{4, 10}}),
         {Status::BlackWins, EndReason::Checkmate}, true},
        // Under "Destroy Both Kings!" neither of Black's kings could escape alone.
        {"both kings mated", withBothKingsToDestroy(with({{24, k}, {25, k}, {49, Q}, {60, R}, {117, K}, {126, K}})),
         playing(Line{{60, 28}}), {Status::WhiteWins, EndReason::Checkmate}, true},
        {"stalemate", kStalemate.start, playing(kStalemate), {Status::Draw, EndReason::Stalemate}, true},
        {"lone king", kLoneKingDraw.start, playing(kLoneKingDraw), {Status::Draw, EndReason::LoneKing}, true},
        {"repetition", standardPosition(), playing(kKnightsOutAndBack), {Status::Draw, EndReason::Repetition}, true},
        {"Black resigns", standardPosition(), [](Room& room) { room.play(8, 42); room.resign(); },
         {Status::WhiteWins, EndReason::Resignation}, false},
        {"draw declared", standardPosition(), [](Room& room) { room.play(41, 43); room.declareDraw(); },
         {Status::Draw, EndReason::DrawDeclared}, false},
        // Black's kept king stands attacked and only it may move: that is no mate.
        {"resigning after a king is given up", kOneEscapeGiveUp.start,
         [](Room& room) { room.play(kOneEscapeGiveUp.from, kOneEscapeGiveUp.to); room.resign(); },
         {Status::WhiteWins, EndReason::Resignation}, false},
        // White's move came after its time had run out.
        {"White's time ran out", standardPosition(), [](Room& room) { room.play(8, 42); room.flagFall(Side::White); },
         {Status::BlackWins, EndReason::TimeRanOut}, false},
    };
    return cases;
}

// What a room shows of its result once the game is set up again from the record.
GameResult fromRecord(const EndingCase& c)
{
    return c.recorded ? c.result : GameResult{c.result.status, std::nullopt};
}

void expectShown(const Room& room, const GameResult& result, const char* name)
{
    EXPECT_EQ(room.result(), result) << name;
    EXPECT_EQ(room.statusText(), statusText(result.status)) << name;
    EXPECT_EQ(room.standingNotice(), resultNotice(result)) << name;
}

TEST(Result, EachEndingIsToldWithItsReason)
{
    std::set<EndReason> reasons;
    std::set<std::string> notices;
    for (const EndingCase& c : endingCases()) {
        Room room(c.start);
        ASSERT_NO_FATAL_FAILURE(c.play(room));
        expectShown(room, c.result, c.name);
        const std::string notice = room.standingNotice();
        EXPECT_FALSE(notice.empty()) << c.name;
        reasons.insert(*c.result.reason);
        notices.insert(notice);
        // The move list closes with the score, then the reason.
        const char* score = c.result.status == Status::WhiteWins   ? "1–0 "
                            : c.result.status == Status::BlackWins ? "0–1 "
                                                                   : "½–½ ";
        EXPECT_EQ(resultLine(c.result), score + notice) << c.name;
        if (c.result.reason == EndReason::Resignation) {
            EXPECT_EQ(notice.rfind("Black", 0), 0u) << "names the side that resigned";
        }
    }
    EXPECT_EQ(reasons.size(), 7u) << "every reason";
    EXPECT_EQ(resultNotice({Status::BlackWins, EndReason::TimeRanOut}), "White's time ran out");
    EXPECT_EQ(notices.size(), reasons.size()) << "each reason in its own words";
    EXPECT_EQ(resultNotice({Status::Draw, EndReason::Repetition}), "Draw: the same position after 4 and 8 half-moves");
    EXPECT_EQ(resultNotice({Status::WhiteWins, EndReason::Checkmate}), "Checkmate");
    // Without a reason the score stands alone.
    EXPECT_EQ(resultLine({Status::BlackWins, std::nullopt}), "0–1");
    EXPECT_EQ(resultNotice({Status::BlackWins, std::nullopt}), "");
    Room playing;
    EXPECT_FALSE(playing.result());
    EXPECT_EQ(playing.standingNotice(), "");
}

TEST(Result, FollowsTakeBackForwardTheJumpsSwitchingAndReopening)
{
    for (const EndingCase& c : endingCases()) {
        Room room(c.start);
        ASSERT_NO_FATAL_FAILURE(c.play(room));
        const int end = room.halfMoves();

        Room reopened;
        reopened.load(room.savedGame(), "ended.brd");
        expectShown(reopened, fromRecord(c), c.name);
        EXPECT_EQ(encodeSavedGame(reopened.savedGame()), encodeSavedGame(room.savedGame())) << c.name;

        room.switchSides(); // the same game, turned
        expectShown(room, c.result, c.name);
        room.switchSides();

        room.takeBack();
        EXPECT_FALSE(room.result()) << c.name;
        EXPECT_EQ(room.standingNotice(), "") << c.name;
        room.forward();
        expectShown(room, fromRecord(c), c.name);
        room.backToFirstMove();
        EXPECT_FALSE(room.result()) << c.name;
        room.forwardToEnd();
        expectShown(room, fromRecord(c), c.name);
        room.goToHalfMove(0);
        room.goToHalfMove(end);
        expectShown(room, fromRecord(c), c.name);
        room.switchSides();
        reopened.load(room.savedGame(), "ended.brd");
        expectShown(reopened, fromRecord(c), c.name);
    }

    // A draw declared while an earlier position is shown belongs to that
    // position: Forward leaves it behind.
    Room room;
    room.play({{41, 43}, {54, 52}});
    room.takeBack();
    room.declareDraw();
    expectShown(room, {Status::Draw, EndReason::DrawDeclared}, "declared in playback");
    room.forward();
    EXPECT_FALSE(room.result());
    room.backToFirstMove();
    room.declareDraw();
    room.answer = true; // to "Exit Game without saving?"
    room.newGame();
    EXPECT_FALSE(room.result());
}

// Under "Destroy Both Kings!", whichever way the king is given up, the status
// line names it while the position stays on the board, and the move list
// beside the move after which it went.
TEST(GivenUpKing, EitherBranchIsNamedInTheNoticeAndTheMoveList)
{
    const struct {
        Ending ending;
        std::vector<bool> answers; // to "Save this king?"
        int givenUp;
    } cases[] = {{kOneEscapeGiveUp, {}, 0},
                 {{withBothKingsToDestroy(kFork), 4, 10}, {true}, 25},
                 {{withBothKingsToDestroy(kFork), 4, 10}, {false}, 16}};
    for (const auto& c : cases) {
        Room room(c.ending.start);
        room.answers = c.answers;
        room.play(c.ending.from, c.ending.to);
        const std::string told = "Black gave up the king on " + squareText(c.givenUp, 0);
        const std::string listed = room.history().moveText(1) + " (" + told + ")";
        auto expectTold = [&](const Room& shown, bool onBoard) {
            EXPECT_EQ(shown.standingNotice(), onBoard ? told + "." : "") << told;
            EXPECT_EQ(shown.moveListText(1), listed) << told;
        };
        EXPECT_EQ(room.kingGivenUp(1), (GivenUpKing{Side::Black, c.givenUp}));
        expectTold(room, true);
        room.switchSides(); // the square keeps its name
        EXPECT_EQ(room.kingGivenUp(1), (GivenUpKing{Side::Black, turnedSquare(c.givenUp)}));
        expectTold(room, true);
        room.switchSides();

        Room reopened;
        reopened.load(room.savedGame(), "given-up.brd");
        expectTold(reopened, true);
        room.takeBack();
        expectTold(room, false);
        room.forward();
        expectTold(room, true);

        // Once the kept king has moved the notice is done; the list keeps it.
        const int kept = kingsOf(room.position().squares, Side::Black).square[0];
        room.clickSquare(kept);
        const auto marks = room.marks();
        ASSERT_FALSE(marks.empty());
        room.clickSquare(marks.begin()->first);
        ASSERT_EQ(room.halfMoves(), 2);
        expectTold(room, false);
        EXPECT_EQ(room.moveListText(2), room.history().moveText(2));
    }
}

} // namespace
} // namespace palisade
