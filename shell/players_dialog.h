#pragma once

#include "computer/players.h"
#include "gameroom/game_clock.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QFormLayout;

namespace palisade {

class TimeControlBox;

// "New Game": who plays White and who plays Black, a person or the computer at
// one of its levels.
class PlayersDialog : public QDialog {
    Q_OBJECT
public:
    PlayersDialog(const Players& players, QWidget* parent = nullptr);

    Players players() const;

    // Offers the time control of the new game too, below the players.
    void offerTimeControl(const TimeControl& control);
    TimeControl timeControl() const;

private:
    struct SideChoice {
        QComboBox* who = nullptr;
        QComboBox* level = nullptr;
    };
    SideChoice addSide(QFormLayout* form, const QString& side, const QString& name, const Player& player);
    static Player playerOf(const SideChoice& choice);

    SideChoice white_;
    SideChoice black_;
    TimeControlBox* timeControl_ = nullptr;
};

// Shows the dialog; nothing when the player cancels. Given a time control,
// the player chooses it too, and it is written back there.
std::optional<Players> choosePlayers(QWidget* parent, const Players& players, TimeControl* control = nullptr);

} // namespace palisade
