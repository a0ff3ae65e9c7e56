#include "shell/sound_preferences.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QSlider>

namespace palisade {

SoundPreferences::SoundPreferences(const Preferences& current, QWidget* parent) : QGroupBox("Sounds", parent)
{
    setObjectName("sounds");
    on_ = new QCheckBox("Play sounds", this);
    on_->setObjectName("soundsOn");
    on_->setChecked(current.soundsOn);
    volume_ = new QSlider(Qt::Horizontal, this);
    volume_->setObjectName("soundVolume");
    volume_->setRange(0, 100);
    volume_->setPageStep(10);
    volume_->setValue(current.soundVolume);
    volume_->setEnabled(current.soundsOn);
    connect(on_, &QCheckBox::toggled, volume_, &QWidget::setEnabled);
    auto* form = new QFormLayout(this);
    form->addRow(on_);
    form->addRow("Volume", volume_);
}

void SoundPreferences::applyTo(Preferences& preferences) const
{
    preferences.soundsOn = on_->isChecked();
    preferences.soundVolume = volume_->value();
}

} // namespace palisade
