#include "shell/start_screen.h"

#include "shell/forms.h"
#include "shell/key_click_button.h"
#include "shell/labels.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>

namespace palisade {

StartScreen::StartScreen(Forms& forms, QWidget* parent) : QWidget(parent), forms_(forms)
{
    setObjectName("Form1");
    setWindowTitle("Palisade Brindle");

    auto* title = makeLabel("Palisade Brindle", "Label1", this);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 2.0);
    title->setFont(titleFont);

    auto* open = new KeyClickButton("Open Saved Game", "Command1", this);
    auto* enter = new KeyClickButton("Enter Game Room", "Command2", this);
    auto* exit = new KeyClickButton("Exit", "Command3", this);
    auto* rules = new KeyClickButton("Rules", "Command4", this);
    auto* about = new KeyClickButton("About", "Command5", this);
    // Saved games and the rules menu are not part of this build yet.
    open->setEnabled(false);
    rules->setEnabled(false);

    connect(enter, &QPushButton::clicked, this, [this] { forms_.showGameRoom(); });
    connect(exit, &QPushButton::clicked, qApp, &QApplication::quit, Qt::QueuedConnection);
    connect(about, &QPushButton::clicked, this, [this] { forms_.showAbout(); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(36, 24, 36, 24);
    layout->setSpacing(8);
    layout->addWidget(title);
    layout->addWidget(makeLabel("Chess in three dimensions: four half-boards, one 4 x 4 x 8 block", "Label2", this));
    layout->addWidget(makeLabel("Two kings and two queens a side, for two players at one screen", "Label3", this));
    layout->addSpacing(12);
    for (QPushButton* button : {enter, open, rules, about, exit}) {
        button->setMinimumHeight(32);
        layout->addWidget(button);
    }
    layout->addSpacing(12);
    layout->addWidget(makeLabel(" ", "Label4", this));
    layout->addWidget(makeLabel("Made by the Palisade Brindle developers", "Label5", this));
    for (QLabel* label : findChildren<QLabel*>()) label->setAlignment(Qt::AlignCenter);
    enter->setFocus();
}

} // namespace palisade
