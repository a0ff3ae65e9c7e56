// The side panel of the real game room on an X server holds still: the move
// list and the buttons keep their places while "Check!", the first move's
// notation, Forward and the computer's panel come and go, so a second click
// lands where the first did.

#include "window_driving.h"
#include "computer/players.h"
#include "shell/computer_player.h"
#include "shell/forms.h"

#include <QLabel>
#include <QListWidget>
#include <QtTest>

#include <map>

using namespace palisade;

namespace {

// Ends with Black's king on 38 attacked by White's bishop on 100, two half-boards below.
const std::vector<std::pair<int, int>> kCrossBoardCheck = {{1, 2}, {38, 37}, {32, 1}, {47, 38}, {1, 100}};

// Where each control a player clicks stands in the window.
using Places = std::map<QString, QRect>;

Places placesIn(GameRoomWindow& window)
{
    Places places;
    for (const char* name : {"moveList", "Command1", "Command2", "Command3", "Label5", "Label6"}) {
        auto* widget = window.findChild<QWidget*>(name);
        if (!widget) qFatal("no %s in the game room", name);
        places[name] = QRect(widget->mapTo(&window, QPoint(0, 0)), widget->size());
    }
    return places;
}

QString describe(const Places& before, const Places& after)
{
    QString moved;
    for (const auto& [name, place] : before) {
        const QRect now = after.at(name);
        if (now != place) {
            moved += QString("%1 (%2,%3 %4x%5 -> %6,%7 %8x%9) ")
                         .arg(name)
                         .arg(place.x()).arg(place.y()).arg(place.width()).arg(place.height())
                         .arg(now.x()).arg(now.y()).arg(now.width()).arg(now.height());
        }
    }
    return moved;
}

#define COMPARE_PLACES(window, expected)                                                      \
    do {                                                                                      \
        QApplication::processEvents();                                                        \
        const Places now = placesIn(window);                                                  \
        QVERIFY2(now == (expected), qPrintable("moved: " + describe((expected), now)));       \
    } while (false)

} // namespace

class SteadyLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void checkNotationAndForwardMoveNothing()
    {
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        auto* check = window.findChild<QLabel*>("Label3");
        const Places start = placesIn(window);

        for (const auto& [from, to] : kCrossBoardCheck) {
            clickSquare(window, from);
            clickSquare(window, to);
            COMPARE_PLACES(window, start);
        }
        QVERIFY(check->isVisible());
        QTest::mouseClick(window.findChild<QWidget*>("Command3"), Qt::LeftButton); // Take Back
        QVERIFY(!check->isVisible());
        QVERIFY(window.findChild<QWidget*>("Command4")->isVisible()); // Forward
        COMPARE_PLACES(window, start);
        QTest::mouseClick(window.findChild<QWidget*>("Command4"), Qt::LeftButton);
        QVERIFY(check->isVisible());
        COMPARE_PLACES(window, start);

        // A click on a row of the list, then a second at the same point, shows the same move.
        auto* list = window.findChild<QListWidget*>("moveList");
        const QPoint second = list->visualItemRect(list->item(1)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second);
        QCOMPARE(window.room().halfMoves(), 2);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second);
        QCOMPARE(window.room().halfMoves(), 2);
    }

    void theComputersPanelMovesNothing()
    {
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        auto* panel = window.findChild<QWidget*>("computerPanel");
        const Places start = placesIn(window);

        window.computer().setPlayers({{false, kDefaultLevel}, {true, 1}});
        QVERIFY(panel->isVisible());
        COMPARE_PLACES(window, start);
        clickSquare(window, 41);
        clickSquare(window, 43);
        QTRY_VERIFY(window.computer().thinking());
        COMPARE_PLACES(window, start);
        QTRY_COMPARE_WITH_TIMEOUT(window.room().halfMoves(), 2, 20000);
        COMPARE_PLACES(window, start);
        window.computer().setPlayers({});
        QVERIFY(!panel->isVisible());
        COMPARE_PLACES(window, start);
    }
};

QTEST_MAIN(SteadyLayoutTest)
#include "steady_layout_test.moc"
