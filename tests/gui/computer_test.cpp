// Playing the computer in the game room: the players dialog, the computer's
// replies through the board, Stop, Take Back and Move Now during a search,
// the hint, closing mid-search, and the players kept with a saved game.

#include "../computer/random_positions.h"
#include "window_driving.h"
#include "computer/players.h"
#include "gameroom/silent_view.h"
#include "engine/targets.h"
#include "render/board_view.h"
#include "shell/computer_player.h"
#include "shell/forms.h"
#include "shell/game_room_window.h"
#include "shell/hint_overlay.h"
#include "shell/players_dialog.h"
#include "shell/start_screen.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

#include <memory>

using namespace palisade;

namespace {

constexpr int kLongWait = 20000; // ms; a search of the strongest level ends by Stop long before

const Players kComputerWhite{{true, kLevelCount}, {false, kDefaultLevel}};
const Players kComputerBlack{{false, kDefaultLevel}, {true, kLevelCount}};

QPushButton* button(QWidget* parent, const char* name) { return parent->findChild<QPushButton*>(name); }

// White's knight from 8 to its first target, by two clicks on the board.
void playKnightOut(GameRoomWindow& window)
{
    clickSquare(window, 8);
    clickSquare(window, generateTargets(window.room().position(), 8).front().square);
}

const Players kComputerBoth{{true, 1}, {true, 1}};

// Whether every call queued on the window's thread so far has run, within a
// bound: the work a click set going for later has then had its turn.
bool queuedCallsHaveRun()
{
    const auto reached = std::make_shared<bool>(false);
    QTimer::singleShot(0, qApp, [reached] { *reached = true; });
    return QTest::qWaitFor([reached] { return *reached; }, kLongWait);
}

void setComputerPause(GameRoomWindow& window, std::chrono::milliseconds pause)
{
    Preferences preferences = window.preferences();
    preferences.computerPause = pause;
    window.applyPreferences(preferences);
}

} // namespace

class ComputerTest : public QObject {
    Q_OBJECT

private slots:
    // A game left unsaved by an earlier case would be asked about on entering the game room.
    void init() { QFile::remove(Forms().recoveryPath()); }

    void thePlayersDialogStartsAGameTheComputerAnswers()
    {
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        QVERIFY(!window.findChild<QWidget*>("computerPanel")->isVisible());
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<PlayersDialog*>(QApplication::activeModalWidget());
            if (!dialog) qFatal("no players dialog open");
            QVERIFY(!dialog->findChild<QComboBox*>("blackLevel")->isEnabled());
            dialog->findChild<QComboBox*>("blackPlayer")->setCurrentIndex(1);
            QVERIFY(dialog->findChild<QComboBox*>("blackLevel")->isEnabled());
            dialog->findChild<QComboBox*>("blackLevel")->setCurrentIndex(0);
            dialog->accept();
        });
        window.findChild<QAction*>("players")->trigger();
        QCOMPARE(window.computer().players(), (Players{{false, kDefaultLevel}, {true, 1}}));
        QVERIFY(window.findChild<QWidget*>("computerPanel")->isVisible());

        playKnightOut(window);
        QTRY_COMPARE_WITH_TIMEOUT(window.room().halfMoves(), 2, kLongWait);
        const MoveHistory& history = window.room().history();
        QVERIFY(!history.moveText(2).empty());
        QCOMPARE(window.findChild<QLabel*>("notation")->text(), QString::fromStdString(history.moveText(2)));
        QCOMPARE(window.findChild<QLabel*>("Label2")->text(), QString("White to Move"));
    }

    void stopPlaysTheBestMoveFoundSoFar()
    {
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        window.computer().setPlayers(kComputerWhite);
        QTRY_VERIFY(window.computer().thinking());
        QVERIFY(window.findChild<QWidget*>("thinkingProgress")->isVisible());
        QCOMPARE(window.findChild<QLabel*>("computerStatus")->text(), QString("Computer is thinking..."));
        // The board is the computer's while it thinks, for the mouse and the keyboard cursor.
        clickSquare(window, 8);
        QTest::keyClick(&window.boardView(), Qt::Key_Down);
        QTest::keyClick(&window.boardView(), Qt::Key_Return);
        QVERIFY(!window.room().pieceSelected());

        button(&window, "stopThinking")->click();
        QTRY_COMPARE_WITH_TIMEOUT(window.room().halfMoves(), 1, kLongWait);
        QVERIFY(!window.computer().thinking());
        QCOMPARE(window.findChild<QLabel*>("Label2")->text(), QString("Black to Move"));
    }

    void takeBackDuringASearchAbandonsItAndTheComputerWaitsForMoveNow()
    {
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        window.computer().setPlayers(kComputerBlack);
        playKnightOut(window);
        QTRY_VERIFY(window.computer().thinking());

        button(&window, "Command3")->click(); // Take Back
        QVERIFY(!window.computer().thinking());
        QCOMPARE(window.room().halfMoves(), 0);
        // Forward to the end of the game: Black's turn again, and it thinks again.
        button(&window, "Command4")->click();
        QTRY_VERIFY(window.computer().thinking());

        button(&window, "Command3")->click();
        QCOMPARE(window.room().halfMoves(), 0);
        QVERIFY(!window.computer().thinking());
        // A hint's search starts only once the abandoned one has ended and
        // queued its report: when the hint shows, that report has been
        // dealt with, and it played nothing.
        auto* overlay = window.findChild<HintOverlay*>("hintOverlay");
        window.findChild<QAction*>("hint")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(overlay->isVisible(), kLongWait);
        QCOMPARE(window.room().halfMoves(), 0);
        QVERIFY(!window.computer().thinking());
        QVERIFY(isLegal(window.room().position(), *overlay->shown()));

        // A person's move from the looked-back position makes a new line the computer answers.
        playKnightOut(window);
        QTRY_VERIFY(window.computer().thinking());
        button(&window, "stopThinking")->click();
        QTRY_COMPARE_WITH_TIMEOUT(window.room().halfMoves(), 2, kLongWait);
        QCOMPARE(window.room().history().lastHalfMove(), 2);
    }

    void moveNowPlaysFromAPositionLookedBackOn()
    {
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        window.computer().setPlayers(kComputerWhite);
        QTRY_VERIFY(window.computer().thinking());
        button(&window, "stopThinking")->click();
        QTRY_COMPARE_WITH_TIMEOUT(window.room().halfMoves(), 1, kLongWait);
        button(&window, "Command3")->click();
        QVERIFY(queuedCallsHaveRun());
        QVERIFY(!window.computer().thinking());
        QVERIFY(button(&window, "moveNow")->isVisible());

        button(&window, "moveNow")->click();
        QVERIFY(window.computer().thinking());
        button(&window, "stopThinking")->click();
        QTRY_COMPARE_WITH_TIMEOUT(window.room().halfMoves(), 1, kLongWait);
        QVERIFY(!window.room().forwardVisible());
    }

    void theComputerAgainstItselfPausesBeforeEachMove()
    {
        constexpr qint64 kPause = 400;  // ms
        constexpr qint64 kPolling = 60; // ms a move may be seen late
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        setComputerPause(window, std::chrono::milliseconds(kPause));
        QElapsedTimer clock;
        clock.start();
        window.computer().setPlayers(kComputerBoth);
        QVERIFY(window.computer().pausing() && !window.computer().thinking());
        // When each half-move is first seen; two seen at once came without a pause.
        std::vector<qint64> seen;
        QVERIFY(QTest::qWaitFor(
            [&] {
                while (int(seen.size()) < window.room().halfMoves()) seen.push_back(clock.elapsed());
                return seen.size() >= 3;
            },
            kLongWait));
        for (std::size_t i = 0; i < seen.size(); ++i) {
            const qint64 gap = seen[i] - (i == 0 ? 0 : seen[i - 1]);
            QVERIFY2(gap >= kPause - kPolling,
                     qPrintable(QString("half-move %1 came %2 ms after the one before").arg(i + 1).arg(gap)));
        }
        // No pause at all plays on at once.
        setComputerPause(window, std::chrono::milliseconds(0));
        QTRY_VERIFY_WITH_TIMEOUT(window.room().halfMoves() >= 5, kLongWait);
    }

    void takeBackAndClosingCancelThePause()
    {
        Forms forms;
        QPointer<GameRoomWindow> window = &enterGameRoom(forms);
        // White's first move comes without a pause; then the pause before
        // Black's lasts longer than any step of the test, however slow.
        window->computer().setPlayers({{true, 1}, {false, kDefaultLevel}});
        QTRY_COMPARE_WITH_TIMEOUT(window->room().halfMoves(), 1, kLongWait);
        setComputerPause(*window, std::chrono::milliseconds(10 * kLongWait));
        window->computer().setPlayers(kComputerBoth);
        QVERIFY(window->computer().pausing());
        button(window, "Command3")->click(); // Take Back
        QVERIFY(!window->computer().pausing() && !window->computer().thinking());
        QCOMPARE(window->room().halfMoves(), 0);

        button(window, "Command4")->click(); // Forward: the computer's turn again, after the pause
        QTRY_VERIFY(window->computer().pausing());
        answerNextMessageBox(QMessageBox::Ok); // "Exit without saving?"
        window->close();
        QVERIFY(window && !window->computer().pausing() && !window->computer().thinking());
        QTRY_VERIFY(!window);
    }

    void aPersonsOpponentDoesNotPause()
    {
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        setComputerPause(window, std::chrono::milliseconds(30000));
        window.computer().setPlayers({{false, kDefaultLevel}, {true, 1}});
        playKnightOut(window);
        QVERIFY(!window.computer().pausing());
        QTRY_COMPARE_WITH_TIMEOUT(window.room().halfMoves(), 2, 10000); // far below the pause
    }

    void theHintMarksALegalMoveUntilThePositionChanges()
    {
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        auto* overlay = window.findChild<HintOverlay*>("hintOverlay");
        QVERIFY(overlay && !overlay->isVisible());
        window.findChild<QAction*>("hint")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(overlay->isVisible(), kLongWait);
        const auto hint = overlay->shown();
        QVERIFY(hint && isLegal(window.room().position(), *hint));
        QVERIFY(window.findChild<QLabel*>("computerStatus")->text().startsWith("Hint: "));
        QVERIFY(window.findChild<QWidget*>("computerPanel")->isVisible());

        playKnightOut(window);
        QVERIFY(!overlay->isVisible());
        QVERIFY(!window.findChild<QWidget*>("computerPanel")->isVisible());
    }

    // White's knight from 4 to 10 forks Black's kings on 16 and 25 under
    // "Destroy Both Kings!": the computer, not a question box, keeps one, and
    // then moves it.
    void theComputerChoosesTheKingToSaveAndMovesIt()
    {
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        Position fork;
        for (const auto& [square, code] : {std::pair{4, kWhiteKnight}, {16, kBlackKing}, {25, kBlackKing},
                                           {110, kWhiteKing}, {118, kWhiteKing}}) {
            fork.squares[square] = code;
        }
        fork.winOption = 1;
        window.room().setUp(fork);
        window.computer().setPlayers({{false, kDefaultLevel}, {true, 1}});
        clickSquare(window, 4);
        clickSquare(window, 10);
        QVERIFY(!QApplication::activeModalWidget());
        QTRY_COMPARE_WITH_TIMEOUT(window.room().halfMoves(), 2, kLongWait);
        QVERIFY(!window.room().kingChoice());
        QCOMPARE(window.room().position().kingsStanding, 1);
        QCOMPARE(window.findChild<QLabel*>("Label2")->text(), QString("White to Move"));
    }

    void closingTheGameRoomMidSearchEndsItsThread()
    {
        Forms forms;
        QPointer<GameRoomWindow> window = &enterGameRoom(forms);
        window->computer().setPlayers(kComputerWhite);
        QTRY_VERIFY(window->computer().thinking());
        button(window, "Command2")->click(); // Exit: nothing unsaved, no question
        QTRY_VERIFY(!window);
        QVERIFY(forms.startScreen().isVisible());
        // A fresh game room starts with two people and nothing running.
        GameRoomWindow& again = enterGameRoom(forms);
        QVERIFY(!again.computer().thinking());
        QVERIFY(!again.computer().players().anyComputer());
    }

    void savingAndReopeningKeepsThePlayers()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("against.brd");
        const Players players{{false, kDefaultLevel}, {true, 2}};
        {
            Forms forms;
            GameRoomWindow& window = enterGameRoom(forms);
            window.computer().setPlayers(players);
            saveAs(window, path);
            QCOMPARE(QString::fromStdString(window.room().fileName()), path);
        }
        QCOMPARE(readPlayers(path.toStdString()).players, players);
        {
            Forms forms;
            forms.showStartScreen();
            QVERIFY(forms.openSavedGame(path));
            QCOMPARE(forms.gameRoom()->computer().players(), players);
        }
        // Another game saved over it without them: they no longer count, and the player is told.
        SilentView silent;
        const auto other = std::make_unique<GameRoom>(silent);
        other->clickSquare(8);
        other->clickSquare(18);
        QVERIFY(other->save(path.toStdString()));
        Forms forms;
        forms.showStartScreen();
        answerNextMessageBox(QMessageBox::Ok);
        QVERIFY(forms.openSavedGame(path));
        QCOMPARE(forms.gameRoom()->computer().players(), Players{});
    }
};

QTEST_MAIN(ComputerTest)
#include "computer_test.moc"
