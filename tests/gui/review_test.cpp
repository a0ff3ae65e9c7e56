// "Review Game" in the game room: the review runs beside the game, its graph
// takes the board to a move, its marks show in the move list, Cancel and
// closing end it at once, and a saved game opens again with its review.

#include "../engine/test_positions.h"
#include "window_driving.h"
#include "computer/review_file.h"
#include "engine/move_board.h"
#include "engine/targets.h"
#include "gameroom/silent_view.h"
#include "shell/game_reviewer.h"
#include "shell/review_graph.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace palisade;
using namespace palisade::letters;

namespace {

constexpr int kLongWait = 120000; // ms; a review of a few positions ends long before, even on a busy machine

// White can take Black's rook on 0 with its queen on 7, and Black the queen with the rook.
Position queenAndRookFaceEachOther() { return with({{0, r}, {7, Q}, {40, k}, {48, k}, {110, K}, {118, K}}); }

// A plain move of a piece other than a king when there is one, chosen by
// `skip`, played by two clicks of the room: a move no question is asked about.
void playSomeMove(GameRoom& room, int skip)
{
    MoveList moves;
    MoveBoard(room.position()).generate(moves);
    std::vector<Move> plain;
    for (const Move move : moves) {
        if (move.extra == MoveExtra::Plain && !isKing(room.position().squares[move.pick])) plain.push_back(move);
    }
    // Kings alone: a king's step, where no rook can castle.
    for (const Move move : moves) {
        if (plain.empty() && move.extra == MoveExtra::Plain) plain.push_back(move);
    }
    if (plain.empty()) qFatal("no plain move to play");
    const Move move = plain[static_cast<std::size_t>(skip) * 7 % plain.size()];
    room.clickSquare(move.pick);
    room.clickSquare(move.drop);
}

void playSomeMoves(GameRoom& room, int halfMoves)
{
    for (int i = 0; i < halfMoves; ++i) playSomeMove(room, i);
}

// White throws its queen away with a king's step; Black takes it. Clicks on the board.
void hangTheQueen(GameRoomWindow& window)
{
    window.room().setUp(queenAndRookFaceEachOther());
    clickSquare(window, 110);
    clickSquare(window, generateTargets(window.room().position(), 110).front().square);
    clickSquare(window, 0);
    clickSquare(window, 7);
    if (window.room().halfMoves() != 2) qFatal("the queen was not taken");
}

void reviewGame(GameRoomWindow& window) { window.findChild<QAction*>("reviewGame")->trigger(); }

ReviewGraph& graphOf(GameRoomWindow& window) { return *window.findChild<ReviewGraph*>("reviewGraph"); }

QString rowText(GameRoomWindow& window, int row) { return window.findChild<QListWidget*>("moveList")->item(row)->text(); }

bool reviewed(GameRoomWindow& window, std::size_t positions)
{
    return QTest::qWaitFor([&] { return window.review().evaluations().size() == positions; }, kLongWait);
}

// Whether every call queued on the window's thread so far has run.
bool queuedCallsHaveRun()
{
    const auto reached = std::make_shared<bool>(false);
    QTimer::singleShot(0, qApp, [reached] { *reached = true; });
    return QTest::qWaitFor([reached] { return *reached; }, kLongWait);
}

} // namespace

class ReviewTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QFile::remove(Forms().recoveryPath()); }

    void theReviewMarksTheQueenThrownAwayAndItsGraphGoesToAMove()
    {
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        auto* action = window.findChild<QAction*>("reviewGame");
        QVERIFY(action);
        QCOMPARE(action->text(), QString("Review Game"));
        QCOMPARE(action->shortcut(), QKeySequence("Ctrl+R"));
        QVERIFY(!graphOf(window).isVisible());

        hangTheQueen(window);
        reviewGame(window);
        QVERIFY(window.review().reviewing());
        QVERIFY(reviewed(window, 3));
        QVERIFY(!window.review().reviewing());
        QVERIFY(graphOf(window).isVisible());
        QVERIFY(!window.findChild<QProgressBar*>("reviewProgress")->isVisible());
        const std::vector<double>& evaluations = window.review().evaluations();
        QVERIFY2(evaluations[0] > 3.0 && evaluations[1] < -3.0, "the queen's loss shows");
        QVERIFY(rowText(window, 0).endsWith("??"));
        QVERIFY(!rowText(window, 1).contains('?'));
        QCOMPARE(window.review().markOf(1), MoveMark::Blunder);

        // A click on the graph's first point shows the position before the blunder.
        ReviewGraph& graph = graphOf(window);
        QTest::mouseClick(&graph, Qt::LeftButton, Qt::NoModifier, graph.pointOf(0).toPoint());
        QCOMPARE(window.room().halfMoves(), 0);
        QCOMPARE(window.room().position().squares, queenAndRookFaceEachOther().squares);
        QTest::mouseClick(&graph, Qt::LeftButton, Qt::NoModifier, graph.pointOf(2).toPoint());
        QCOMPARE(window.room().halfMoves(), 2);
        // Looking back keeps the review, and so does turning the board.
        QTest::mouseClick(&graph, Qt::LeftButton, Qt::NoModifier, graph.pointOf(1).toPoint());
        QCOMPARE(window.room().halfMoves(), 1);
        window.room().switchSides();
        QCOMPARE(window.review().evaluations(), evaluations);
        QVERIFY(rowText(window, 0).contains("??"));
        // Reviewing the same game again changes nothing.
        reviewGame(window);
        QVERIFY(!window.review().reviewing());

        // A new line is another game: its review goes.
        playSomeMove(window.room(), 0);
        QVERIFY(window.review().evaluations().empty());
        QVERIFY(!graphOf(window).isVisible());
        QVERIFY(!rowText(window, 0).contains('?'));
    }

    void cancelEndsTheReviewAtOnce()
    {
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        playSomeMoves(window.room(), 40);
        reviewGame(window);
        QVERIFY(window.review().reviewing());
        auto* progress = window.findChild<QProgressBar*>("reviewProgress");
        QVERIFY(progress->isVisible());
        QCOMPARE(progress->maximum(), 41);

        QElapsedTimer clock;
        clock.start();
        window.findChild<QPushButton*>("reviewCancel")->click();
        QVERIFY2(clock.elapsed() < 1000, "Cancel waits for no search");
        QVERIFY(!window.review().reviewing());
        QVERIFY(!progress->isVisible());
        QVERIFY(!graphOf(window).isVisible());
        // Nothing comes back from the review that was cancelled.
        QVERIFY(queuedCallsHaveRun());
        QTest::qWait(200);
        QVERIFY(window.review().evaluations().empty());

        // A new move while reviewing ends the review too, and another starts afresh.
        reviewGame(window);
        QVERIFY(window.review().reviewing());
        playSomeMove(window.room(), 1);
        QVERIFY(!window.review().reviewing());
    }

    void closingTheWindowEndsTheReview()
    {
        Forms forms;
        QPointer<GameRoomWindow> window = &enterGameRoom(forms);
        playSomeMoves(window->room(), 40);
        reviewGame(*window);
        QVERIFY(window->review().reviewing());
        QElapsedTimer clock;
        clock.start();
        answerNextMessageBox(QMessageBox::Ok); // "Exit without saving?"
        window->close();
        QVERIFY(window && !window->review().reviewing());
        QVERIFY2(clock.elapsed() < 5000, "closing waits for no search");
        QTRY_VERIFY(!window);
    }

    void aSavedGameOpensWithItsReview()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("blunder.brd");
        std::vector<double> evaluations;
        {
            Forms forms;
            GameRoomWindow& window = enterGameRoom(forms);
            hangTheQueen(window);
            reviewGame(window);
            QVERIFY(reviewed(window, 3));
            evaluations = window.review().evaluations();
            saveAs(window, path);
            QCOMPARE(QString::fromStdString(window.room().fileName()), path);
        }
        QCOMPARE(readReview(path.toStdString()).review.evaluations, evaluations);
        {
            Forms forms;
            forms.showStartScreen();
            QVERIFY(forms.openSavedGame(path));
            GameRoomWindow& window = *forms.gameRoom();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QCOMPARE(window.review().evaluations(), evaluations);
            QVERIFY(!window.review().reviewing());
            QVERIFY(graphOf(window).isVisible());
            QVERIFY(rowText(window, 0).endsWith("??"));

            // Save As takes the review along.
            const QString copy = dir.filePath("copy.brd");
            saveAs(window, copy);
            QCOMPARE(readReview(copy.toStdString()).state, KeptReview::State::Kept);
            QCOMPARE(readReview(copy.toStdString()).review.evaluations, evaluations);
            // A move is a new game: saved, it keeps no review.
            playSomeMove(window.room(), 0);
            QVERIFY(window.review().evaluations().empty());
            window.findChild<QAction*>("save")->trigger();
            QCOMPARE(readReview(copy.toStdString()).state, KeptReview::State::None);
        }
        // Another game saved over it without it: the review no longer counts, and the player is told.
        SilentView silent;
        const auto other = std::make_unique<GameRoom>(silent);
        playSomeMoves(*other, 3);
        QVERIFY(other->save(path.toStdString()));
        Forms forms;
        forms.showStartScreen();
        answerNextMessageBox(QMessageBox::Ok);
        QVERIFY(forms.openSavedGame(path));
        QVERIFY(forms.gameRoom()->review().evaluations().empty());
        QVERIFY(!QApplication::activeModalWidget());
    }
};

QTEST_MAIN(ReviewTest)
#include "review_test.moc"
