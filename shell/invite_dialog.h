#pragma once

#include "remote/wire_message.h"

#include <QDialog>

class QComboBox;

namespace palisade {

// Invites a contact: who, the inviter's colour, the win option, and the start.
class InviteDialog : public QDialog {
    Q_OBJECT
public:
    InviteDialog(const QStringList& contacts, QWidget* parent = nullptr);

    QString contact() const;
    // The game proposed; a game from the board is filled in by the caller.
    remote::Invite invite() const;
    bool fromBoard() const;
    // A saved game, chosen and opened once the dialog is answered.
    bool fromSavedGame() const;

private:
    QComboBox* contact_ = nullptr;
    QComboBox* side_ = nullptr;
    QComboBox* winOption_ = nullptr;
    QComboBox* start_ = nullptr;
};

// What an arriving invitation proposes to this player, in words.
QString invitationText(const QString& from, const remote::Invite& invite);

} // namespace palisade
