#pragma once

#include <QWidget>

class QCloseEvent;

namespace palisade {

class Forms;

// The first window: the ways into the program.
class StartScreen : public QWidget {
    Q_OBJECT
public:
    explicit StartScreen(Forms& forms, QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Forms& forms_;
};

} // namespace palisade
