#pragma once

#include <QKeyEvent>
#include <QWidget>

namespace palisade {

// Esc puts a reference window away; true when it did.
inline bool hideOnEscape(QWidget& window, const QKeyEvent& event)
{
    if (event.key() != Qt::Key_Escape) return false;
    window.hide();
    return true;
}

} // namespace palisade
