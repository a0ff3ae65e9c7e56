#pragma once

#include "shell/preferences.h"

#include <QGroupBox>

class QCheckBox;
class QSlider;

namespace palisade {

// The sounds in the preferences: on or off, and how loud.
class SoundPreferences : public QGroupBox {
    Q_OBJECT
public:
    SoundPreferences(const Preferences& current, QWidget* parent = nullptr);

    // Writes the choices into `preferences`, leaving its other fields alone.
    void applyTo(Preferences& preferences) const;

private:
    QCheckBox* on_ = nullptr;
    QSlider* volume_ = nullptr;
};

} // namespace palisade
