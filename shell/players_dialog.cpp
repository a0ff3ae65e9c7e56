#include "shell/players_dialog.h"

#include "shell/time_control_box.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace palisade {

PlayersDialog::PlayersDialog(const Players& players, QWidget* parent) : QDialog(parent)
{
    setObjectName("playersDialog");
    setWindowTitle("New Game");
    auto* form = new QFormLayout;
    white_ = addSide(form, "White", "white", players.white);
    black_ = addSide(form, "Black", "black", players.black);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName("playersButtons");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

PlayersDialog::SideChoice PlayersDialog::addSide(QFormLayout* form, const QString& side, const QString& name,
                                                 const Player& player)
{
    SideChoice choice;
    choice.who = new QComboBox(this);
    choice.who->setObjectName(name + "Player");
    choice.who->addItems({"Person", "Computer"});
    choice.who->setCurrentIndex(player.computer ? 1 : 0);
    choice.level = new QComboBox(this);
    choice.level->setObjectName(name + "Level");
    for (int level = 1; level <= kLevelCount; ++level) {
        choice.level->addItem(QString("%1 - %2").arg(level).arg(QString::fromUtf8(levelOf(level).name)));
    }
    choice.level->setCurrentIndex(player.level - 1);
    choice.level->setEnabled(player.computer);
    connect(choice.who, &QComboBox::currentIndexChanged, choice.level,
            [level = choice.level](int index) { level->setEnabled(index == 1); });

    auto* row = new QHBoxLayout;
    row->addWidget(choice.who);
    row->addWidget(choice.level, 1);
    form->addRow(side + ":", row);
    return choice;
}

Player PlayersDialog::playerOf(const SideChoice& choice)
{
    return {choice.who->currentIndex() == 1, choice.level->currentIndex() + 1};
}

Players PlayersDialog::players() const { return {playerOf(white_), playerOf(black_)}; }

void PlayersDialog::offerTimeControl(const TimeControl& control)
{
    timeControl_ = new TimeControlBox(control, this);
    auto* column = static_cast<QVBoxLayout*>(layout());
    column->insertWidget(column->count() - 1, timeControl_);
}

TimeControl PlayersDialog::timeControl() const { return timeControl_ ? timeControl_->control() : TimeControl{}; }

std::optional<Players> choosePlayers(QWidget* parent, const Players& players, TimeControl* control)
{
    PlayersDialog dialog(players, parent);
    if (control) dialog.offerTimeControl(*control);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    if (control) *control = dialog.timeControl();
    return dialog.players();
}

} // namespace palisade
