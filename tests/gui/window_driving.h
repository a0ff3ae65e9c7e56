#pragma once

#include "render/board_view.h"
#include "shell/game_room_window.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

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

// Answers the message box that the next step opens.
inline void answerNextMessageBox(QMessageBox::StandardButton answer)
{
    QTimer::singleShot(0, [answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) qFatal("no message box open");
        box->button(answer)->click();
    });
}

} // namespace palisade
