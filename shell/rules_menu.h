#pragma once

#include "shell/tutorial_window.h"

#include <QPixmap>
#include <QPointer>
#include <QWidget>
#include <array>

namespace palisade {

class Forms;

// The rules menu: one button a tutorial, and the complete rules. Its background
// is "oldboard.jpg" from the current directory when there is one.
class RulesMenu : public QWidget {
    Q_OBJECT
public:
    explicit RulesMenu(Forms& forms, QWidget* parent = nullptr);

    bool showsPictureFile() const { return !picture_.isNull(); }

    // Made on first use, then only shown again.
    TutorialWindow& showTutorial(Tutorial tutorial);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* makePanel();

    Forms& forms_;
    QPixmap picture_;
    std::array<QPointer<TutorialWindow>, 5> tutorials_;
};

} // namespace palisade
