#pragma once

#include "engine/targets.h"
#include "render/board_view.h"
#include "shell/forms.h"
#include "shell/game_room_window.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace palisade {

// Clicks the middle of a square's click cell, mapped the way the board maps it.
inline void clickSquare(GameRoomWindow& window, int square,
                        Qt::MouseButton mouseButton = Qt::LeftButton)
{
    const CellLayout& cells = window.room().cells();
    const CellRect& cell = cells.cell(square);
    const QPointF picturePoint((cell.left + cell.width / 2) / cells.twipsPerPixelX(),
                               (cell.top + cell.height / 2) / cells.twipsPerPixelY());
    const QPoint point = window.boardView().pictureTransform().map(picturePoint).toPoint();
    QTest::mouseClick(&window.boardView(), mouseButton, Qt::NoModifier, point);
}

// The game room as "Enter Game Room" opens it, once it shows. A game an
// earlier case left unsaved would be asked about first, so it goes.
inline GameRoomWindow& enterGameRoom(Forms& forms)
{
    QFile::remove(forms.recoveryPath());
    forms.showGameRoom();
    GameRoomWindow& window = *forms.gameRoom();
    if (!QTest::qWaitForWindowExposed(&window)) qFatal("the game room never showed");
    return window;
}

// Answers the message box that the next step opens.
inline void answerNextMessageBox(QMessageBox::StandardButton answer)
{
    QTimer::singleShot(0, [answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) qFatal("no message box open");
        box->button(answer)->click();
    });
}

// Saves under `path` through "Save As" and its file box.
inline void saveAs(GameRoomWindow& window, const QString& path)
{
    QTimer::singleShot(0, [path] {
        auto* box = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!box) qFatal("no file box open");
        box->selectFile(path);
        static_cast<QDialog*>(box)->accept();
    });
    window.findChild<QAction*>("savea")->trigger();
}

// A knight of the side to move, to its first target, by two clicks.
inline void playAKnight(GameRoomWindow& window)
{
    const Position& position = window.room().position();
    const int knight = codeOf(*sideToMove(position.status), Kind::Knight);
    for (int square = 0; square < kSquareCount; ++square) {
        if (position.squares[square] != knight) continue;
        const auto targets = generateTargets(position, square);
        if (targets.empty()) continue;
        clickSquare(window, square);
        clickSquare(window, targets.front().square);
        return;
    }
    QFAIL("no knight can move");
}

// Works in the dialog of type T once it is the one open, from the event loop
// of that dialog, so that it may close and let the step that opened it go on.
template <typename T> void whenOpen(std::function<void(T&)> work)
{
    auto* look = new QTimer;
    look->setInterval(10);
    QObject::connect(look, &QTimer::timeout, [look, work] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog) return;
        look->stop();
        look->deleteLater();
        work(*dialog);
    });
    look->start();
}

} // namespace palisade
