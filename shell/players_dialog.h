#pragma once

#include "computer/players.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QFormLayout;

namespace palisade {

// "New Game": who plays White and who plays Black, a person or the computer at
// one of its levels.
class PlayersDialog : public QDialog {
    Q_OBJECT
public:
    PlayersDialog(const Players& players, QWidget* parent = nullptr);

    Players players() const;

private:
    struct SideChoice {
        QComboBox* who = nullptr;
        QComboBox* level = nullptr;
    };
    SideChoice addSide(QFormLayout* form, const QString& side, const QString& name, const Player& player);
    static Player playerOf(const SideChoice& choice);

    SideChoice white_;
    SideChoice black_;
};

// Shows the dialog; nothing when the player cancels.
std::optional<Players> choosePlayers(QWidget* parent, const Players& players);

} // namespace palisade
