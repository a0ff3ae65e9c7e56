#include "shell/rules_menu.h"

#include "render/board_geometry.h"
#include "render/board_painter.h"
#include "shell/escape_key.h"
#include "shell/forms.h"
#include "shell/labels.h"

#include <QDir>
#include <QGridLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace palisade {

namespace {

const char* const kPanelStyle = R"(
#menuPanel { background: rgba(14, 22, 18, 200); border: 1px solid rgba(232, 211, 169, 110);
             border-radius: 12px; }
QLabel { color: #f1e4c6; }
#Label1 { font-size: 20pt; font-weight: bold; }
#Label3, #Label5 { color: #f2c94c; font-size: 12pt; font-style: italic; }
#Label2, #Label10 { color: #cdbf9f; font-size: 9pt; }
#Text1 { background: transparent; border: none; color: #f2c94c; font-size: 20pt; font-weight: bold; }
QPushButton { background: #e8d3a9; color: #2b2118; border: 1px solid #4a2f1b; border-radius: 6px;
              padding: 6px 18px; font-size: 11pt; }
QPushButton:hover { background: #f2dfb4; }
QPushButton:pressed { background: #d9bf8a; }
QPushButton:focus { border: 2px solid #f2c94c; }
)";

QPushButton* makeButton(const QString& text, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setMinimumSize(110, 32);
    return button;
}

// The word MOVES written down the side of the menu.
QTextEdit* makeMovesColumn(QWidget* parent)
{
    auto* text = new QTextEdit(parent);
    text->setObjectName("Text1");
    text->setPlainText("M\nO\nV\nE\nS");
    text->selectAll();
    text->setAlignment(Qt::AlignCenter);
    text->setTextCursor(QTextCursor(text->document()));
    text->setReadOnly(true);
    text->setFocusPolicy(Qt::NoFocus);
    text->setTextInteractionFlags(Qt::NoTextInteraction);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->setFixedWidth(48);
    return text;
}

// Without "oldboard.jpg": the four half-boards, faint, on the board room's green.
void paintOwnBackground(QPainter& painter, const QRectF& area)
{
    QLinearGradient shade(area.topLeft(), area.bottomRight());
    shade.setColorAt(0.0, board_painter::background().lighter(115));
    shade.setColorAt(1.0, board_painter::background().darker(170));
    painter.fillRect(area, shade);

    const QSizeF board = board_geometry::pictureSize();
    const double scale = 1.15 * area.height() / board.height();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(0.3);
    painter.translate(area.right() - 0.8 * board.width() * scale,
                      area.top() - 0.08 * area.height());
    painter.scale(scale, scale);
    board_painter::paintHalfBoards(painter);
    painter.restore();
}

} // namespace

RulesMenu::RulesMenu(Forms& forms, QWidget* parent)
    : QWidget(parent), forms_(forms), picture_(QDir::current().filePath("oldboard.jpg"))
{
    setObjectName("Rules");
    setWindowTitle("RULES");

    auto* layout = new QVBoxLayout(this);
    // The picture shows around the panel; the window fits its content.
    layout->setContentsMargins(44, 40, 44, 40);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(makePanel());
}

QWidget* RulesMenu::makePanel()
{
    auto* panel = new QWidget(this);
    panel->setObjectName("menuPanel");
    panel->setAttribute(Qt::WA_StyledBackground);
    panel->setStyleSheet(kPanelStyle);

    const char* names[] = {"Command1", "Command2", "Command3", "Command4", "Command5"};
    const char* captions[] = {"Pawn", "Rook", "Bishop", "Knight", "Castle"};
    QPushButton* tutorialButtons[5];
    for (int i = 0; i < 5; ++i) {
        tutorialButtons[i] = makeButton(captions[i], names[i], panel);
        connect(tutorialButtons[i], &QPushButton::clicked, this,
                [this, i] { showTutorial(static_cast<Tutorial>(i)); });
    }
    QPushButton* complete = makeButton("Complete Rules", "Command6", panel);
    connect(complete, &QPushButton::clicked, this, [this] { forms_.showHelp(); });

    auto* pieces = new QGridLayout;
    for (int i = 0; i < 4; ++i) pieces->addWidget(tutorialButtons[i], i / 2, i % 2);
    auto* choices = new QVBoxLayout;
    choices->addWidget(makeLabel("Show Me how a", "Label3", panel));
    choices->addLayout(pieces);
    choices->addSpacing(10);
    choices->addWidget(makeLabel("Show Me how to", "Label5", panel));
    choices->addWidget(tutorialButtons[4]);
    choices->addSpacing(18);
    choices->addWidget(complete);

    auto* middle = new QHBoxLayout;
    middle->addWidget(makeMovesColumn(panel));
    middle->addSpacing(12);
    middle->addLayout(choices, 1);

    QLabel* title = makeLabel("Rules of 'Palisade' Chess", "Label1", panel);
    title->setAlignment(Qt::AlignCenter);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(22, 18, 22, 14);
    column->addWidget(title);
    column->addSpacing(8);
    column->addLayout(middle, 1);
    column->addSpacing(14);
    column->addWidget(
        makeLabel("Palisade Brindle 2.0 - the rules as the game plays them", "Label2", panel));
    column->addWidget(makeLabel("Press Esc to put this menu away.", "Label10", panel));
    tutorialButtons[0]->setFocus();
    return panel;
}

TutorialWindow& RulesMenu::showTutorial(Tutorial tutorial)
{
    QPointer<TutorialWindow>& window = tutorials_.at(static_cast<std::size_t>(tutorial));
    if (!window) window = new TutorialWindow(tutorialForm(tutorial), forms_.displayScale(), this);
    window->show();
    window->raise();
    window->activateWindow();
    return *window;
}

void RulesMenu::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (picture_.isNull()) {
        paintOwnBackground(painter, QRectF(rect()));
        return;
    }
    const QPixmap cover =
        picture_.scaled(size(), Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    painter.drawPixmap(QPoint((width() - cover.width()) / 2, (height() - cover.height()) / 2),
                       cover);
}

// Esc on any of the buttons reaches the menu and puts it away.
void RulesMenu::keyPressEvent(QKeyEvent* event)
{
    if (!hideOnEscape(*this, *event)) QWidget::keyPressEvent(event);
}

} // namespace palisade
