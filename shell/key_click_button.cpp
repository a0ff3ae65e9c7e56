#include "shell/key_click_button.h"

#include <QKeyEvent>

namespace palisade {

KeyClickButton::KeyClickButton(const QString& text, const QString& name, QWidget* parent)
    : QPushButton(text, parent)
{
    setObjectName(name);
}

void KeyClickButton::keyPressEvent(QKeyEvent* event)
{
    if (!event->text().isEmpty() && !event->isAutoRepeat()) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

} // namespace palisade
