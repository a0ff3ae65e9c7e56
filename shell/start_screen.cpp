#include "shell/start_screen.h"

#include "render/piece_painter.h"
#include "render/pictures.h"
#include "shell/forms.h"
#include "shell/game_room_window.h"
#include "shell/key_click_button.h"
#include "shell/labels.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPainter>
#include <QLabel>
#include <QVBoxLayout>

namespace palisade {

namespace {

// One army in a row, White's pieces and then Black's, king to pawn.
QLabel* makeArmyPicture(QWidget* parent)
{
    constexpr int kPieceWidth = 30;
    constexpr int kPieceHeight = 40;
    const int order[] = {6, 5, 4, 3, 2, 1, 7, 8, 9, 10, 11, 12};
    auto* label = new QLabel(parent);
    label->setPixmap(paintedPicture(QSize(12 * kPieceWidth, kPieceHeight), parent->devicePixelRatioF(),
                                    [&order](QPainter& painter) {
                                        for (int i = 0; i < 12; ++i) {
                                            paintPiece(painter, order[i],
                                                       QRectF(i * kPieceWidth, 0, kPieceWidth, kPieceHeight));
                                        }
                                    }));
    return label;
}

} // namespace

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
    resume_ = new KeyClickButton("Resume Unsaved Game", "resumeGame", this);
    resume_->setToolTip("The game that was not saved when the program last closed");
    connect(resume_, &QPushButton::clicked, this, [this] { forms_.resumeRecoveredGame(); });
    connect(open, &QPushButton::clicked, this, [this] { forms_.chooseAndOpenSavedGame(); });
    connect(enter, &QPushButton::clicked, this, [this] { forms_.showGameRoom(); });
    connect(rules, &QPushButton::clicked, this, [this] { forms_.showRules(); });
    connect(exit, &QPushButton::clicked, qApp, &QApplication::quit, Qt::QueuedConnection);
    connect(about, &QPushButton::clicked, this, [this] { forms_.showAbout(); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(36, 24, 36, 24);
    layout->setSpacing(8);
    layout->addWidget(title);
    layout->addWidget(makeArmyPicture(this));
    layout->addWidget(makeLabel("Chess in three dimensions: four half-boards, one 4 x 4 x 8 block", "Label2", this));
    layout->addWidget(makeLabel("Two kings and two queens a side, for two players at one screen", "Label3", this));
    layout->addSpacing(12);
    // Tab walks the buttons in the order they stand.
    QPushButton* previous = nullptr;
    for (QPushButton* button : std::initializer_list<QPushButton*>{resume_, enter, open, rules, about, exit}) {
        button->setMinimumHeight(32);
        layout->addWidget(button);
        if (previous) setTabOrder(previous, button);
        previous = button;
    }
    layout->addSpacing(12);
    layout->addWidget(makeLabel(" ", "Label4", this));
    layout->addWidget(makeLabel("Made by the Palisade Brindle developers", "Label5", this));
    for (QLabel* label : findChildren<QLabel*>()) label->setAlignment(Qt::AlignCenter);
    enter->setFocus();
}

void StartScreen::offerRecoveredGame(bool offered)
{
    resume_->setVisible(offered);
    adjustSize();
}

void StartScreen::closeEvent(QCloseEvent* event)
{
    // Closing the start screen ends the program unless a game is open.
    if (!forms_.gameRoom() || !forms_.gameRoom()->isVisible()) QApplication::quit();
    event->accept();
}

} // namespace palisade
