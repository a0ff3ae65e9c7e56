#include "shell/preferences_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
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

    computerPause_ = addPause(current.computerPause);
    searchThreads_ = addSearchThreadsGroup(*static_cast<QVBoxLayout*>(layout()), current.searchThreads, this);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout()->addWidget(buttons);
}

// In seconds, to a tenth.
QDoubleSpinBox* PreferencesDialog::addPause(std::chrono::milliseconds pause)
{
    auto* seconds = new QDoubleSpinBox(this);
    seconds->setObjectName("computerPause");
    seconds->setRange(0.0, kMaxComputerPauseMs / 1000.0);
    seconds->setDecimals(1);
    seconds->setSingleStep(0.5);
    seconds->setSuffix(" s");
    seconds->setValue(pause.count() / 1000.0);
    auto* label = new QLabel("Pause before each move while the computer plays both sides", this);
    label->setBuddy(seconds);
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(seconds);
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
    return seconds;
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
    chosen.searchThreads = searchThreads_->value();
    return chosen;
}

} // namespace palisade
