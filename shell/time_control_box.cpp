#include "shell/time_control_box.h"

#include <QComboBox>
#include <QFormLayout>
#include <QSpinBox>

#include <array>
#include <chrono>

namespace palisade {

namespace {

using std::chrono::minutes;
using std::chrono::seconds;

// The choices after "None"; "Custom" follows them.
const std::array<TimeControl, 3> kPresets = {{
    {minutes(5), seconds(3)},
    {minutes(15), seconds(10)},
    {minutes(30), seconds(0)},
}};

constexpr int kNone = 0;
constexpr int kCustom = static_cast<int>(kPresets.size()) + 1;

int choiceOf(const TimeControl& control)
{
    if (!control.timed()) return kNone;
    for (std::size_t i = 0; i < kPresets.size(); ++i) {
        if (kPresets[i] == control) return static_cast<int>(i) + 1;
    }
    return kCustom;
}

QSpinBox* makeSpin(const char* name, int most, const QString& suffix, int value, QWidget* parent)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(name);
    spin->setRange(name == QString("clockMinutes") ? 1 : 0, most);
    spin->setSuffix(suffix);
    spin->setValue(value);
    return spin;
}

} // namespace

TimeControlBox::TimeControlBox(const TimeControl& control, QWidget* parent) : QGroupBox("Chess clock", parent)
{
    setObjectName("timeControlBox");
    choice_ = new QComboBox(this);
    choice_->setObjectName("timeControl");
    choice_->addItem("None");
    for (const TimeControl& preset : kPresets) {
        choice_->addItem(QString::fromStdString(controlText(preset)));
    }
    choice_->addItem("Custom");
    const TimeControl shown = control.timed() ? control : kPresets[0];
    minutes_ = makeSpin("clockMinutes", int(minutes(kLongestControl).count()), " min",
                        std::max(1, int(std::chrono::duration_cast<minutes>(shown.base).count())), this);
    increment_ = makeSpin("clockIncrement", int(seconds(kLongestIncrement).count()), " s",
                          int(shown.increment.count()), this);

    auto* form = new QFormLayout(this);
    form->addRow("Time for each side:", choice_);
    form->addRow("Minutes:", minutes_);
    form->addRow("Added after each move:", increment_);
    connect(choice_, &QComboBox::currentIndexChanged, this, &TimeControlBox::showChoice);
    choice_->setCurrentIndex(choiceOf(control));
    showChoice(choice_->currentIndex());
}

// The numbers are the player's to set only for "Custom"; a preset shows its own.
void TimeControlBox::showChoice(int index)
{
    const bool custom = index == kCustom;
    minutes_->setEnabled(custom);
    increment_->setEnabled(custom);
    if (index > kNone && index < kCustom) {
        const TimeControl& preset = kPresets[static_cast<std::size_t>(index - 1)];
        minutes_->setValue(int(std::chrono::duration_cast<minutes>(preset.base).count()));
        increment_->setValue(int(preset.increment.count()));
    }
}

TimeControl TimeControlBox::control() const
{
    if (choice_->currentIndex() == kNone) return {};
    return {minutes(minutes_->value()), seconds(increment_->value())};
}

} // namespace palisade
