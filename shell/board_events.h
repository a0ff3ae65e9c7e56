#pragma once

#include <QEvent>
#include <QKeyEvent>

namespace palisade {

// A press, a drag, or a key that clicks the square under the keyboard cursor:
// what a board that must not take clicks just now keeps back.
inline bool clicksTheBoard(const QEvent& event)
{
    const QEvent::Type type = event.type();
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        const int key = static_cast<const QKeyEvent&>(event).key();
        return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
    }
    return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease
           || type == QEvent::MouseButtonDblClick || type == QEvent::MouseMove;
}

} // namespace palisade
