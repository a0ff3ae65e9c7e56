// The windows as a player meets them: captions, buttons, and clicks on the
// drawn board that reach the game through the real widgets.

#include "engine/targets.h"
#include "render/board_view.h"
#include "shell/forms.h"
#include "shell/game_room_window.h"
#include "shell/start_screen.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace palisade;

namespace {

template <typename T = QWidget>
T* child(QWidget* parent, const char* name)
{
    T* found = parent->findChild<T*>(name);
    if (!found) qFatal("no widget named %s", name);
    return found;
}

QString labelText(QWidget* parent, const char* name) { return child<QLabel>(parent, name)->text(); }

// The widget point at the middle of a square's click cell.
QPoint cellCentre(GameRoomWindow& window, int square)
{
    const CellRect& cell = window.room().cells().cell(square);
    const double tx = window.room().cells().twipsPerPixelX();
    const double ty = window.room().cells().twipsPerPixelY();
    const QPointF picturePoint((cell.left + cell.width / 2) / tx, (cell.top + cell.height / 2) / ty);
    return window.boardView().pictureTransform().map(picturePoint).toPoint();
}

void clickSquare(GameRoomWindow& window, int square, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(&window.boardView(), button, Qt::NoModifier, cellCentre(window, square));
}

// Answers the next message box with the given button once it is open.
void answerNextMessageBox(QMessageBox::StandardButton answer)
{
    QTimer::singleShot(0, [answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) qFatal("no message box open");
        box->button(answer)->click();
    });
}

} // namespace

class GuiTest : public QObject {
    Q_OBJECT

private slots:
    void startScreenOffersFiveWaysIn()
    {
        Forms forms;
        forms.showStartScreen();
        StartScreen& start = forms.startScreen();
        QCOMPARE(start.objectName(), QString("Form1"));
        QCOMPARE(start.windowTitle(), QString("Palisade Brindle"));
        QCOMPARE(child<QPushButton>(&start, "Command1")->text(), QString("Open Saved Game"));
        QCOMPARE(child<QPushButton>(&start, "Command2")->text(), QString("Enter Game Room"));
        QCOMPARE(child<QPushButton>(&start, "Command3")->text(), QString("Exit"));
        QCOMPARE(child<QPushButton>(&start, "Command4")->text(), QString("Rules"));
        QCOMPARE(child<QPushButton>(&start, "Command5")->text(), QString("About"));
        QCOMPARE(labelText(&start, "Label4"), QString(" "));
    }

    void aboutBoxShowsItsTextsAndHides()
    {
        Forms forms;
        forms.showStartScreen();
        child<QPushButton>(&forms.startScreen(), "Command5")->click();
        QDialog* about = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == "abouting") about = qobject_cast<QDialog*>(window);
        }
        QVERIFY(about && about->isVisible());
        QCOMPARE(about->windowTitle(), QString("About Box"));
        QCOMPARE(labelText(about, "Label1"), QString("Palisade Brindle - About Box"));
        QCOMPARE(labelText(about, "Label3"), QString(""));
        QCOMPARE(labelText(about, "Label4"), QString("Version 2.0"));
        QTest::keyClick(child<QPushButton>(about, "Command1"), Qt::Key_Escape);
        QVERIFY(!about->isVisible());
    }

    void enteringTheGameRoomShowsTheStartPosition()
    {
        Forms forms;
        forms.showStartScreen();
        child<QPushButton>(&forms.startScreen(), "Command2")->click();
        GameRoomWindow* room = forms.gameRoom();
        QVERIFY(room && room->isVisible());
        QVERIFY(!forms.startScreen().isVisible());
        QCOMPARE(labelText(room, "Label1"), QString("Standard"));
        QCOMPARE(labelText(room, "Label2"), QString("White to Move"));
        QVERIFY(!child<QLabel>(room, "Label3")->isVisible());
        QCOMPARE(labelText(room, "Label9"), QString("Move# 1"));
        QCOMPARE(labelText(room, "Label5"), QString("Click on a piece "));
        QCOMPARE(labelText(room, "Label6"), QString("You may move where "));
        QCOMPARE(labelText(room, "Label4"), QString("Appears "));
        QVERIFY(room->findChild<QWidget*>("board"));
        QVERIFY(room->findChild<QWidget*>("Picture1"));
    }

    void clicksOnTheDrawnBoardSelectAndMove()
    {
        Forms forms;
        forms.showGameRoom();
        GameRoomWindow& window = *forms.gameRoom();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        GameRoom& room = window.room();

        clickSquare(window, 47); // a Black king: not Black's turn
        QVERIFY(!room.pieceSelected());
        clickSquare(window, 8, Qt::RightButton);
        QVERIFY(!room.pieceSelected());

        clickSquare(window, 8);
        QVERIFY(room.pieceSelected());
        QCOMPARE(room.selectedSquare(), 8);
        const TargetList targets = generateTargets(room.position(), 8);
        QVERIFY(!targets.empty());
        for (const Target& target : targets) QVERIFY(room.isTarget(target.square));

        const int to = targets.front().square;
        clickSquare(window, to);
        QCOMPARE(room.position().squares[to], kWhiteKnight);
        QCOMPARE(room.position().squares[8], kEmpty);
        QCOMPARE(labelText(&window, "Label2"), QString("Black to Move"));
        QCOMPARE(labelText(&window, "Label9"), QString("Move# 1"));
    }

    void theBoardScalesAndClicksStillFindTheirSquares()
    {
        Forms forms;
        forms.showGameRoom();
        GameRoomWindow& window = *forms.gameRoom();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (const QSize size : {QSize(500, 420), QSize(1400, 1000), QSize(900, 500)}) {
            window.resize(size);
            QCoreApplication::processEvents();
            for (int square : {0, 8, 40, 87, 127}) {
                clickSquare(window, square);
                const bool white = isWhite(window.room().position().squares[square]);
                QCOMPARE(window.room().pieceSelected(), white);
                if (white) QCOMPARE(window.room().selectedSquare(), square);
                if (white) clickSquare(window, square); // put it down again
            }
        }
    }

    void exitAsksOnlyWhenMovesAreUnsaved()
    {
        Forms forms;
        forms.showGameRoom();
        QPointer<GameRoomWindow> window = forms.gameRoom();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        clickSquare(*window, 8);
        clickSquare(*window, generateTargets(window->room().position(), 8).front().square);

        answerNextMessageBox(QMessageBox::Cancel);
        child<QPushButton>(window, "Command2")->click();
        QVERIFY(window && window->isVisible());

        answerNextMessageBox(QMessageBox::Ok);
        child<QPushButton>(window, "Command2")->click();
        QTRY_VERIFY(!window);
        QVERIFY(forms.startScreen().isVisible());

        forms.showGameRoom(); // a fresh game room after the old one closed
        QCOMPARE(forms.gameRoom()->room().position(), standardPosition());
    }

};

QTEST_MAIN(GuiTest)
#include "gui_test.moc"
