#pragma once

#include "gameroom/game_clock.h"

#include <QGroupBox>

class QComboBox;
class QSpinBox;

namespace palisade {

// The chess clock of a new game: none, one of the usual controls, or minutes
// and an increment of the player's own.
class TimeControlBox : public QGroupBox {
    Q_OBJECT
public:
    TimeControlBox(const TimeControl& control, QWidget* parent);

    TimeControl control() const;

private:
    void showChoice(int index);

    QComboBox* choice_ = nullptr;
    QSpinBox* minutes_ = nullptr;
    QSpinBox* increment_ = nullptr;
};

} // namespace palisade
