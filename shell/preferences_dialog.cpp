#include "shell/preferences_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <cmath>

namespace palisade {

PreferencesDialog::PreferencesDialog(const Preferences& current, QWidget* parent) : QDialog(parent)
{
    setObjectName("preferences");
    setWindowTitle("Preferences");
    new QVBoxLayout(this);
    coordinates_ = addSwitch("Show the coordinates along the half-boards", "showCoordinates",
                             current.board.coordinates);
    lastMove_ = addSwitch("Highlight the last move", "showLastMove", current.board.lastMove);
    checks_ = addSwitch("Mark a check: the king, its attackers and their lines", "showChecks",
                        current.board.checks);
    keepSelectionOnRefusal_ = addSwitch("Keep the piece selected when a move is not allowed",
                                        "keepSelectionOnRefusal", current.keepSelectionOnRefusal);
    autosave_ =
        addSwitch("Keep the unsaved game safe after every move", "autosave", current.autosave);

    computerPause_ = new QDoubleSpinBox(this);
    computerPause_->setObjectName("computerPause");
    computerPause_->setRange(0.0, kMaxComputerPauseMs / 1000.0);
    computerPause_->setDecimals(1);
    computerPause_->setSingleStep(0.5);
    computerPause_->setSuffix(" s");
    computerPause_->setValue(current.computerPause.count() / 1000.0);
    auto* pauseRow = new QHBoxLayout;
    auto* pauseLabel = new QLabel("Pause before each move while the computer plays both sides", this);
    pauseLabel->setBuddy(computerPause_);
    pauseRow->addWidget(pauseLabel);
    pauseRow->addWidget(computerPause_);
    static_cast<QVBoxLayout*>(layout())->addLayout(pauseRow);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout()->addWidget(buttons);
}

QCheckBox* PreferencesDialog::addSwitch(const QString& text, const char* name, bool on)
{
    auto* box = new QCheckBox(text, this);
    box->setObjectName(name);
    box->setChecked(on);
    layout()->addWidget(box);
    return box;
}

Preferences PreferencesDialog::preferences() const
{
    Preferences chosen;
    chosen.board = {coordinates_->isChecked(), lastMove_->isChecked(), checks_->isChecked()};
    chosen.keepSelectionOnRefusal = keepSelectionOnRefusal_->isChecked();
    chosen.autosave = autosave_->isChecked();
    chosen.computerPause = std::chrono::milliseconds(std::lround(computerPause_->value() * 1000.0));
    return chosen;
}

} // namespace palisade
