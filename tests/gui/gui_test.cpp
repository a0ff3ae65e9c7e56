// The windows as a player meets them: captions, buttons, and clicks on the
// drawn board that reach the game through the real widgets.

#include "window_driving.h"
#include "engine/targets.h"
#include "render/board_view.h"
#include "shell/forms.h"
#include "shell/game_room_window.h"
#include "shell/start_screen.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace palisade;

namespace {

QString textOf(QWidget* parent, const char* name)
{
    if (auto* label = parent->findChild<QLabel*>(name)) return label->text();
    if (auto* button = parent->findChild<QPushButton*>(name)) return button->text();
    return "<no " + QString(name) + ">";
}

QPushButton* button(QWidget* parent, const char* name)
{
    return parent->findChild<QPushButton*>(name);
}

// Cancels the next file box once it is open.
void cancelNextFileBox(int triesLeft = 50)
{
    QTimer::singleShot(10, [triesLeft] {
        if (auto* box = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            box->reject();
        } else if (triesLeft > 0) {
            cancelNextFileBox(triesLeft - 1);
        } else {
            qFatal("no file box open");
        }
    });
}

} // namespace

class GuiTest : public QObject {
    Q_OBJECT

private slots:
    // A game left unsaved by an earlier case would be asked about on entering the game room.
    void init() { QFile::remove(Forms().recoveryPath()); }

    void startScreenLeadsIntoTheGameRoom()
    {
        Forms forms;
        forms.showStartScreen();
        StartScreen& start = forms.startScreen();
        button(&start, "Command2")->click();
        GameRoomWindow* room = forms.gameRoom();
        QVERIFY(room && room->isVisible());
        QVERIFY(!start.isVisible());
        QCOMPARE(textOf(room, "Label2"), QString("White to Move"));
        QVERIFY(!room->findChild<QLabel*>("Label3")->isVisible());
        QVERIFY(room->findChild<QWidget*>("board") && room->findChild<QWidget*>("Picture1"));
    }

    void aboutBoxOpensAndEscHidesIt()
    {
        Forms forms;
        forms.showStartScreen();
        button(&forms.startScreen(), "Command5")->click();
        QDialog* about = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == "abouting") about = qobject_cast<QDialog*>(window);
        }
        QVERIFY(about && about->isVisible());
        QTest::keyClick(button(about, "Command1"), Qt::Key_Escape);
        QVERIFY(!about->isVisible());
    }

    void clicksOnTheDrawnBoardSelectAndMoveAtAnySize()
    {
        Forms forms;
        forms.showGameRoom();
        GameRoomWindow& window = *forms.gameRoom();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        GameRoom& room = window.room();

        for (const QSize size : {QSize(500, 420), QSize(1400, 1000), QSize(900, 500)}) {
            window.resize(size);
            QCoreApplication::processEvents();
            for (int square : {0, 8, 40, 87, 127}) {
                clickSquare(window, square);
                const bool white = isWhite(room.position().squares[square]);
                QCOMPARE(room.pieceSelected(), white);
                if (!white) continue;
                QCOMPARE(room.selectedSquare(), square);
                clickSquare(window, square); // put it down again
            }
        }
        clickSquare(window, 8, Qt::RightButton);
        QVERIFY(!room.pieceSelected());

        clickSquare(window, 8);
        const int to = generateTargets(room.position(), 8).front().square;
        QVERIFY(room.isTarget(to));
        clickSquare(window, to);
        QCOMPARE(room.position().squares[to], kWhiteKnight);
        QCOMPARE(textOf(&window, "Label2"), QString("Black to Move"));
        QCOMPARE(textOf(&window, "notation"), QString::fromStdString(room.notation()));
        QCOMPARE(window.findChild<QListWidget*>("moveList")->count(), 1);

        // Take Back and Forward through their buttons; Forward shows only while it leads somewhere.
        QPushButton* forward = button(&window, "Command4");
        QVERIFY(!forward->isVisible());
        button(&window, "Command3")->click();
        QCOMPARE(room.position(), standardPosition());
        QVERIFY(forward->isVisible());
        forward->click();
        QCOMPARE(room.position().squares[to], kWhiteKnight);
        QVERIFY(!forward->isVisible());
        // The menu's two jumps do the same over the whole game.
        window.findChild<QAction*>("beginning")->trigger();
        QCOMPARE(room.position(), standardPosition());
        window.findChild<QAction*>("forward")->trigger();
        QCOMPARE(room.position().squares[to], kWhiteKnight);
    }

    void exitAsksOnlyWhenMovesAreUnsavedAndBringsBackTheStartScreen()
    {
        Forms forms;
        forms.showGameRoom();
        QPointer<GameRoomWindow> window = forms.gameRoom();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        clickSquare(*window, 8);
        clickSquare(*window, generateTargets(window->room().position(), 8).front().square);

        answerNextMessageBox(QMessageBox::Cancel);
        button(window, "Command2")->click();
        QVERIFY(window && window->isVisible());

        answerNextMessageBox(QMessageBox::Ok);
        button(window, "Command2")->click();
        QTRY_VERIFY(!window);
        QVERIFY(forms.startScreen().isVisible());

        // The game left unsaved waits to be resumed: entering again asks before it goes.
        answerNextMessageBox(QMessageBox::Ok);
        forms.showGameRoom(); // a fresh game room after the old one closed
        QCOMPARE(forms.gameRoom()->room().position(), standardPosition());
    }

    void cancellingAFileBoxChangesNothing()
    {
        Forms forms;
        forms.showGameRoom();
        GameRoomWindow& window = *forms.gameRoom();
        clickSquare(window, 8);
        clickSquare(window, generateTargets(window.room().position(), 8).front().square);
        const Position played = window.room().position();

        for (const char* command : {"save", "savea"}) {
            cancelNextFileBox();
            window.findChild<QAction*>(command)->trigger();
            QVERIFY(!window.room().gameSaved());
            QCOMPARE(window.windowTitle(), QString("Game Room"));
        }
        // Open asks first about the unsaved move; Cancel there, or in the file box, keeps the game.
        answerNextMessageBox(QMessageBox::Cancel);
        window.findChild<QAction*>("open")->trigger();
        QCOMPARE(window.room().position(), played);
        QTimer::singleShot(0, [] {
            cancelNextFileBox();
            qobject_cast<QMessageBox*>(QApplication::activeModalWidget())->button(QMessageBox::Ok)->click();
        });
        window.findChild<QAction*>("open")->trigger();
        QCOMPARE(window.room().position(), played);
        QVERIFY(!window.room().gameSaved());
    }
};

QTEST_MAIN(GuiTest)
#include "gui_test.moc"
