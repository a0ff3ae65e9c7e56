#pragma once

#include <QPushButton>

namespace palisade {

// A button that any typed key presses, not only Space.
class KeyClickButton : public QPushButton {
    Q_OBJECT
public:
    KeyClickButton(const QString& text, const QString& name, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace palisade
