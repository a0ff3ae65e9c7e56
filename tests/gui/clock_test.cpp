// The chess clock in the real game room: chosen in the players dialog, run by
// moves clicked on the board, standing still while the game is looked back
// on, paused from the menu, ending the game when a flag falls, and kept
// beside a saved game.

#include "window_driving.h"
#include "engine/targets.h"
#include "gameroom/beside_file.h"
#include "gameroom/clock_file.h"
#include "shell/clock_panel.h"
#include "shell/computer_player.h"
#include "shell/forms.h"
#include "shell/game_room_window.h"
#include "shell/players_dialog.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <chrono>

using namespace palisade;
using namespace std::chrono_literals;

namespace {

// Time that moves only when the test says so.
class FakeClock final : public MonotonicClock {
public:
    std::chrono::nanoseconds now() const override { return now_; }
    void advance(std::chrono::nanoseconds by) { now_ += by; }

private:
    std::chrono::nanoseconds now_{1'000'000'000};
};

QString faceText(GameRoomWindow& window, const char* name) { return window.findChild<QLabel*>(name)->text(); }

// The players dialog answered with two people and the time control at `index`
// ("None", "5+3", "15+10", "30+0", "Custom"), custom numbers when given.
void chooseTimeControl(GameRoomWindow& window, int index, int minutes = 0, int increment = 0)
{
    QTimer::singleShot(0, [index, minutes, increment] {
        auto* dialog = qobject_cast<PlayersDialog*>(QApplication::activeModalWidget());
        if (!dialog) qFatal("no players dialog open");
        dialog->findChild<QComboBox*>("timeControl")->setCurrentIndex(index);
        if (minutes > 0) {
            dialog->findChild<QSpinBox*>("clockMinutes")->setValue(minutes);
            dialog->findChild<QSpinBox*>("clockIncrement")->setValue(increment);
        }
        dialog->accept();
    });
    window.findChild<QAction*>("players")->trigger();
}

// The side to move plays the first piece of `from` that has a target, by two clicks.
void playFrom(GameRoomWindow& window, std::initializer_list<int> from)
{
    for (const int square : from) {
        const auto targets = generateTargets(window.room().position(), square);
        if (targets.empty()) continue;
        const int halfMoves = window.room().halfMoves();
        clickSquare(window, square);
        clickSquare(window, targets.front().square);
        QCOMPARE(window.room().halfMoves(), halfMoves + 1);
        return;
    }
    QFAIL("no piece of the list could move");
}

const std::initializer_list<int> kWhitePieces = {8, 9, 10, 11, 40, 41, 42, 43};
const std::initializer_list<int> kBlackPieces = {15, 14, 13, 12, 47, 46, 45, 44};

} // namespace

class ClockTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QFile::remove(Forms().recoveryPath()); }

    void aTimedGameRunsByClicksStandsStillWhenLookingBackAndEndsOnTheFlag()
    {
        FakeClock time; // outlives the window
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        QVERIFY2(!window.findChild<QWidget*>("clockPanel")->isVisible(), "no clock unless chosen");
        window.clockPanel().useTime(time);
        QSignalSpy lowTime(&window.clockPanel(), &ClockPanel::lowTime);

        chooseTimeControl(window, 1); // 5+3
        QCOMPARE(window.clockPanel().clock().control(), (TimeControl{300s, 3s}));
        QVERIFY(window.findChild<QWidget*>("clockPanel")->isVisible());
        QCOMPARE(faceText(window, "whiteClock"), QString("5:00"));
        QCOMPARE(faceText(window, "blackClock"), QString("5:00"));
        QAction* pause = window.findChild<QAction*>("pauseClock");
        QCOMPARE(pause->shortcut(), QKeySequence(Qt::Key_F5));
        QVERIFY2(!pause->isEnabled(), "nothing runs before White's first move");

        time.advance(30s);
        playFrom(window, kWhitePieces);
        time.advance(12s);
        QTRY_COMPARE(faceText(window, "blackClock"), QString("4:48"));
        QCOMPARE(faceText(window, "whiteClock"), QString("5:00"));
        playFrom(window, kBlackPieces);
        QCOMPARE(faceText(window, "blackClock"), QString("4:51")); // the increment after Black's move
        time.advance(20s);
        QTRY_COMPARE(faceText(window, "whiteClock"), QString("4:40"));

        // Looking back stands the clock still, and gives no time back.
        window.findChild<QPushButton*>("Command3")->click();
        time.advance(2min);
        QTest::qWait(2 * kClockRedrawMs);
        QCOMPARE(faceText(window, "whiteClock"), QString("4:40"));
        window.findChild<QPushButton*>("Command4")->click();

        // Pause and Resume from the menu.
        QVERIFY(pause->isEnabled());
        pause->trigger();
        QCOMPARE(pause->text(), QString("Resume Clock"));
        QVERIFY(window.findChild<QWidget*>("clockPaused")->isVisible());
        time.advance(10min);
        QTest::qWait(2 * kClockRedrawMs);
        QCOMPARE(faceText(window, "whiteClock"), QString("4:40"));
        pause->trigger();
        QCOMPARE(pause->text(), QString("Pause Clock"));

        // White runs low, is told once, and its flag falls between clicks.
        time.advance(4min + 35s);
        QTRY_COMPARE(faceText(window, "whiteClock"), QString("0:05.0"));
        QCOMPARE(lowTime.count(), 1);
        QCOMPARE(lowTime.first().first().toBool(), true);
        time.advance(5s);
        QTRY_COMPARE(window.findChild<QLabel*>("Label2")->text(), QString("Black Wins!"));
        QCOMPARE(faceText(window, "whiteClock"), QString("0:00.0"));
        QCOMPARE(window.findChild<QLabel*>("notice")->text(), QString("White's time ran out"));
        auto* moves = window.findChild<QListWidget*>("moveList");
        QCOMPARE(moves->item(moves->count() - 1)->text(), QString("0–1 White's time ran out"));
        QCOMPARE(lowTime.count(), 1);
        time.advance(1min);
        QTest::qWait(2 * kClockRedrawMs);
        QCOMPARE(faceText(window, "blackClock"), QString("4:51")); // the result stopped the clock
    }

    void aCustomControlIsKeptByNewAndTheSwitchTurnsTheClockOff()
    {
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        chooseTimeControl(window, 4, 2, 1);
        QCOMPARE(window.clockPanel().clock().control(), (TimeControl{2min, 1s}));
        QCOMPARE(faceText(window, "whiteClock"), QString("2:00"));
        playFrom(window, kWhitePieces);
        QVERIFY(window.clockPanel().clock().started());
        answerNextMessageBox(QMessageBox::Ok); // leave the unsaved game
        window.findChild<QAction*>("refreshgame")->trigger();
        QCOMPARE(window.clockPanel().clock().control(), (TimeControl{2min, 1s}));
        QVERIFY(!window.clockPanel().clock().started());

        Preferences preferences = window.preferences();
        preferences.showClock = false;
        window.applyPreferences(preferences);
        QVERIFY(!window.findChild<QWidget*>("clockPanel")->isVisible());
        QVERIFY(!window.clockPanel().clock().timed());
    }

    void theClockIsKeptBesideASavedGameAndAStrangeOneIsRefused()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("timed.brd");
        const QString copy = dir.filePath("copy.brd");
        ClockState saved;
        {
            FakeClock time; // outlives the window
            Forms forms;
            GameRoomWindow& window = enterGameRoom(forms);
            window.clockPanel().useTime(time);
            chooseTimeControl(window, 2); // 15+10
            playFrom(window, kWhitePieces);
            time.advance(95s);
            saveAs(window, path);
            saved = window.clockPanel().clock().state();
            QCOMPARE(saved, (ClockState{{15min, 10s}, 900'000ms, 805'000ms, true}));
            saveAs(window, copy);
        }
        QCOMPARE(readClock(path.toStdString()).clock, saved);
        QCOMPARE(readClock(copy.toStdString()).clock, saved); // Save As takes the clock along
        {
            Forms forms;
            forms.showStartScreen();
            QVERIFY(forms.openSavedGame(path));
            GameRoomWindow& window = *forms.gameRoom();
            QCOMPARE(window.clockPanel().clock().state(), saved);
            QVERIFY2(window.clockPanel().clock().paused(), "reopened, it waits for a move or Resume");
            QCOMPARE(faceText(window, "blackClock"), QString("13:25"));
            QCOMPARE(window.findChild<QAction*>("pauseClock")->text(), QString("Resume Clock"));
        }
        // Garbage beside the game, tied to its bytes: refused, the player told, no clock.
        QVERIFY(!writeBeside(copy.toStdString(), "clock", "control 900 10\nwhite -7\nblack 99\nstarted yes\n"));
        Forms forms;
        forms.showStartScreen();
        answerNextMessageBox(QMessageBox::Ok);
        QVERIFY(forms.openSavedGame(copy));
        QVERIFY(!forms.gameRoom()->clockPanel().clock().timed());
        QVERIFY(!forms.gameRoom()->findChild<QWidget*>("clockPanel")->isVisible());
        QCOMPARE(forms.gameRoom()->room().halfMoves(), 1); // the game itself opened whole
    }

    // The computer is just the side to move: its thinking is on its own clock.
    void theComputersMoveComesOutOfItsOwnTime()
    {
        FakeClock time; // outlives the window
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        window.clockPanel().useTime(time);
        chooseTimeControl(window, 1); // 5+3
        window.computer().setPlayers({{false, kDefaultLevel}, {true, 1}});
        playFrom(window, kWhitePieces);
        time.advance(10s); // while it thinks
        QTRY_COMPARE_WITH_TIMEOUT(window.room().halfMoves(), 2, 20000);
        QCOMPARE(window.clockPanel().clock().remaining(Side::Black), 293s);
        QCOMPARE(window.clockPanel().clock().running(), Side::White);
        QCOMPARE(window.clockPanel().clock().remaining(Side::White), 300s);

        // Out of time while it thinks, or with its move late: Black lost either way.
        playFrom(window, kWhitePieces);
        time.advance(294s);
        QTRY_COMPARE(window.findChild<QLabel*>("Label2")->text(), QString("White Wins!"));
        QCOMPARE(window.findChild<QLabel*>("notice")->text(), QString("Black's time ran out"));
        QTRY_VERIFY(!window.computer().thinking());
    }

    void anUnsavedTimedGameIsRecoveredWithItsClock()
    {
        ClockState kept;
        {
            FakeClock time; // outlives the window
            Forms forms;
            GameRoomWindow& window = enterGameRoom(forms);
            window.clockPanel().useTime(time);
            chooseTimeControl(window, 3); // 30+0
            playFrom(window, kWhitePieces);
            time.advance(61s);
            playFrom(window, kBlackPieces);
            kept = window.clockPanel().clock().state();
            QCOMPARE(kept, (ClockState{{30min, 0s}, 1800'000ms, 1739'000ms, true}));
            QCOMPARE(readClock(forms.recoveryPath().toStdString()).clock, kept);
            // Gone without saving, as after a crash: the unsaved game and its clock stay.
        }
        Forms forms;
        forms.showStartScreen();
        forms.resumeRecoveredGame();
        GameRoomWindow& window = *forms.gameRoom();
        QCOMPARE(window.room().halfMoves(), 2);
        QCOMPARE(window.clockPanel().clock().state(), kept);
        QVERIFY(window.clockPanel().clock().paused());
        QCOMPARE(faceText(window, "blackClock"), QString("28:59"));
        QCOMPARE(window.findChild<QAction*>("pauseClock")->text(), QString("Resume Clock"));
        window.findChild<QAction*>("pauseClock")->trigger();
        QCOMPARE(window.clockPanel().clock().running(), Side::White);
    }
};

QTEST_MAIN(ClockTest)
#include "clock_test.moc"
