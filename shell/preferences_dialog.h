#pragma once

#include "shell/preferences.h"

#include <QDialog>

class QCheckBox;
class QDoubleSpinBox;
class QSpinBox;

namespace palisade {

// A small box of switches, one for each aid.
class PreferencesDialog : public QDialog {
    Q_OBJECT
public:
    PreferencesDialog(const Preferences& current, QWidget* parent = nullptr);

    // The switches as they stand.
    Preferences preferences() const;

private:
    QCheckBox* addSwitch(const QString& text, const char* name, bool on);
    QDoubleSpinBox* addPause(std::chrono::milliseconds pause);

    QCheckBox* coordinates_ = nullptr;
    QCheckBox* lastMove_ = nullptr;
    QCheckBox* checks_ = nullptr;
    QCheckBox* keepSelectionOnRefusal_ = nullptr;
    QCheckBox* autosave_ = nullptr;
    QDoubleSpinBox* computerPause_ = nullptr;
    QSpinBox* searchThreads_ = nullptr;
};

} // namespace palisade
