#pragma once

#include <QWidget>

class QCloseEvent;
class QPushButton;

namespace palisade {

class Forms;

// The first window: the ways into the program.
class StartScreen : public QWidget {
    Q_OBJECT
public:
    explicit StartScreen(Forms& forms, QWidget* parent = nullptr);

    // Shows "Resume Unsaved Game" while a game left unsaved waits.
    void offerRecoveredGame(bool offered);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Forms& forms_;
    QPushButton* resume_ = nullptr;
};

} // namespace palisade
